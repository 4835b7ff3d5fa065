#pragma once

#include <orvimp/IImporter.h>

#include <cstdint>
#include <memory>

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
};
