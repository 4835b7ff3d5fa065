#include "AllocationCounter.h"
#include "ImporterModule.h"

#include <orv/PluginEntry.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

using testing_support::importerModule;
using testing_support::makeImporter;

namespace {

constexpr wchar_t identity[] = L"{22864D83-A5CF-41E1-ABD4-CDD9449CBC37}";

std::wstring versionOf(const orv::IPlugin& plugin) {
  std::wstring version = L"untouched";
  plugin.version(version);
  return version;
}

// Calls slot `slot` of the virtual table at `object` as a function taking only
// `this`: the check that the module was built with the host's slot order.
template <typename Result, typename Object>
Result callSlot(Object* object, std::size_t slot) {
  void** table = *reinterpret_cast<void***>(object);
  using Function = Result (*)(Object*);
  Function function;
  std::memcpy(&function, &table[slot], sizeof function);
  return function(object);
}

}  // namespace

TEST(EntryPoints, CreateStoresANewImporterAndReturnsZero) {
  orv::IPlugin* plugin = nullptr;
  EXPECT_EQ(importerModule().createFunction()(&plugin), 0);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(importerModule().destroyFunction()(&plugin), 0);
  EXPECT_EQ(plugin, nullptr);
}

TEST(EntryPoints, DestroyWithANullPointerReturnsZeroAndWritesNothing) {
  orv::IPlugin* plugin = nullptr;
  EXPECT_EQ(importerModule().destroyFunction()(&plugin), 0);
  EXPECT_EQ(plugin, nullptr);
  // No pointer to write to at all: both entries still answer 0.
  EXPECT_EQ(importerModule().destroyFunction()(nullptr), 0);
  EXPECT_EQ(importerModule().createFunction()(nullptr), 0);
}

TEST(EntryPoints, TwoImportersAreDistinctWithEqualFixedValues) {
  auto first = makeImporter();
  auto second = makeImporter();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(first->id(), second->id());
  // The name is one static text, the same on every call and for every importer.
  EXPECT_STREQ(first->getName(), L"SolidWorks Importer");
  EXPECT_EQ(first->getName(), first->getName());
  EXPECT_EQ(second->getName(), first->getName());
  EXPECT_EQ(versionOf(*first), versionOf(*second));
  EXPECT_EQ(first->releaseDate(), second->releaseDate());
}

TEST(EntryPoints, DestroyingReleasesEverythingCreateTook) {
  if (!testing_support::allocationsCounted()) GTEST_SKIP() << "allocations are counted on Linux only";
  importerModule();  // loaded before counting: the module stays for the whole program
  const long before = testing_support::liveAllocations();
  orv::IPlugin* plugin = nullptr;
  importerModule().createFunction()(&plugin);
  // Only the importer and the texts its base keeps are left: the converted
  // version text is gone.
  EXPECT_GT(testing_support::liveAllocations(), before);
  importerModule().destroyFunction()(&plugin);
  EXPECT_EQ(testing_support::liveAllocations(), before);
}

TEST(FixedValues, AsTheBaseRecordedThem) {
  auto importer = makeImporter();
  ASSERT_TRUE(importer);
  EXPECT_EQ(importer->id(), orv::GUID::parse(identity));
  EXPECT_EQ(importer->id().toString(), identity);
  EXPECT_EQ(versionOf(*importer), L"6.7.0.120");
  EXPECT_EQ(importer->releaseDate(), L"Dec  9 2025");
  EXPECT_EQ(importer->releaseDate().size(), 11u);
  EXPECT_FALSE(importer->reservedQuery());
  EXPECT_FALSE(importer->reservedDelayQuery());
}

TEST(Interfaces, PluginAndImporterShareTheAddressAndTheDelayImporterIsTheSecondBase) {
  auto importer = makeImporter();
  orv::IPlugin* plugin = importer.get();
  orvimp::IDelayImporter* delay = importer.get();
  EXPECT_EQ(static_cast<void*>(plugin), static_cast<void*>(importer.get()));
  EXPECT_NE(static_cast<void*>(delay), static_cast<void*>(importer.get()));
  EXPECT_EQ(dynamic_cast<orvimp::IImporter*>(delay), importer.get());
  EXPECT_EQ(dynamic_cast<orvimp::IImporter*>(plugin), importer.get());
}

TEST(Interfaces, TheModulesSlotsHoldItsOperationsInTheHostsOrder) {
  auto importer = makeImporter();
  orv::IPlugin* plugin = importer.get();
  orvimp::IDelayImporter* delay = importer.get();
  // Slots 0 and 1 are the two destructors.
  EXPECT_STREQ(callSlot<const wchar_t*>(plugin, 2), L"SolidWorks Importer");
  EXPECT_FALSE(callSlot<bool>(plugin, 3));
  EXPECT_EQ(&callSlot<const orv::GUID&>(plugin, 4), &importer->id());
  EXPECT_FALSE(callSlot<bool>(delay, 3));
}

TEST(Interfaces, DeletingThroughTheDelayImporterFreesTheWholeObject) {
  importerModule();
  const long before = testing_support::liveAllocations();
  orv::IPlugin* plugin = nullptr;
  importerModule().createFunction()(&plugin);
  orvimp::IDelayImporter* delay = dynamic_cast<orvimp::IImporter*>(plugin);
  ASSERT_NE(delay, nullptr);
  ASSERT_NE(static_cast<void*>(delay), static_cast<void*>(plugin));
  delete delay;
  if (testing_support::allocationsCounted()) {
    EXPECT_EQ(testing_support::liveAllocations(), before);
  }
}
