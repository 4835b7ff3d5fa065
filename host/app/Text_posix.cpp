// The command line on Linux: bytes, which PathUtils carries whole.
#include "Text.h"

#include <orvsgutils/PathUtils.h>

namespace orvhost {

std::string argument(std::wstring_view text) { return orvsgutils::PathUtils::toBytes(std::wstring(text)); }

std::wstring wide(const std::string& argument) { return orvsgutils::PathUtils::fromBytes(argument); }

}  // namespace orvhost
