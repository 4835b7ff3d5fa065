// The command line on Windows: wide, and UTF-16 need not be valid there, as
// file names need not be. Its UTF-8 keeps a lone surrogate as the three
// bytes of its code point.
#include "Text.h"

namespace orvhost {
namespace {

constexpr char32_t replacement = 0xFFFD;

bool isHigh(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendWide(std::wstring& out, char32_t c) {
  if (c >= 0x10000) {
    out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out += static_cast<wchar_t>(c);
  }
}

// UTF-8 that also takes the three-byte form of a surrogate, as argument()
// writes a lone one; any other malformed byte is U+FFFD.
std::wstring decode(const std::string& bytes) {
  std::wstring out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    std::size_t taken = 1;
    while (length > 1 && taken < length && i + taken < bytes.size() && (byte(i + taken) & 0xC0) == 0x80)
      c = (c << 6) | (byte(i + taken++) & 0x3F);
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (length == 0 || taken != length || (length > 1 && c < least) || c > 0x10FFFF) {
      out += static_cast<wchar_t>(replacement);
      i += length == 0 || taken == 0 ? 1 : taken;
      continue;
    }
    appendWide(out, c);
    i += length;
  }
  return out;
}

}  // namespace

std::string argument(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (isHigh(c) && i + 1 < text.size() && isLow(static_cast<char32_t>(text[i + 1])))
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    append(out, c);
  }
  return out;
}

std::wstring wide(const std::string& argument) { return decode(argument); }

}  // namespace orvhost
