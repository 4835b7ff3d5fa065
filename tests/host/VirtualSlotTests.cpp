// Plug-ins built against the SDK call the host's interfaces through fixed
// virtual-table slots: these must never move.
#include <ISettingsStore.h>
#include <orv/IPlugin.h>
#include <orv/IPreferenceUI.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IDelayImporter.h>
#include <orvimp/IDocument.h>
#include <orvimp/IImporter.h>
#include <orvsg/IValue.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Itanium C++ ABI (g++ and MinGW): a pointer to a virtual member function is
// {1 + byte offset in the virtual table, this adjustment}.
template <typename Pmf>
long slotOf(Pmf pmf) {
  static_assert(sizeof(Pmf) == 2 * sizeof(std::ptrdiff_t), "not an Itanium member function pointer");
  std::ptrdiff_t parts[2];
  std::memcpy(parts, &pmf, sizeof parts);
  if (parts[0] % 2 != 1 || parts[1] != 0) return -1;
  return static_cast<long>((parts[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

struct Slot {
  const char* name;
  long actual;
  long expected;
};

void expectSlots(const char* owner, const std::vector<Slot>& slots) {
  for (const Slot& slot : slots) {
    SCOPED_TRACE(std::string(owner) + "::" + slot.name);
    EXPECT_EQ(slot.actual, slot.expected);
  }
}

template <typename Doc>
std::vector<Slot> documentSlots() {
  using Component = void (Doc::*)(orv::IStatusManager*, const HPS::ComponentPath&, const int&, const HPS::MatrixKit&,
                                  std::shared_ptr<orv::Preferences>);
  using Whole = void (Doc::*)(orv::IStatusManager*, const int&, const unsigned int&, std::shared_ptr<orv::Preferences>);
  return {
      {"getSchema", slotOf(&Doc::getSchema), 2},
      {"setSchema", slotOf(&Doc::setSchema), 3},
      {"load(5 args)", slotOf(static_cast<Component>(&Doc::load)), 4},
      {"load(4 args)", slotOf(static_cast<Whole>(&Doc::load)), 5},
      {"isCompletelyLoaded", slotOf(&Doc::isCompletelyLoaded), 6},
      {"getErrorStatus", slotOf(&Doc::getErrorStatus), 7},
      {"getNotifier", slotOf(&Doc::getNotifier), 8},
      {"setErrorStatus", slotOf(&Doc::setErrorStatus), 9},
      {"setParams", slotOf(&Doc::setParams), 10},
  };
}

}  // namespace

TEST(VirtualSlots, PluginAndImporterInterfaces) {
  expectSlots("orv::IPlugin", {
                                  {"getName", slotOf(&orv::IPlugin::getName), 2},
                                  {"reservedQuery", slotOf(&orv::IPlugin::reservedQuery), 3},
                                  {"id", slotOf(&orv::IPlugin::id), 4},
                                  {"loadPreferences", slotOf(&orv::IPlugin::loadPreferences), 5},
                                  {"savePreferences", slotOf(&orv::IPlugin::savePreferences), 6},
                                  {"defaultPreferences", slotOf(&orv::IPlugin::defaultPreferences), 7},
                                  {"setParent", slotOf(&orv::IPlugin::setParent), 8},
                                  {"version", slotOf(&orv::IPlugin::version), 9},
                              });
  expectSlots("orvimp::IImporter", {
                                       {"getName", slotOf(&orvimp::IImporter::getName), 2},
                                       {"version", slotOf(&orvimp::IImporter::version), 9},
                                       {"getFileFilters", slotOf(&orvimp::IImporter::getFileFilters), 10},
                                       {"canImport", slotOf(&orvimp::IImporter::canImport), 11},
                                   });
  expectSlots("orvimp::IDelayImporter",
              {
                  {"createDocument", slotOf(&orvimp::IDelayImporter::createDocument), 2},
                  {"reservedDelayQuery", slotOf(&orvimp::IDelayImporter::reservedDelayQuery), 3},
              });
}

TEST(VirtualSlots, DocumentInterfaces) {
  expectSlots("orvimp::IDocument", documentSlots<orvimp::IDocument>());
  expectSlots("orvimp::CADImporterDoc", documentSlots<orvimp::CADImporterDoc>());
  expectSlots("orv::IDocument", {
                                    {"getSchema", slotOf(&orv::IDocument::getSchema), 2},
                                    {"setSchema", slotOf(&orv::IDocument::setSchema), 3},
                                });
}

TEST(VirtualSlots, ValueWidgetAndSettingsInterfaces) {
  expectSlots("orvsg::IValue", {
                                   {"getType", slotOf(&orvsg::IValue::getType), 2},
                                   {"getName", slotOf(&orvsg::IValue::getName), 3},
                               });
  expectSlots("orv::IPreferenceUI", {
                                        {"canShow", slotOf(&orv::IPreferenceUI::canShow), 2},
                                        {"getType", slotOf(&orv::IPreferenceUI::getType), 3},
                                        {"getDisplayName", slotOf(&orv::IPreferenceUI::getDisplayName), 4},
                                    });
  expectSlots("ISettingsStore", {
                                    {"flush", slotOf(&ISettingsStore::flush), 2},
                                    {"readValue", slotOf(&ISettingsStore::readValue), 3},
                                    {"removeValue", slotOf(&ISettingsStore::removeValue), 4},
                                    {"writeValue", slotOf(&ISettingsStore::writeValue), 5},
                                });
}
