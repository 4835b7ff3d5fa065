// Any bytes as a module file dropped into the plug-in folder. The import
// reader reads nothing outside them (the sanitizers watch that), and its
// answer stays within the loader's limits whatever the file says: names a
// loader could look for, and a short reason when it stops early.
#include "FuzzCheck.h"
#include "PeImports.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv::detail;
  const ImportTable table = importedLibraries(data, size);
  FUZZ_CHECK(table.libraries.size() <= maxImportedLibraries);
  for (const std::string& name : table.libraries)
    FUZZ_CHECK(!name.empty() && name.size() <= maxLibraryNameLength && name.find('\0') == std::string::npos);
  // A table cut at the bound says so; a reason names fields, not file contents.
  FUZZ_CHECK(table.libraries.size() < maxImportedLibraries || !table.error.empty());
  FUZZ_CHECK(table.error.size() <= 200);
  return 0;
}
