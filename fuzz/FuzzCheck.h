// What the fuzz targets share: one importer for the whole run, and the check
// of a property whose failure makes the input a finding.
#pragma once

#include "ImporterModule.h"

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) fuzzCheck(condition, __FILE__, __LINE__, #condition)
inline void fuzzCheck(bool holds, const char* file, int line, const char* condition) {
  if (holds) return;
  std::fprintf(stderr, "%s:%d: %s does not hold\n", file, line, condition);
  std::abort();
}

inline orvimp::IImporter& fuzzedImporter() {
  static const auto importer = testing_support::makeImporter();
  return *importer;
}
