#pragma once

#include <orv/Export.h>

#include <memory>

namespace orvimp {

class IDocument;

// The importer's second interface: it makes documents the host loads later.
// Deleting through it destroys the whole importer.
class ORV_FRAMEWORK_API IDelayImporter {
 public:
  virtual ~IDelayImporter();

  // parent is the document the new one belongs to (an assembly opening one
  // of its parts), or null for a file opened on its own.
  virtual std::shared_ptr<IDocument> createDocument(std::shared_ptr<IDocument> parent, const wchar_t* path) = 0;
  // Reserved for future host queries; importers answer false.
  virtual bool reservedDelayQuery() = 0;

 protected:
  IDelayImporter() = default;
  IDelayImporter(const IDelayImporter&) = default;
  IDelayImporter& operator=(const IDelayImporter&) = default;
};

}  // namespace orvimp
