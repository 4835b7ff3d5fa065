#include <orvsg/Value.h>

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

using orvsg::BoolValue;
using orvsg::ColorValue;
using orvsg::IntValue;
using orvsg::IValue;
using orvsg::StringValue;

namespace {

// Each instantiation made from a name in a buffer that is then overwritten.
template <typename V, typename T>
std::shared_ptr<V> makeFromScratchName(const wchar_t* name, T value) {
  wchar_t buffer[64];
  std::wcsncpy(buffer, name, 63);
  buffer[63] = L'\0';
  auto made = std::make_shared<V>(buffer, std::move(value));
  std::wmemset(buffer, L'#', 63);
  return made;
}

}  // namespace

TEST(Value, KeepsTypeCodeNameAndValue) {
  const auto flag = makeFromScratchName<BoolValue>(L"Read Solids", true);
  EXPECT_EQ(flag->getType(), 0);
  EXPECT_STREQ(flag->getName(), L"Read Solids");
  EXPECT_TRUE(flag->get());
  flag->set(false);
  EXPECT_FALSE(flag->get());

  const auto number = makeFromScratchName<IntValue>(L"Set Tessellation Level", -7);
  EXPECT_EQ(number->getType(), 3);
  EXPECT_STREQ(number->getName(), L"Set Tessellation Level");
  EXPECT_EQ(number->get(), -7);
  number->set(INT_MIN);
  EXPECT_EQ(number->get(), INT_MIN);

  std::shared_ptr<wchar_t> text(new wchar_t[4]{L'a', L'b', L'c', L'\0'}, std::default_delete<wchar_t[]>());
  const auto string = makeFromScratchName<StringValue>(L"Label", text);
  EXPECT_EQ(string->getType(), 5);
  EXPECT_STREQ(string->getName(), L"Label");
  EXPECT_EQ(string->get(), text);
  EXPECT_EQ(text.use_count(), 2);
  string->set(nullptr);
  EXPECT_EQ(string->get(), nullptr);
  EXPECT_EQ(text.use_count(), 1);

  const auto colour = makeFromScratchName<ColorValue>(L"Pmi Color", 0x00FFEEDDul);
  EXPECT_EQ(colour->getType(), 8);
  EXPECT_STREQ(colour->getName(), L"Pmi Color");
  EXPECT_EQ(colour->get(), 0x00FFEEDDul);
  colour->set(0x00010203ul);
  EXPECT_EQ(colour->get(), 0x00010203ul);

  EXPECT_STREQ(IntValue(nullptr, 1).getName(), L"");
}

TEST(Value, DynamicCastFromIValueFindsOnlyItsOwnClass) {
  const std::shared_ptr<IValue> values[] = {
      std::make_shared<BoolValue>(L"b", true),
      std::make_shared<IntValue>(L"i", 1),
      std::make_shared<StringValue>(L"s", nullptr),
      std::make_shared<ColorValue>(L"c", 1ul),
  };
  const std::function<bool(const std::shared_ptr<IValue>&)> is[] = {
      [](const auto& v) { return std::dynamic_pointer_cast<BoolValue>(v) != nullptr; },
      [](const auto& v) { return std::dynamic_pointer_cast<IntValue>(v) != nullptr; },
      [](const auto& v) { return std::dynamic_pointer_cast<StringValue>(v) != nullptr; },
      [](const auto& v) { return std::dynamic_pointer_cast<ColorValue>(v) != nullptr; },
  };
  for (std::size_t v = 0; v < std::size(values); ++v)
    for (std::size_t c = 0; c < std::size(is); ++c) {
      SCOPED_TRACE("value " + std::to_string(v) + ", cast " + std::to_string(c));
      EXPECT_EQ(is[c](values[v]), v == c);
    }
  // The cast result shares ownership with the source.
  const auto number = std::dynamic_pointer_cast<IntValue>(values[1]);
  EXPECT_EQ(values[1].use_count(), 2);
  EXPECT_EQ(static_cast<IValue*>(number.get()), values[1].get());
}
