// The command line on Windows: wide, and UTF-16 need not be valid there, as
// file names need not be. Its UTF-8 keeps a lone surrogate as the three
// bytes of its code point.
#include "Text.h"

#include <Utf8Encoding.h>

namespace orvhost {
namespace {

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
      out += static_cast<wchar_t>(orvutf8::replacementCharacter);
      i += length == 0 || taken == 0 ? 1 : taken;
      continue;
    }
    orvutf8::appendWide(out, c);
    i += length;
  }
  return out;
}

}  // namespace

std::string argument(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) orvutf8::appendUtf8(out, orvutf8::nextWide(text, i));
  return out;
}

std::wstring wide(const std::string& argument) { return decode(argument); }

}  // namespace orvhost
