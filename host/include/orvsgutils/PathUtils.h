#pragma once

#include <orv/Export.h>

#include <filesystem>
#include <string>

namespace orvsgutils {

// Wide texts and file-system paths. On Windows paths are wide already; on
// Linux they are bytes, mostly UTF-8, which the standard library would only
// convert through the C locale, failing on anything beyond ASCII.
//
// A path must come back to the same file, so these conversions keep every
// byte: a byte that is not part of valid UTF-8 becomes one of U+DC80..U+DCFF
// (0x80 + n becomes U+DC80 + n) and turns back into that byte. Such a text
// shows U+FFFD where those bytes were when it goes through StringUtils.
class ORV_DATAUTILS_API PathUtils {
 public:
  static std::filesystem::path toPath(const std::wstring& text);
  static std::wstring fromPath(const std::filesystem::path& path);

  // A path given as bytes (a Linux file name, or a command-line argument in
  // UTF-8) as wide text, and back: toBytes(fromBytes(b)) == b for any b.
  // Characters that bytes cannot carry (other lone surrogates) become U+FFFD.
  static std::wstring fromBytes(const std::string& bytes);
  static std::string toBytes(const std::wstring& text);
};

}  // namespace orvsgutils
