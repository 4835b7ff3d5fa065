#include "Utf.h"

#include <Utf8Encoding.h>

namespace orvini {

namespace {

using orvutf8::appendUtf8;
using orvutf8::isSurrogate;
constexpr char32_t replacement = orvutf8::replacementCharacter;

void appendUtf16Le(std::string& out, char32_t c) {
  const auto unit = [&out](char32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  if (c >= 0x10000) {
    c -= 0x10000;
    unit(0xD800 + (c >> 10));
    unit(0xDC00 + (c & 0x3FF));
  } else {
    unit(c);
  }
}

}  // namespace

bool nextUtf8(std::string_view s, std::size_t& i, char32_t& c) {
  const auto lead = static_cast<unsigned char>(s[i++]);
  std::size_t extra;
  char32_t minimum;
  if (lead < 0x80) {
    c = lead;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (s.size() - i < extra) return false;
  char32_t value = c;
  for (std::size_t k = 0; k < extra; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || isSurrogate(value)) return false;
  i += extra;
  c = value;
  return true;
}

std::string validUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t c;
    appendUtf8(out, nextUtf8(s, i, c) ? c : replacement);
  }
  return out;
}

std::optional<std::string> utf8FromWide(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const auto low = static_cast<char32_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (isSurrogate(c) || c > 0x10FFFF) return std::nullopt;
    appendUtf8(out, c);
  }
  return out;
}

std::optional<std::string> utf8FromUtf16Le(std::string_view bytes, std::size_t start, std::string* why) {
  if (bytes.size() % 2 != 0) {
    *why = "its UTF-16 text has an odd number of bytes";
    return std::nullopt;
  }
  const auto unit = [bytes](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  std::string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 2 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (isSurrogate(c)) {
      *why = "its UTF-16 text has an unpaired surrogate at byte " + std::to_string(start + i);
      return std::nullopt;
    } else if (c == 0) {
      *why = "it holds a NUL character at byte " + std::to_string(start + i);
      return std::nullopt;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::string utf16LeFromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t c;
    appendUtf16Le(out, nextUtf8(text, i, c) ? c : replacement);
  }
  return out;
}

}  // namespace orvini
