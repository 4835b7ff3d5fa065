// Looks up an exported name in the module that the test program is linked to
// for the geometry operations, as a client that loads the module would.
#pragma once

namespace geometry_testing {

// The address the module exports under the mangled name, or null.
void* geometryModuleSymbol(const char* mangledName);

}  // namespace geometry_testing
