#pragma once

#include <orv/Export.h>

#include <filesystem>
#include <string>

namespace orvsgutils {

// Wide texts and file-system paths. On Windows paths are wide already; on
// Linux they are UTF-8 bytes, which the standard library would only convert
// through the C locale, failing on anything beyond ASCII.
class ORV_DATAUTILS_API PathUtils {
 public:
  static std::filesystem::path toPath(const std::wstring& text);
  static std::wstring fromPath(const std::filesystem::path& path);
};

}  // namespace orvsgutils
