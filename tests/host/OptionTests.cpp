#include <ISettingsStore.h>
#include <IniSettingsStore.h>
#include <MemorySettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using orvsg::BoolValue;
using orvsg::ColorValue;
using orvsg::IntValue;
using orvsg::IValue;
using orvsg::StringValue;

TEST(Value, HasItsTypeCodeACopiedNameAndOnlyItsOwnClass) {
  wchar_t name[] = L"Read Solids";
  const std::shared_ptr<IValue> values[] = {
      std::make_shared<BoolValue>(name, true),
      std::make_shared<IntValue>(name, -7),
      std::make_shared<StringValue>(name, nullptr),
      std::make_shared<ColorValue>(name, 0x00FFEEDDul),
  };
  std::wmemset(name, L'#', std::wcslen(name));
  const std::int32_t codes[] = {0, 3, 5, 8};
  for (std::size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE("value " + std::to_string(i));
    IValue* const value = values[i].get();
    EXPECT_EQ(value->getType(), codes[i]);
    EXPECT_STREQ(value->getName(), L"Read Solids");
    // The classes live in the data library: the cast must find them from here.
    const bool casts[] = {dynamic_cast<BoolValue*>(value) != nullptr, dynamic_cast<IntValue*>(value) != nullptr,
                          dynamic_cast<StringValue*>(value) != nullptr, dynamic_cast<ColorValue*>(value) != nullptr};
    for (std::size_t c = 0; c < std::size(casts); ++c) EXPECT_EQ(casts[c], c == i) << "cast " << c;
  }
  EXPECT_STREQ(IntValue(nullptr, 1).getName(), L"");
}

TEST(Preferences, KeepsOrderSharesAndRefusesBadArguments) {
  orv::Preferences set;
  const auto solids = std::make_shared<BoolValue>(L"Read Solids", true);
  const auto solidsUI = std::make_shared<orv::CheckBoxPrefUI>(L"Read solid bodies", false);
  const auto level = std::make_shared<IntValue>(L"Set Tessellation Level", 2);
  const auto levelUI = std::make_shared<orv::ComboBoxPrefUI>(L"Tessellation level", true);
  EXPECT_THROW(set.getValue(0), std::out_of_range);
  EXPECT_THROW(set.add(nullptr, solidsUI), std::invalid_argument);
  EXPECT_THROW(set.add(solids, nullptr), std::invalid_argument);
  EXPECT_EQ(set.count(), 0u);

  set.add(solids, solidsUI);
  set.add(level, levelUI);
  EXPECT_EQ(set.getValue(1), level);
  EXPECT_EQ(set.getUI(1), levelUI);
  set.add(solids, solidsUI);  // the same option twice is two entries
  ASSERT_EQ(set.count(), 3u);
  EXPECT_EQ(set.getValue(2), solids);
  EXPECT_EQ(solids.use_count(), 3);
  EXPECT_EQ(solidsUI.use_count(), 3);
  EXPECT_THROW(set.getValue(3), std::out_of_range);
  EXPECT_THROW(set.getUI(3), std::out_of_range);
  EXPECT_THROW(set.getUI(UINT_MAX), std::out_of_range);
}

// Kinds, flags and labels of every widget are checked through the importer's
// option sets; here, that widgets keep copies of what they are given.
TEST(PreferenceWidgets, CopyTheirLabelAndComboEntries) {
  wchar_t label[] = L"Reading mode";
  orv::ComboBoxPrefUI combo(label, false);
  wchar_t entry[] = L"Tessellation only";
  combo.addOption(entry);
  std::wmemset(label, L'#', std::wcslen(label));
  std::wmemset(entry, L'#', std::wcslen(entry));
  combo.addOption(nullptr);
  EXPECT_STREQ(combo.getDisplayName(), L"Reading mode");
  EXPECT_EQ(combo.options(), (std::vector<std::wstring>{L"Tessellation only", L""}));
  EXPECT_STREQ(orv::CheckBoxPrefUI(nullptr, false).getDisplayName(), L"");
}

