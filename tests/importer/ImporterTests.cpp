// The importer as the host uses it: loaded at run time, reached only through
// its entry points and the host interfaces.
#include "ImporterModule.h"
#include "ScriptedStore.h"

#include <MemorySettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvsg/Value.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

using testing_support::makeImporter;
using testing_support::ScriptedStore;

namespace {

// Name, type code and number (a bool as 0 or 1) of each option of a set.
using Option = std::tuple<std::wstring, std::int32_t, std::uint64_t>;
std::vector<Option> optionsOf(const orv::Preferences& set) {
  std::vector<Option> options;
  for (unsigned int i = 0; i < set.count(); ++i) {
    const auto value = set.getValue(i);
    std::uint64_t number = 0;
    if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) number = b->get();
    if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) number = static_cast<std::uint64_t>(n->get());
    if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value)) number = c->get();
    options.emplace_back(value->getName(), value->getType(), number);
  }
  return options;
}

// The catalogue, in the default set's order: name, type code, default,
// widget, its flag, the host string of its label, and of each combo entry.
struct Row {
  const wchar_t* name;
  std::int32_t type;
  std::uint64_t byDefault;
  orv::IPreferenceUI::UITYPE widget;
  bool flag;
  int label;
  std::vector<int> entries;
};
constexpr auto check = orv::IPreferenceUI::CHECKBOX;
const Row catalogue[] = {
    {L"Import construction and references", 0, 0, check, true, 558, {}},
    {L"Import Hidden Components and Surfaces", 0, 0, check, true, 245, {}},
    {L"Set PMI Color", 0, 0, check, true, 321, {}},
    {L"Pmi Color", 8, 0, orv::IPreferenceUI::COLORBUTTONGROUP, true, 323, {}},
    {L"Read Solids", 0, 1, check, false, 403, {}},
    {L"Import Surfaces", 0, 1, check, false, 404, {}},
    {L"Read Wireframes", 0, 1, check, false, 405, {}},
    {L"Read Attributes", 0, 1, check, false, 406, {}},
    {L"Set Tessellation Level", 3, 2, orv::IPreferenceUI::COMBOBOX, true, 407, {414, 415, 416, 417, 418}},
    {L"Set Reading Mode", 3, 2, orv::IPreferenceUI::COMBOBOX, false, 408, {419, 420, 421}},
    {L"Read PMI", 0, 1, check, false, 409, {}},
    {L"Import Curves", 0, 0, check, true, 596, {}}};

const std::vector<Option> defaults = [] {
  std::vector<Option> options;
  for (const Row& row : catalogue) options.emplace_back(row.name, row.type, row.byDefault);
  return options;
}();

// A loaded set has the PMI colour pair behind "Read Solids" and "Import
// Surfaces"; numbers, when given, replace the defaults in that order.
std::vector<Option> storedOrder(std::vector<std::uint64_t> numbers = {}) {
  std::vector<Option> options = defaults;
  std::rotate(options.begin() + 2, options.begin() + 4, options.begin() + 6);
  for (std::size_t i = 0; i < numbers.size(); ++i) std::get<2>(options[i]) = numbers[i];
  return options;
}

}  // namespace

TEST(EntryPoints, IdentityAsTheHostExpectsNullsTolerated) {
  const auto create = testing_support::importerModule().createFunction();
  const auto destroy = testing_support::importerModule().destroyFunction();
  orv::IPlugin* plugin = nullptr;
  EXPECT_EQ(destroy(&plugin) | destroy(nullptr) | create(nullptr), 0);
  EXPECT_EQ(create(&plugin), 0);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(destroy(&plugin), 0);
  EXPECT_EQ(plugin, nullptr);

  const auto importer = makeImporter();
  EXPECT_EQ(importer->id().toString(), L"{22864D83-A5CF-41E1-ABD4-CDD9449CBC37}");
  EXPECT_EQ(importer->releaseDate(), L"Dec  9 2025");
  // The host headers' slots are pinned (VirtualSlots), and the module is built against them.
  EXPECT_STREQ(importer->getName(), L"SolidWorks Importer");
  EXPECT_FALSE(importer->reservedQuery() || importer->reservedDelayQuery());
  // Through the second base the whole object goes (else the allocator or a
  // sanitizer stops the program, or a leak check fails).
  create(&plugin);
  delete static_cast<orvimp::IDelayImporter*>(dynamic_cast<orvimp::IImporter*>(plugin));
}

