#include <orvsgutils/PathUtils.h>

#include "Utf8Codec.h"

namespace orvsgutils {

namespace {
constexpr char32_t escapedBytes = 0xDC00;
}  // namespace

std::wstring PathUtils::fromBytes(const std::string& bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t length = bytes.size();
  std::wstring out;
  out.reserve(length);
  std::size_t i = 0;
  while (i < length) {
    const unsigned char lead = s[i];
    std::size_t size = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      size = 1, c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      size = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      size = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      size = 4, c = lead & 0x07, minimum = 0x10000;
    }
    std::size_t taken = size == 0 ? 0 : 1;
    while (taken < size && i + taken < length && (s[i + taken] & 0xC0) == 0x80) c = (c << 6) | (s[i + taken++] & 0x3F);
    if (size != 0 && taken == size && c >= minimum && c <= 0x10FFFF && !detail::isSurrogate(c)) {
      detail::appendWide(out, c);
      i += size;
    } else {
      // Only the lead byte is escaped: what follows it is decoded afresh, so
      // the bytes come back one for one.
      out.push_back(static_cast<wchar_t>(escapedBytes + lead));
      ++i;
    }
  }
  return out;
}

std::string PathUtils::toBytes(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = detail::nextWide(text, i);
    if (c >= escapedBytes + 0x80 && c <= escapedBytes + 0xFF) {
      out.push_back(static_cast<char>(c - escapedBytes));
    } else {
      detail::appendUtf8(out, detail::isSurrogate(c) || c > 0x10FFFF ? detail::replacementCharacter : c);
    }
  }
  return out;
}

#if defined(_WIN32)
std::filesystem::path PathUtils::toPath(const std::wstring& text) { return std::filesystem::path(text); }
std::wstring PathUtils::fromPath(const std::filesystem::path& path) { return path.native(); }
#else
std::filesystem::path PathUtils::toPath(const std::wstring& text) { return std::filesystem::path(toBytes(text)); }
std::wstring PathUtils::fromPath(const std::filesystem::path& path) { return fromBytes(path.native()); }
#endif

}  // namespace orvsgutils
