// The libraries a Windows module imports, read from its file without
// loading it: what the loader will look for when the module is loaded.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv::detail {

// The loader's own limits, beyond which an image is no module it would load:
// its section count, and a library's file name. A real module imports a few
// dozen libraries; the table's bound only stops one that never ends.
inline constexpr std::size_t maxSections = 96;
inline constexpr std::size_t maxLibraryNameLength = 255;
inline constexpr std::size_t maxImportedLibraries = 4096;

struct ImportTable {
  // The DLL names of the image's import directory, in its order: those read
  // before anything went wrong.
  std::vector<std::string> libraries;
  // Why the image or its import table could not be read whole; empty when it
  // was, or when the image imports nothing.
  std::string error;
};

// Nothing outside [image, image + size) is read, and the work is bounded by
// the limits above, whatever the bytes say.
ImportTable importedLibraries(const unsigned char* image, std::size_t size);

}  // namespace orv::detail
