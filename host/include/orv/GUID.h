#pragma once

#include <orv/Export.h>

#include <cstdint>
#include <string>

namespace orv {

// A 128-bit identity, read from and written as registry text:
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", hex digits in either case.
struct ORV_FRAMEWORK_API GUID {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};

  // Throws std::invalid_argument naming the text when it is not a GUID in
  // registry form (38 characters, braces and hyphens in place).
  static GUID parse(const wchar_t* text);

  // Registry form with upper-case digits.
  std::wstring toString() const;

  friend bool operator==(const GUID& a, const GUID& b) noexcept {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.data4[i] != b.data4[i]) return false;
    return true;
  }
  friend bool operator!=(const GUID& a, const GUID& b) noexcept { return !(a == b); }
};

}  // namespace orv
