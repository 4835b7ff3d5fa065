#pragma once

#include <orv/Export.h>

namespace orvsg {

// The scene-graph schema a document builds into; opaque to importers.
class ORV_DATA_API Schema {
 public:
  virtual ~Schema();
};

}  // namespace orvsg
