#pragma once

#include <orv/Export.h>

namespace orv {

// Where a loading document reports its progress. The SDK's documents report
// nothing, so a host may pass null.
class ORV_FRAMEWORK_API IStatusManager {
 public:
  virtual ~IStatusManager();
};

}  // namespace orv
