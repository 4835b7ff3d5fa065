#include "Text.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

namespace orvhost {

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

std::string utf8(const wchar_t* text) { return text ? utf8(std::wstring(text)) : std::string(); }

std::string utf8(const std::filesystem::path& path) { return utf8(orvsgutils::PathUtils::fromPath(path)); }

}  // namespace orvhost
