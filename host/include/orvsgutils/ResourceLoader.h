#pragma once

#include <orv/Export.h>

#include <windows.h>

#include <string>

namespace orvsgutils {

class ORV_DATAUTILS_API ResourceLoader {
 public:
  // String id of module's string table, in the user's language where the
  // table has it. Empty when the module is null or has no such string.
  static std::wstring loadString(int id, HINSTANCE module);
};

}  // namespace orvsgutils
