// validate's findings as a JUnit XML report, the form CI tools read: a test
// suite per module, a test case per check.
#pragma once

#include "ModuleResult.h"

#include <filesystem>
#include <vector>

namespace orvhost::validate {

// Throws HostError when file cannot be written.
void writeJUnit(const std::filesystem::path& file, const std::vector<ModuleResult>& results);

}  // namespace orvhost::validate