namespace {

constexpr std::int32_t untouched = 0x5A5A5A5A;
const std::optional<std::int32_t> none;

// A read that finds nothing must not write its output.
std::optional<std::int32_t> readBack(ISettingsStore& store, const wchar_t* section, const wchar_t* key) {
  std::int32_t out = untouched;
  if (store.readValue(section, key, &out)) return out;
  EXPECT_EQ(out, untouched) << "a failed read wrote its output";
  return none;
}

}  // namespace

// Plug-ins only ever see the interface, and both stores keep its one rule
// for names.
TEST(SettingsStore, ReadsBackEveryInt32UnderNamesComparedAsProfilesCompareThem) {
  const TempFolder temp;
  const std::unique_ptr<ISettingsStore> stores[] = {std::make_unique<MemorySettingsStore>(),
                                                    std::make_unique<IniSettingsStore>(temp.path() / "s.ini")};
  for (const std::unique_ptr<ISettingsStore>& store : stores) {
    SCOPED_TRACE(&store == &stores[0] ? "memory" : "INI file");
    EXPECT_EQ(readBack(*store, L"Importer", L"Read PMI"), none);
    for (const std::int32_t value : {INT32_MIN, INT32_MAX, 0}) {
      ASSERT_TRUE(store->writeValue(L"Importer", L"Read PMI", &value));
      EXPECT_EQ(readBack(*store, L"Importer", L"Read PMI"), value);
    }
    const std::int32_t other = -3;
    ASSERT_TRUE(store->writeValue(L"Other", L"Read PMI", &other));
    ASSERT_TRUE(store->writeValue(L"Other", L"\u00c4", &other));
    EXPECT_EQ(readBack(*store, L"Importer", L"Read PMI"), 0);
    EXPECT_EQ(readBack(*store, L"Other", L"read pmi"), other);
    EXPECT_EQ(readBack(*store, L" IMPORTER\t", L"read PMI "), 0);

    const std::pair<const wchar_t*, const wchar_t*> misses[] = {
        {L"Importer", L"Read PM"}, {L"Importer", L"Read  PMI"}, {L"Read PMI", L"Importer"}, {L"Other", L"\u00e4"}};
    for (const auto& [section, key] : misses) {
      SCOPED_TRACE(testing::PrintToString(std::wstring(section) + L"/" + key));
      EXPECT_EQ(readBack(*store, section, key), none);
      EXPECT_FALSE(store->removeValue(section, key));
    }
    EXPECT_TRUE(store->removeValue(L"importer", L"READ PMI"));
    EXPECT_EQ(readBack(*store, L"Importer", L"Read PMI"), none);
    EXPECT_TRUE(store->flush());
  }
}

TEST(SettingsStore, RemovesOnlyThatKeyAndRefusesNulls) {
  const std::unique_ptr<ISettingsStore> store = std::make_unique<MemorySettingsStore>();
  const std::int32_t one = 1;
  const std::int32_t two = 2;
  EXPECT_FALSE(store->writeValue(nullptr, L"one", &one));
  EXPECT_FALSE(store->writeValue(L"S", nullptr, &one));
  EXPECT_FALSE(store->writeValue(L"S", L"one", nullptr));
  EXPECT_EQ(readBack(*store, L"S", L"one"), none);

  ASSERT_TRUE(store->writeValue(L"S", L"one", &one));
  ASSERT_TRUE(store->writeValue(L"S", L"two", &two));
  EXPECT_EQ(readBack(*store, nullptr, L"one"), none);
  EXPECT_EQ(readBack(*store, L"S", nullptr), none);
  EXPECT_FALSE(store->readValue(L"S", L"one", nullptr));
  EXPECT_FALSE(store->removeValue(nullptr, L"one"));
  EXPECT_FALSE(store->removeValue(L"S", nullptr));
  EXPECT_EQ(readBack(*store, L"S", L"one"), one);

  EXPECT_TRUE(store->removeValue(L"S", L"one"));
  EXPECT_FALSE(store->removeValue(L"S", L"one"));
  EXPECT_EQ(readBack(*store, L"S", L"one"), none);
  EXPECT_EQ(readBack(*store, L"S", L"two"), two);
  ASSERT_TRUE(store->writeValue(L"S", L"one", &two));
  EXPECT_EQ(readBack(*store, L"S", L"one"), two);
}
