#pragma once

#include <orv/Export.h>

#include <windows.h>

#include <string>

namespace orvui {

// The host's GUI resource library, loaded once from beside the framework
// library and kept until the process ends.
class ORV_FRAMEWORK_API GUIResLoader {
 public:
  static GUIResLoader& instance();

  // The library's module handle; null when it could not be loaded.
  operator HINSTANCE() const { return module_; }
  // Empty when the library is loaded; otherwise its path and the system's
  // reason why it could not be, for a host to tell its user at start.
  std::string failure() const;

  GUIResLoader(const GUIResLoader&) = delete;
  GUIResLoader& operator=(const GUIResLoader&) = delete;

 private:
  GUIResLoader();
  ~GUIResLoader();

  HINSTANCE module_;
};

}  // namespace orvui