TEST(Recognition, BothExtensionsInAnyCaseAndNothingElse) {
  const auto importer = makeImporter();
  EXPECT_TRUE(importer->canImport(L"/m/a.b.SldAsm") && importer->canImport(L"C:\\m\\.sldprt"));
  for (const wchar_t* path : {L"part.sldprtx", L"part.sldpr", L"C:\\dir.sldprt\\part", L"C:\\part.sldprt\\", L"",
                              L"sldprt", L"part.sldprt ", static_cast<const wchar_t*>(nullptr)})
    EXPECT_FALSE(importer->canImport(path)) << (path ? path : L"null");
}

TEST(Filters, EachBufferHoldsItsWholeTextOrIsLeftEmpty) {
  const std::wstring texts[] = {L"sldprt;*.sldasm,SolidWorks Files",  // 32 characters, then 129
                                L"103,*.sldprt;,CAD File Formats,103,*.sldasm;,CAD File Formats,"
                                L"104,*.sldprt;,All Supported Files,104,*.sldasm;,All Supported Files"};
  const auto importer = makeImporter();
  for (std::uint32_t capacity : {0u, 1u, 32u, 33u, 129u, 130u, 1000u}) {
    // Longer than the capacity, so that a write past it shows.
    std::vector<wchar_t> buffers[2] = {std::vector<wchar_t>(capacity + 8, L'#')};
    buffers[1] = buffers[0];
    importer->getFileFilters(buffers[0].data(), capacity, buffers[1].data());
    for (int i : {0, 1}) {
      const std::wstring whole = texts[i].size() < capacity ? texts[i] : L"";
      const std::wstring written = capacity == 0 ? L"" : whole + L'\0';
      EXPECT_EQ(std::wstring(buffers[i].data(), written.size()), written) << capacity;
      EXPECT_EQ(std::count(buffers[i].begin(), buffers[i].end(), L'#') + written.size(), buffers[i].size()) << capacity;
    }
  }
  // A null buffer is skipped, the other still filled.
  std::vector<wchar_t> buffer(130);
  importer->getFileFilters(nullptr, 130, buffer.data());
  EXPECT_EQ(buffer.data(), texts[1]);
}

// A new generic document per call, held by the caller alone; and a share
// handed over by value is gone when the call returns, before the caller's
// statement ends (where the ABI releases parameters otherwise).
TEST(Shares, ANewDocumentPerCallAndEveryShareHandedOverReleasedInsideTheCall) {
  const auto importer = makeImporter();
  const auto document =
      std::dynamic_pointer_cast<orvimp::CADImporterDoc>(importer->createDocument(nullptr, L"C:\\a.txt"));
  ASSERT_TRUE(document && document.use_count() == 1 && document->path() == L"C:\\a.txt");
  EXPECT_FALSE(document->isCompletelyLoaded() || document->loadedOptions());
  const std::weak_ptr<orvimp::IDocument> dropped = importer->createDocument(nullptr, L"C:\\a.txt");
  EXPECT_TRUE(dropped.expired());
  auto parent = importer->createDocument(nullptr, L"a.sldasm");
  auto set = importer->defaultPreferences();
  std::shared_ptr<ISettingsStore> stores[] = {std::make_shared<MemorySettingsStore>(),
                                               std::make_shared<MemorySettingsStore>()};
  const std::weak_ptr<void> seen[] = {parent, set, stores[0], stores[1]};
  EXPECT_TRUE((importer->createDocument(std::move(parent), L"p.sldprt"), seen[0].expired()));
  EXPECT_TRUE((importer->loadPreferences(std::move(stores[0])), seen[2].expired()));
  EXPECT_TRUE(
      (importer->savePreferences(std::move(stores[1]), std::move(set)), seen[1].expired() && seen[3].expired()));
}

