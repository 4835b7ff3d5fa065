// Documents for the files the importer accepts: the host's generic CAD
// document, which reads the file when the host loads it.
#include "SWImporter.h"

#include <orvimp/CADImporterDoc.h>

#include <memory>

std::shared_ptr<orvimp::IDocument> SWImporter::createDocument(std::shared_ptr<orvimp::IDocument>,
                                                              const wchar_t* path) {
  // Owned the moment it exists; the count block is separate from the object,
  // and both are freed by this module's code.
  auto document = std::make_unique<orvimp::CADImporterDoc>(path);
  return std::shared_ptr<orvimp::IDocument>(std::move(document));
}
