// The UTF-8 and wide-text pieces that the text and the path conversions share.
#pragma once

#include <Utf8Encoding.h>

#include <string>

namespace orvsgutils::detail {

using orvutf8::appendUtf8;
using orvutf8::isSurrogate;
using orvutf8::replacementCharacter;

// One character as wide text: a surrogate pair where wchar_t has 16 bits.
inline void appendWide(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(c));
}

// The character at text[i] of a wide text, joining a surrogate pair where
// wchar_t has 16 bits; advances i past what it took.
inline char32_t nextWide(const std::wstring& text, std::size_t& i) {
  char32_t c = static_cast<char32_t>(text[i++]);
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0xD800 && c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i++]) - 0xDC00);
  }
  return c;
}

}  // namespace orvsgutils::detail
