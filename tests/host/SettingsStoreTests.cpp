#include <ISettingsStore.h>
#include <MemorySettingsStore.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

namespace {

// Plug-ins only ever see the interface.
std::unique_ptr<ISettingsStore> makeStore() { return std::make_unique<MemorySettingsStore>(); }

constexpr std::int32_t untouched = 0x5A5A5A5A;

}  // namespace

TEST(SettingsStore, MissingKeyReadsFalseAndLeavesOutAlone) {
  auto store = makeStore();
  std::int32_t out = untouched;
  EXPECT_FALSE(store->readValue(L"Importer", L"Read Solids", &out));
  EXPECT_EQ(out, untouched);
  EXPECT_TRUE(store->flush());
}

TEST(SettingsStore, WriteReadAndOverwriteKeepEveryInt32) {
  auto store = makeStore();
  for (const std::int32_t value : {0, 1, -1, 246, -246, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()}) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(store->writeValue(L"Importer", L"Set Tessellation Level", &value));
    std::int32_t out = untouched;
    ASSERT_TRUE(store->readValue(L"Importer", L"Set Tessellation Level", &out));
    EXPECT_EQ(out, value);
  }
}

TEST(SettingsStore, KeysAndSectionsMatchExactly) {
  auto store = makeStore();
  const std::int32_t stored = 7;
  ASSERT_TRUE(store->writeValue(L"Importer", L"Read PMI", &stored));
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
  };
  const Case misses[] = {
      {L"Importer", L"read pmi"}, {L"Importer", L"READ PMI"}, {L"Importer", L"Read PMI "},
      {L"Importer", L" Read PMI"}, {L"Importer", L"Read PM"},  {L"Importer", L""},
      {L"importer", L"Read PMI"}, {L"Importer ", L"Read PMI"}, {L"Other", L"Read PMI"},
      {L"Read PMI", L"Importer"},
  };
  for (const Case& c : misses) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.section) + L"/" + c.key));
    std::int32_t out = untouched;
    EXPECT_FALSE(store->readValue(c.section, c.key, &out));
    EXPECT_EQ(out, untouched);
    EXPECT_FALSE(store->removeValue(c.section, c.key));
  }
  // The same key in another section is another number.
  const std::int32_t other = -3;
  ASSERT_TRUE(store->writeValue(L"Other", L"Read PMI", &other));
  std::int32_t out = 0;
  ASSERT_TRUE(store->readValue(L"Importer", L"Read PMI", &out));
  EXPECT_EQ(out, stored);
  ASSERT_TRUE(store->readValue(L"Other", L"Read PMI", &out));
  EXPECT_EQ(out, other);
}

TEST(SettingsStore, RemoveValueRemovesOnlyThatKey) {
  auto store = makeStore();
  const std::int32_t one = 1;
  const std::int32_t two = 2;
  ASSERT_TRUE(store->writeValue(L"S", L"one", &one));
  ASSERT_TRUE(store->writeValue(L"S", L"two", &two));
  EXPECT_TRUE(store->removeValue(L"S", L"one"));
  EXPECT_FALSE(store->removeValue(L"S", L"one"));
  std::int32_t out = untouched;
  EXPECT_FALSE(store->readValue(L"S", L"one", &out));
  EXPECT_EQ(out, untouched);
  ASSERT_TRUE(store->readValue(L"S", L"two", &out));
  EXPECT_EQ(out, two);
  // A removed key can be written again.
  ASSERT_TRUE(store->writeValue(L"S", L"one", &two));
  ASSERT_TRUE(store->readValue(L"S", L"one", &out));
  EXPECT_EQ(out, two);
}

TEST(SettingsStore, RefusesNullArguments) {
  auto store = makeStore();
  const std::int32_t value = 5;
  EXPECT_FALSE(store->writeValue(nullptr, L"k", &value));
  EXPECT_FALSE(store->writeValue(L"s", nullptr, &value));
  EXPECT_FALSE(store->writeValue(L"s", L"k", nullptr));
  std::int32_t out = untouched;
  EXPECT_FALSE(store->readValue(L"s", L"k", &out));
  EXPECT_EQ(out, untouched);

  ASSERT_TRUE(store->writeValue(L"s", L"k", &value));
  EXPECT_FALSE(store->readValue(nullptr, L"k", &out));
  EXPECT_FALSE(store->readValue(L"s", nullptr, &out));
  EXPECT_FALSE(store->readValue(L"s", L"k", nullptr));
  EXPECT_EQ(out, untouched);
  EXPECT_FALSE(store->removeValue(nullptr, L"k"));
  EXPECT_FALSE(store->removeValue(L"s", nullptr));
  ASSERT_TRUE(store->readValue(L"s", L"k", &out));
  EXPECT_EQ(out, value);
}
