// The host's GUI strings as the table a Linux module exports in place of a
// string-table resource.
#include <StringTableResource.h>

#include <iterator>

namespace {

constexpr OrvStringTableEntry entries[] = {
#define ORV_GUI_STRING(id, text) {id, L"" text},
#include "GuiStrings.def"
#undef ORV_GUI_STRING
};

constexpr bool sortedById() {
  for (std::size_t i = 1; i < std::size(entries); ++i)
    if (entries[i - 1].id >= entries[i].id) return false;
  return true;
}
static_assert(sortedById(), "GuiStrings.def must be sorted by number, each number once");

}  // namespace

extern "C" __attribute__((visibility("default"))) const OrvStringTable orvStringTable = {entries, std::size(entries)};