// Each option whole, value and widget, in both sets: the defaults in their
// order, a set loaded without a store in the stored order.
TEST(OptionSets, EveryRowOfTheCatalogueWholeInBothSetsEachInItsOrder) {
  const auto importer = makeImporter();
  const auto text = [](int id) { return orvsgutils::ResourceLoader::loadString(id, orvui::GUIResLoader::instance()); };
  for (const auto& [set, order] :
       {std::pair{importer->defaultPreferences(), defaults}, {importer->loadPreferences(nullptr), storedOrder()}}) {
    ASSERT_EQ(optionsOf(*set), order);
    for (unsigned int i = 0; i < set->count(); ++i) {
      const std::wstring name = set->getValue(i)->getName();
      const auto row = std::find_if(std::begin(catalogue), std::end(catalogue), [&](const Row& r) { return name == r.name; });
      ASSERT_NE(row, std::end(catalogue)) << i;
      const auto widget = set->getUI(i);
      EXPECT_EQ(widget->getType(), row->widget) << i;
      EXPECT_EQ(widget->isAdvanced(), row->flag) << i;
      EXPECT_EQ(widget->getDisplayName(), text(row->label)) << i;
      EXPECT_FALSE(text(row->label).empty()) << i;
      std::vector<std::wstring> entries;
      for (int id : row->entries) entries.push_back(text(id));
      const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(widget);
      EXPECT_EQ(comboBox ? comboBox->options() : std::vector<std::wstring>{}, entries) << i;
    }
  }
}

TEST(OptionSets, EachSetNewEachStoredValueReadOnItsOwn) {
  const auto importer = makeImporter();
  EXPECT_NE(importer->defaultPreferences(), importer->defaultPreferences());
  auto store = std::make_shared<ScriptedStore>();
  EXPECT_EQ(optionsOf(*importer->loadPreferences(store)), storedOrder());
  std::vector<ScriptedStore::Call> reads;
  for (const auto& [name, type, number] : storedOrder()) reads.emplace_back(false, L"SolidWorks Import", name, 0);
  EXPECT_EQ(store->calls, reads);
  // Each option is read on its own: a key not held keeps its default. Any
  // nonzero is true; an int is taken unchecked, sign and all; a colour keeps
  // its 32 bits, unsigned.
  store->numbers = {{L"Read Solids", 0}, {L"Import Curves", 5}, {L"Set Reading Mode", 9},
                    {L"Set Tessellation Level", -1}, {L"Pmi Color", -1}};
  EXPECT_EQ(optionsOf(*importer->loadPreferences(store)),
            storedOrder({0, 0, 0, 1, 0, 0xFFFFFFFF, 1, 1, std::uint64_t(-1), 9, 1, 1}));
  // A read that says true but gives no number leaves 0, or 2 for the reading mode.
  store->answerTrueWithoutWriting = true;
  EXPECT_EQ(optionsOf(*importer->loadPreferences(store)), storedOrder({0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0}));
}

TEST(Saving, EachRecognisedOptionIsWrittenOnceInIndexOrderBitForBitAndNothingElse) {
  const auto set = makeImporter()->defaultPreferences();
  std::dynamic_pointer_cast<orvsg::ColorValue>(set->getValue(3))->set(0x80FF8040);
  std::dynamic_pointer_cast<orvsg::BoolValue>(set->getValue(4))->set(false);
  std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(8))->set(-4);
  // Only exact names under their own type code count, wherever they are.
  struct Impostor : orvsg::IValue {  // the int's type code, but no int value
    std::int32_t getType() override { return 3; }
    const wchar_t* getName() override { return L"Set Reading Mode"; }
  };
  using orvsg::BoolValue;
  for (const std::shared_ptr<orvsg::IValue>& value : std::initializer_list<std::shared_ptr<orvsg::IValue>>{
           std::make_shared<BoolValue>(L"read solids", true), std::make_shared<BoolValue>(L"Read Solid", true),
           std::make_shared<BoolValue>(L"Read Solids ", true),
           std::make_shared<BoolValue>(L"Pmi Color", true), std::make_shared<orvsg::IntValue>(L"Read Solids", 1),
           std::make_shared<Impostor>(), std::make_shared<orvsg::StringValue>(L"Read PMI", nullptr),
           std::make_shared<BoolValue>(L"Import Curves", true)})  // a name again: written again, last
    set->add(value, std::make_shared<orv::CheckBoxPrefUI>(L"", false));
  auto store = std::make_shared<ScriptedStore>();
  makeImporter()->savePreferences(store, set);
  // Saving reads nothing.
  std::vector<ScriptedStore::Call> expected;
  for (const auto& [name, type, number] : defaults) expected.emplace_back(true, L"SolidWorks Import", name, number);
  std::get<3>(expected[3]) = std::int32_t(0x80FF8040);
  std::get<3>(expected[4]) = 0;
  std::get<3>(expected[8]) = -4;
  expected.emplace_back(true, L"SolidWorks Import", L"Import Curves", 1);
  EXPECT_EQ(store->calls, expected);
}
