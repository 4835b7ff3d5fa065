#pragma once

#include <orv/Export.h>

#include <string>

namespace orvsgutils {

class ORV_DATAUTILS_API StringUtils {
 public:
  // UTF-8 to wide text (UTF-16 on Windows, UTF-32 elsewhere). Malformed
  // sequences become U+FFFD; a null text gives an empty string.
  static std::wstring convert(const char* text);
  // Wide text to UTF-8; unpaired surrogates become U+FFFD.
  static std::string toUtf8(const std::wstring& text);
};

}  // namespace orvsgutils
