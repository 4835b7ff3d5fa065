#include "AllocationCounter.h"
#include "ImporterModule.h"
#include "OptionSets.h"
#include "ScriptedStore.h"

#include <MemorySettingsStore.h>
#include <orv/CheckBoxPrefUI.h>

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using testing_support::hostString;
using testing_support::makeImporter;
using testing_support::ScriptedStore;
using testing_support::valueAt;
using testing_support::valuesOf;

namespace {

using Write = std::pair<std::wstring, std::int32_t>;

std::vector<Write> writesOf(const ScriptedStore& store) {
  std::vector<Write> writes;
  for (const auto& call : store.writes()) {
    EXPECT_EQ(call.section, hostString(246));
    writes.emplace_back(call.key, call.number);
  }
  return writes;
}

// Claims type code 3, the int's, without being an int value.
class ImpostorValue : public orvsg::IValue {
 public:
  std::int32_t getType() override { return 3; }
  const wchar_t* getName() override { return L"Set Reading Mode"; }
};

template <typename ValueClass, typename T>
void add(orv::Preferences& set, const wchar_t* name, T value) {
  set.add(std::make_shared<ValueClass>(name, value), std::make_shared<orv::CheckBoxPrefUI>(L"", false));
}

}  // namespace

TEST(Saving, AnUnchangedSetWritesEachOptionOnceInIndexOrder) {
  auto importer = makeImporter();
  auto store = std::make_shared<ScriptedStore>();
  auto set = importer->defaultPreferences();
  importer->savePreferences(store, set);
  const std::vector<Write> expected = {
      {L"Import construction and references", 0}, {L"Import Hidden Components and Surfaces", 0},
      {L"Set PMI Color", 0}, {L"Pmi Color", 0}, {L"Read Solids", 1}, {L"Import Surfaces", 1},
      {L"Read Wireframes", 1}, {L"Read Attributes", 1}, {L"Set Tessellation Level", 2},
      {L"Set Reading Mode", 2}, {L"Read PMI", 1}, {L"Import Curves", 0},
  };
  EXPECT_EQ(writesOf(*store), expected);
  EXPECT_EQ(store->calls.size(), store->writes().size()) << "saving reads nothing";
  EXPECT_EQ(store.use_count(), 1);
  EXPECT_EQ(set.use_count(), 1);
}

TEST(Saving, ChangedValuesAreWrittenBitForBit) {
  auto importer = makeImporter();
  auto store = std::make_shared<ScriptedStore>();
  auto set = importer->loadPreferences(nullptr);
  testing_support::valueAt<orvsg::BoolValue>(*set, 2)->set(false);       // Read Solids
  testing_support::valueAt<orvsg::ColorValue>(*set, 5)->set(0xFFFFFFFFu);  // Pmi Color
  testing_support::valueAt<orvsg::IntValue>(*set, 8)->set(4);            // Set Tessellation Level
  importer->savePreferences(store, set);
  EXPECT_EQ(store->numbers[L"Read Solids"], 0);
  EXPECT_EQ(store->numbers[L"Pmi Color"], -1);
  EXPECT_EQ(store->numbers[L"Set Tessellation Level"], 4);
  testing_support::valueAt<orvsg::BoolValue>(*set, 2)->set(true);
  importer->savePreferences(store, set);
  EXPECT_EQ(store->numbers[L"Read Solids"], 1);
}

TEST(Saving, OnlyExactNamesUnderTheirOwnTypeCodeAreWritten) {
  auto set = std::make_shared<orv::Preferences>();
  add<orvsg::BoolValue>(*set, L"read solids", true);   // case differs
  add<orvsg::BoolValue>(*set, L"Read Solids ", true);  // trailing blank
  add<orvsg::BoolValue>(*set, L"Read Solid", true);    // a prefix
  add<orvsg::BoolValue>(*set, L"Pmi Color", true);     // the colour's name, as a bool
  add<orvsg::IntValue>(*set, L"Read Solids", 1);       // a bool's name, as an int
  set->add(std::make_shared<ImpostorValue>(), std::make_shared<orv::CheckBoxPrefUI>(L"", false));
  add<orvsg::StringValue>(*set, L"Read PMI", std::shared_ptr<wchar_t>());
  add<orvsg::BoolValue>(*set, L"Read Meshes", true);  // another importer's option
  add<orvsg::BoolValue>(*set, L"Read PMI", true);
  add<orvsg::BoolValue>(*set, L"Read Solids", true);
  add<orvsg::IntValue>(*set, L"Set Reading Mode", 1);
  add<orvsg::BoolValue>(*set, L"Read Solids", false);  // the same name again: written last
  auto store = std::make_shared<ScriptedStore>();
  makeImporter()->savePreferences(store, set);
  const std::vector<Write> expected = {
      {L"Read PMI", 1}, {L"Read Solids", 1}, {L"Set Reading Mode", 1}, {L"Read Solids", 0}};
  EXPECT_EQ(writesOf(*store), expected);
}

TEST(Saving, AnEmptySetFetchesAndWritesNothing) {
  auto importer = makeImporter();
  auto store = std::make_shared<ScriptedStore>();
  auto set = std::make_shared<orv::Preferences>();
  {
    // Every string fetch allocates: with the next allocation armed to fail,
    // saving must not allocate at all.
    testing_support::AllocationFailure failure(1);
    importer->savePreferences(store, set);
    EXPECT_FALSE(testing_support::allocationFailed());
  }
  EXPECT_TRUE(store->calls.empty());
}

TEST(Saving, ChangedValuesComeBackFromTheMemoryStore) {
  auto importer = makeImporter();
  auto store = std::make_shared<MemorySettingsStore>();
  auto set = importer->loadPreferences(store);
  auto expected = valuesOf(*set);
  for (unsigned int i = 0; i < set->count(); ++i) {
    if (auto b = valueAt<orvsg::BoolValue>(*set, i)) b->set(!b->get());
    if (auto n = valueAt<orvsg::IntValue>(*set, i)) n->set(n->get() + 2);
    if (auto c = valueAt<orvsg::ColorValue>(*set, i)) c->set(0x80FF8040u);
  }
  for (auto& option : expected)
    option.number = option.type == 0 ? !option.number : option.type == 3 ? option.number + 2 : 0x80FF8040u;
  importer->savePreferences(store, set);
  EXPECT_EQ(store->entries().size(), 12u);
  EXPECT_EQ(valuesOf(*importer->loadPreferences(store)), expected);
  // The default set's order is different, but its names are the same keys.
  importer->savePreferences(store, importer->defaultPreferences());
  EXPECT_EQ(valuesOf(*importer->loadPreferences(store)), valuesOf(*importer->loadPreferences(nullptr)));
}

TEST(Saving, AStoreThatThrowsAtAnyWriteStopsThereAndLeavesNothingBehind) {
  auto importer = makeImporter();
  auto set = importer->defaultPreferences();
  const auto unchanged = valuesOf(*set);
  for (int k = 1; k <= 12; ++k) {
    SCOPED_TRACE(k);
    const long before = testing_support::liveAllocations();
    auto store = std::make_shared<ScriptedStore>();
    store->throwAtCall = k;
    EXPECT_THROW(importer->savePreferences(store, set), std::runtime_error);
    EXPECT_EQ(store->writes().size(), static_cast<std::size_t>(k - 1)) << "earlier writes stay";
    EXPECT_EQ(store.use_count(), 1);
    EXPECT_EQ(set.use_count(), 1);
    store.reset();  // with what it recorded
    EXPECT_EQ(testing_support::liveAllocations(), before);
  }
  EXPECT_EQ(valuesOf(*set), unchanged);
}
