#include <orvsgutils/PathUtils.h>

#include <orvsgutils/StringUtils.h>

namespace orvsgutils {

#if defined(_WIN32)
std::filesystem::path PathUtils::toPath(const std::wstring& text) { return std::filesystem::path(text); }
std::wstring PathUtils::fromPath(const std::filesystem::path& path) { return path.native(); }
#else
std::filesystem::path PathUtils::toPath(const std::wstring& text) {
  return std::filesystem::path(StringUtils::toUtf8(text));
}
std::wstring PathUtils::fromPath(const std::filesystem::path& path) { return StringUtils::convert(path.c_str()); }
#endif

}  // namespace orvsgutils
