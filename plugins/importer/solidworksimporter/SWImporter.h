#pragma once

#include <orvimp/IImporter.h>

#include <cstdint>
#include <memory>

class ISettingsStore;
namespace orv {
class Preferences;
}

// The SolidWorks importer. It has no state of its own: everything it keeps is
// in its host base part.
class SWImporter final : public orvimp::IImporter {
 public:
  SWImporter();
  ~SWImporter() override;

  const wchar_t* getName() const override;
  bool reservedQuery() const override;

  // Recognition.cpp
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override;
  bool canImport(const wchar_t* path) const override;

  // Documents.cpp
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument> parent,
                                                    const wchar_t* path) override;
  bool reservedDelayQuery() override;

  // OptionSets.cpp
  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> store) override;
  std::shared_ptr<orv::Preferences> defaultPreferences() override;
  // OptionSaving.cpp
  void savePreferences(std::shared_ptr<ISettingsStore> store, std::shared_ptr<orv::Preferences> preferences) override;

  // The option adders (OptionAdder.cpp), one per option. Each adds exactly one
  // value and widget pair to preferences, with the number stored in store, or
  // the option's default when store is empty or holds none.
  using OptionAdder = void (*)(std::shared_ptr<orv::Preferences> preferences, std::shared_ptr<ISettingsStore> store);
  static void addImportConstructionAndReferences(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addImportHiddenComponentsAndSurfaces(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addSetPmiColor(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addPmiColor(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addReadSolids(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addImportSurfaces(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addReadWireframes(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addReadAttributes(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addSetTessellationLevel(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addSetReadingMode(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addReadPmi(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
  static void addImportCurves(std::shared_ptr<orv::Preferences>, std::shared_ptr<ISettingsStore>);
};
