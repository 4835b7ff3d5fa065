// Paths as a host hands them to canImport: CAD files in user, project and
// network folders, most with a CAD extension in either case, some another
// kind of file, a few with none. ASCII only: on Linux std::filesystem reads
// wide text through the C locale, which refuses anything else.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// The same count paths on every run.
std::vector<std::wstring> pathSample(std::size_t count);

}  // namespace bench
