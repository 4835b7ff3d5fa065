#include "AllocationCounter.h"
#include "ImporterModule.h"
#include "OptionSets.h"
#include "ScriptedStore.h"

#include <orv/ComboBoxPrefUI.h>
#include <orv/IPreferenceUI.h>

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

using testing_support::hostString;
using testing_support::makeImporter;
using testing_support::OptionValue;
using testing_support::ScriptedStore;
using testing_support::valuesOf;

namespace {

const std::vector<OptionValue> defaultSet = {
    {L"Import construction and references", 0, 0},
    {L"Import Hidden Components and Surfaces", 0, 0},
    {L"Set PMI Color", 0, 0},
    {L"Pmi Color", 8, 0},
    {L"Read Solids", 0, 1},
    {L"Import Surfaces", 0, 1},
    {L"Read Wireframes", 0, 1},
    {L"Read Attributes", 0, 1},
    {L"Set Tessellation Level", 3, 2},
    {L"Set Reading Mode", 3, 2},
    {L"Read PMI", 0, 1},
    {L"Import Curves", 0, 0},
};

// The stored set has the PMI colour pair behind "Read Solids" and "Import
// Surfaces" instead of ahead of them.
std::vector<OptionValue> inStoredOrder(std::vector<OptionValue> values) {
  std::rotate(values.begin() + 2, values.begin() + 4, values.begin() + 6);
  return values;
}

std::vector<OptionValue> loadedFrom(const std::shared_ptr<ScriptedStore>& store) {
  return valuesOf(*makeImporter()->loadPreferences(store));
}

}  // namespace

TEST(OptionSets, TheDefaultsInTheDefaultOrder) {
  const auto set = makeImporter()->defaultPreferences();
  ASSERT_TRUE(set);
  EXPECT_EQ(set.use_count(), 1);
  EXPECT_EQ(valuesOf(*set), defaultSet);
}

TEST(OptionSets, WidgetsCarryTheirKindFlagLabelAndEntries) {
  struct Widget {
    orv::IPreferenceUI::UITYPE type;
    bool flag;
    int labelId;
    std::vector<int> entryIds;
  };
  using UI = orv::IPreferenceUI;
  const Widget expected[] = {
      {UI::CHECKBOX, true, 558, {}},  {UI::CHECKBOX, true, 245, {}},
      {UI::CHECKBOX, true, 321, {}},  {UI::COLORBUTTONGROUP, true, 323, {}},
      {UI::CHECKBOX, false, 403, {}}, {UI::CHECKBOX, false, 404, {}},
      {UI::CHECKBOX, false, 405, {}}, {UI::CHECKBOX, false, 406, {}},
      {UI::COMBOBOX, true, 407, {414, 415, 416, 417, 418}},
      {UI::COMBOBOX, false, 408, {419, 420, 421}},
      {UI::CHECKBOX, false, 409, {}}, {UI::CHECKBOX, true, 596, {}},
  };
  const auto set = makeImporter()->defaultPreferences();
  ASSERT_EQ(set->count(), std::size(expected));
  for (unsigned int i = 0; i < set->count(); ++i) {
    SCOPED_TRACE(i);
    const auto widget = set->getUI(i);
    EXPECT_EQ(widget->getType(), expected[i].type);
    EXPECT_EQ(widget->isAdvanced(), expected[i].flag);
    // "Pmi Color" has no label of its own: 323 is its key string.
    EXPECT_EQ(widget->getDisplayName(), hostString(expected[i].labelId));
    std::vector<std::wstring> entries;
    for (int id : expected[i].entryIds) entries.push_back(hostString(id));
    const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(widget);
    EXPECT_EQ(comboBox ? comboBox->options() : std::vector<std::wstring>{}, entries);
  }
}

TEST(OptionSets, NoStoreGivesTheDefaultsInTheStoredOrder) {
  EXPECT_EQ(valuesOf(*makeImporter()->loadPreferences(nullptr)), inStoredOrder(defaultSet));
  // A store that holds nothing is read for every option, and changes nothing.
  auto store = std::make_shared<ScriptedStore>();
  EXPECT_EQ(loadedFrom(store), inStoredOrder(defaultSet));
  ASSERT_EQ(store->calls.size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_FALSE(store->calls[i].write);
    EXPECT_EQ(store->calls[i].section, hostString(246));
    EXPECT_EQ(store->calls[i].key, inStoredOrder(defaultSet)[i].name);
  }
}

TEST(OptionSets, StoredNumbersAreTakenAsTheyAre) {
  auto store = std::make_shared<ScriptedStore>();
  store->numbers = {{L"Read Solids", 0},
                    {L"Import Curves", 5},
                    {L"Set Reading Mode", 9},
                    {L"Set Tessellation Level", -1},
                    {L"Pmi Color", -1}};
  auto expected = inStoredOrder(defaultSet);
  expected[2].number = 0;                     // Read Solids
  expected[11].number = 1;                    // Import Curves: any nonzero is true
  expected[9].number = 9;                     // no range test against the three entries
  expected[8].number = std::uint64_t(-1);     // the int, sign and all
  expected[5].number = 0xFFFFFFFFu;           // all 32 bits of the colour, never sign-extended
  EXPECT_EQ(loadedFrom(store), expected);
}

TEST(OptionSets, EachOptionIsReadOnItsOwn) {
  auto store = std::make_shared<ScriptedStore>();
  auto expected = inStoredOrder(defaultSet);
  for (auto& option : expected) {
    store->numbers[option.name] = 7;
    option.number = option.type == 0 ? 1 : 7;
  }
  store->refusedKeys = {L"Set Tessellation Level"};
  expected[8].number = 2;
  EXPECT_EQ(loadedFrom(store), expected);
}

TEST(OptionSets, AReadThatSaysTrueButGivesNoNumberLeavesZeroOrTwo) {
  auto store = std::make_shared<ScriptedStore>();
  store->answerTrueWithoutWriting = true;
  auto expected = inStoredOrder(defaultSet);
  for (auto& option : expected) option.number = option.name == L"Set Reading Mode" ? 2 : 0;
  EXPECT_EQ(loadedFrom(store), expected);
}

TEST(OptionSets, EveryCallMakesANewSetAndKeepsNoShareOfTheStore) {
  auto importer = makeImporter();
  auto store = std::make_shared<ScriptedStore>();
  const auto first = importer->loadPreferences(store);
  const auto second = importer->loadPreferences(store);
  EXPECT_EQ(store.use_count(), 1);
  EXPECT_EQ(first.use_count(), 1);
  ASSERT_NE(first, second);
  testing_support::valueAt<orvsg::BoolValue>(*first, 2)->set(false);
  EXPECT_EQ(valuesOf(*second), inStoredOrder(defaultSet));
  EXPECT_NE(importer->defaultPreferences(), importer->defaultPreferences());
}

TEST(OptionSets, AStoreThatThrowsAtAnyReadLeavesNothingBehind) {
  auto importer = makeImporter();
  importer->defaultPreferences();  // the host's string library loads on first use, for good
  for (int k = 1; k <= 12; ++k) {
    SCOPED_TRACE(k);
    const long before = testing_support::liveAllocations();
    auto store = std::make_shared<ScriptedStore>();
    store->throwAtCall = k;
    std::shared_ptr<orv::Preferences> set;
    EXPECT_THROW(set = importer->loadPreferences(store), std::runtime_error);
    EXPECT_FALSE(set);
    EXPECT_EQ(store.use_count(), 1);
    store.reset();  // with what it recorded
    EXPECT_EQ(testing_support::liveAllocations(), before);
  }
}
