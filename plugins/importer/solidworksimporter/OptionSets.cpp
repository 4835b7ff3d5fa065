// Whole option sets: every option at its default, or as the settings store
// holds it. The two sets place the PMI colour pair differently.
#include "SWImporter.h"

#include <orv/Preferences.h>

#include <iterator>
#include <memory>

namespace {

constexpr SWImporter::OptionAdder defaultOrder[] = {
    SWImporter::addImportConstructionAndReferences,
    SWImporter::addImportHiddenComponentsAndSurfaces,
    SWImporter::addSetPmiColor,
    SWImporter::addPmiColor,
    SWImporter::addReadSolids,
    SWImporter::addImportSurfaces,
    SWImporter::addReadWireframes,
    SWImporter::addReadAttributes,
    SWImporter::addSetTessellationLevel,
    SWImporter::addSetReadingMode,
    SWImporter::addReadPmi,
    SWImporter::addImportCurves,
};

constexpr SWImporter::OptionAdder storedOrder[] = {
    SWImporter::addImportConstructionAndReferences,
    SWImporter::addImportHiddenComponentsAndSurfaces,
    SWImporter::addReadSolids,
    SWImporter::addImportSurfaces,
    SWImporter::addSetPmiColor,
    SWImporter::addPmiColor,
    SWImporter::addReadWireframes,
    SWImporter::addReadAttributes,
    SWImporter::addSetTessellationLevel,
    SWImporter::addSetReadingMode,
    SWImporter::addReadPmi,
    SWImporter::addImportCurves,
};
static_assert(std::size(defaultOrder) == std::size(storedOrder));

// A new set on every call; if an adder throws, the half-filled set goes with
// the exception and the caller gets nothing.
template <std::size_t n>
std::shared_ptr<orv::Preferences> buildSet(const SWImporter::OptionAdder (&order)[n],
                                           const std::shared_ptr<ISettingsStore>& store) {
  auto preferences = std::make_shared<orv::Preferences>();
  for (SWImporter::OptionAdder add : order) add(preferences, store);
  return preferences;
}

}  // namespace

std::shared_ptr<orv::Preferences> SWImporter::defaultPreferences() { return buildSet(defaultOrder, nullptr); }

std::shared_ptr<orv::Preferences> SWImporter::loadPreferences(std::shared_ptr<ISettingsStore> store) {
  // Our share of the store ends with this call, not with the caller's statement.
  const std::shared_ptr<ISettingsStore> released = std::move(store);
  return buildSet(storedOrder, released);
}
