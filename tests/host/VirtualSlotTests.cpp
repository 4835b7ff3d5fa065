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

// The name is taken from the member itself, so a table row cannot mislabel it.
#define SLOT(Class, member, index) (Slot{#member, slotOf(&Class::member), index})

void expectSlots(const char* owner, const std::vector<Slot>& slots) {
  for (const Slot& slot : slots) {
    SCOPED_TRACE(std::string(owner) + "::" + slot.name);
    EXPECT_EQ(slot.actual, slot.expected);
  }
}

template <typename Doc>
void expectDocumentSlots(const char* owner) {
  using Component = void (Doc::*)(orv::IStatusManager*, const HPS::ComponentPath&, const int&, const HPS::MatrixKit&,
                                  std::shared_ptr<orv::Preferences>);
  using Whole = void (Doc::*)(orv::IStatusManager*, const int&, const unsigned int&, std::shared_ptr<orv::Preferences>);
  expectSlots(owner, {SLOT(Doc, getSchema, 2), SLOT(Doc, setSchema, 3),
                      Slot{"load(5 args)", slotOf(static_cast<Component>(&Doc::load)), 4},
                      Slot{"load(4 args)", slotOf(static_cast<Whole>(&Doc::load)), 5}, SLOT(Doc, isCompletelyLoaded, 6),
                      SLOT(Doc, getErrorStatus, 7), SLOT(Doc, getNotifier, 8), SLOT(Doc, setErrorStatus, 9),
                      SLOT(Doc, setParams, 10)});
}

}  // namespace

TEST(VirtualSlots, HostInterfacesKeepTheirSlots) {
  using orv::IPlugin;
  using orvimp::IDelayImporter;
  using orvimp::IImporter;
  expectSlots("IPlugin",
              {SLOT(IPlugin, getName, 2), SLOT(IPlugin, reservedQuery, 3), SLOT(IPlugin, id, 4),
               SLOT(IPlugin, loadPreferences, 5), SLOT(IPlugin, savePreferences, 6),
               SLOT(IPlugin, defaultPreferences, 7), SLOT(IPlugin, setParent, 8), SLOT(IPlugin, version, 9)});
  expectSlots("IImporter", {SLOT(IImporter, getName, 2), SLOT(IImporter, version, 9),
                            SLOT(IImporter, getFileFilters, 10), SLOT(IImporter, canImport, 11)});
  expectSlots("IDelayImporter", {SLOT(IDelayImporter, createDocument, 2), SLOT(IDelayImporter, reservedDelayQuery, 3)});
  expectDocumentSlots<orvimp::IDocument>("orvimp::IDocument");
  expectDocumentSlots<orvimp::CADImporterDoc>("CADImporterDoc");
  expectSlots("orv::IDocument", {SLOT(orv::IDocument, getSchema, 2), SLOT(orv::IDocument, setSchema, 3)});
  expectSlots("IValue", {SLOT(orvsg::IValue, getType, 2), SLOT(orvsg::IValue, getName, 3)});
  expectSlots("IPreferenceUI", {SLOT(orv::IPreferenceUI, canShow, 2), SLOT(orv::IPreferenceUI, getType, 3),
                                SLOT(orv::IPreferenceUI, getDisplayName, 4)});
  expectSlots("ISettingsStore", {SLOT(ISettingsStore, flush, 2), SLOT(ISettingsStore, readValue, 3),
                                 SLOT(ISettingsStore, removeValue, 4), SLOT(ISettingsStore, writeValue, 5)});
}
