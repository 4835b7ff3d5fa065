// The checks of one module, made in this process, the child that the runner
// started for it; their records go to standard output (see recordMarker).
#pragma once

#include <string>

namespace orvhost::validate {

// module: the path as orvhost takes it from its command line.
void checkModule(const std::string& module);

}  // namespace orvhost::validate
