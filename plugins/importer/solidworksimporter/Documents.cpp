// Documents for the files the importer accepts: the host's generic CAD
// document, which reads the file when the host loads it.
#include "SWImporter.h"

#include <orvimp/CADImporterDoc.h>

#include <memory>
#include <new>

namespace {

// The document's memory comes from this module's allocation and goes back
// through this module's deallocation, whichever module drops the last share.
struct DocumentDeleter {
  void operator()(orvimp::CADImporterDoc* document) const {
    document->~CADImporterDoc();
    ::operator delete(document);
  }
};

struct RawMemory {
  void operator()(void* memory) const { ::operator delete(memory); }
};

}  // namespace

std::shared_ptr<orvimp::IDocument> SWImporter::createDocument(std::shared_ptr<orvimp::IDocument> parent,
                                                              const wchar_t* path) {
  // Our share of the parent ends with this call, not with the caller's statement.
  const std::shared_ptr<orvimp::IDocument> released = std::move(parent);
  std::unique_ptr<void, RawMemory> memory(::operator new(sizeof(orvimp::CADImporterDoc)));
  auto* document = new (memory.get()) orvimp::CADImporterDoc(path);
  memory.release();
  // The count block is separate from the document and allocated here too; if
  // it cannot be had, the deleter still runs.
  return std::shared_ptr<orvimp::IDocument>(document, DocumentDeleter{});
}
