#include <orvsgutils/StringUtils.h>

#include "Utf8Codec.h"

#include <cstring>

namespace orvsgutils {

using detail::appendUtf8;
using detail::appendWide;
using detail::isSurrogate;
constexpr char32_t replacement = detail::replacementCharacter;

std::wstring StringUtils::convert(const char* text) {
  std::wstring out;
  if (text == nullptr) return out;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const std::size_t length = std::strlen(text);
  out.reserve(length);
  std::size_t i = 0;
  while (i < length) {
    const unsigned char lead = s[i];
    std::size_t extra;
    char32_t c;
    char32_t minimum;
    if (lead < 0x80) {
      out.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      appendWide(out, replacement);
      ++i;
      continue;
    }
    std::size_t taken = 1;
    while (taken <= extra && i + taken < length && (s[i + taken] & 0xC0) == 0x80) {
      c = (c << 6) | (s[i + taken] & 0x3F);
      ++taken;
    }
    // A truncated, overlong, surrogate or out-of-range sequence counts as one
    // malformed character.
    if (taken != extra + 1 || c < minimum || c > 0x10FFFF || isSurrogate(c)) {
      appendWide(out, replacement);
    } else {
      appendWide(out, c);
    }
    i += taken;
  }
  return out;
}

std::string StringUtils::toUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = detail::nextWide(text, i);
    if (isSurrogate(c) || c > 0x10FFFF) c = replacement;
    appendUtf8(out, c);
  }
  return out;
}

}  // namespace orvsgutils
