#pragma once

#include <orv/Export.h>

#include <memory>

namespace orvsg {
class Schema;
}

namespace orv {

// Anything the host can open. Schemas are kept per key; the host decides what
// the keys mean.
class ORV_FRAMEWORK_API IDocument {
 public:
  virtual ~IDocument();
  virtual std::shared_ptr<orvsg::Schema> getSchema(const short& key) = 0;
  virtual void setSchema(const short& key, std::shared_ptr<orvsg::Schema> schema) = 0;

 protected:
  IDocument() = default;
  IDocument(const IDocument&) = default;
  IDocument& operator=(const IDocument&) = default;
};

}  // namespace orv
