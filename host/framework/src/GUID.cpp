#include <orv/GUID.h>

#include <orvsgutils/StringUtils.h>

#include <cwchar>
#include <stdexcept>

namespace orv {

namespace {

int hexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

[[noreturn]] void refuse(const wchar_t* text) {
  const std::string shown = text ? orvsgutils::StringUtils::toUtf8(text) : std::string("(null)");
  throw std::invalid_argument("orv::GUID: not a GUID in registry form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: \"" +
                              shown + "\"");
}

}  // namespace

GUID GUID::parse(const wchar_t* text) {
  // Offsets of the hex pairs that make up the 16 bytes, in byte order.
  static constexpr int pairAt[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
  if (text == nullptr || std::wcslen(text) != 38 || text[0] != L'{' || text[37] != L'}' || text[9] != L'-' ||
      text[14] != L'-' || text[19] != L'-' || text[24] != L'-')
    refuse(text);
  std::uint8_t bytes[16];
  for (int i = 0; i < 16; ++i) {
    const int high = hexDigit(text[pairAt[i]]);
    const int low = hexDigit(text[pairAt[i] + 1]);
    if (high < 0 || low < 0) refuse(text);
    bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  GUID id;
  id.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
             bytes[3];
  id.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  id.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) id.data4[i] = bytes[8 + i];
  return id;
}

std::wstring GUID::toString() const {
  wchar_t text[39];
  std::swprintf(text, 39, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(data1),
                static_cast<unsigned>(data2), static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3],
                data4[4], data4[5], data4[6], data4[7]);
  return text;
}

}  // namespace orv
