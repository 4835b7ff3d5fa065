// An importer's two file-dialog texts, parsed into the table a file dialog
// builds from them.
#pragma once

#include <string>
#include <vector>

namespace orvhost {

struct FileFilter {
  std::wstring pattern;      // "*.ext"
  std::wstring description;  // from the dialog filter; empty when it names none
  std::wstring group;        // the group's number as the importer gives it
  std::wstring groupName;
};

// dialogFilter: "patterns,description" pairs, all separated by commas, the
// patterns separated by ';' (a bare extension stands for "*.ext"). groupList:
// "number,patterns,name" triples, separated by commas. One row per group
// pattern, in the group list's order; then any dialog pattern no group holds.
// Throws std::invalid_argument naming what is malformed.
std::vector<FileFilter> parseFileFilters(const std::wstring& dialogFilter, const std::wstring& groupList);

}  // namespace orvhost
