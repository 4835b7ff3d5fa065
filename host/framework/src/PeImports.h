// The libraries a Windows module imports, read from its file without
// loading it: what the loader will look for when the module is loaded.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv::detail {

// The DLL names of the image's import directory, in its order. Bytes that are
// no PE image, or whose tables lie outside them, give what could be read
// (nothing, at worst); nothing outside [image, image + size) is read.
std::vector<std::string> importedLibraries(const unsigned char* image, std::size_t size);

}  // namespace orv::detail
