#include "FileFilters.h"

#include "Text.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace orvhost {
namespace {

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::wstring::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

// "sldprt;*.sldasm;" gives *.sldprt and *.sldasm.
std::vector<std::wstring> patternsOf(const std::wstring& list) {
  std::vector<std::wstring> patterns;
  for (std::wstring& pattern : split(list, L';')) {
    if (pattern.empty()) continue;
    patterns.push_back(pattern.find(L'*') == std::wstring::npos ? L"*." + pattern : std::move(pattern));
  }
  return patterns;
}

std::invalid_argument malformed(const char* what, const std::wstring& text) {
  return std::invalid_argument(std::string(what) + ": \"" + utf8(text) + "\"");
}

}  // namespace

std::vector<FileFilter> parseFileFilters(const std::wstring& dialogFilter, const std::wstring& groupList) {
  std::vector<std::pair<std::wstring, std::wstring>> described;  // pattern, description
  if (!dialogFilter.empty()) {
    const std::vector<std::wstring> fields = split(dialogFilter, L',');
    if (fields.size() % 2 != 0)
      throw malformed("the dialog filter is not pairs of patterns and a description", dialogFilter);
    for (std::size_t i = 0; i < fields.size(); i += 2)
      for (std::wstring& pattern : patternsOf(fields[i])) described.emplace_back(std::move(pattern), fields[i + 1]);
  }
  const auto descriptionOf = [&](const std::wstring& pattern) {
    for (const auto& [candidate, description] : described)
      if (candidate == pattern) return description;
    return std::wstring();
  };

  std::vector<FileFilter> filters;
  if (!groupList.empty()) {
    const std::vector<std::wstring> fields = split(groupList, L',');
    if (fields.size() % 3 != 0)
      throw malformed("the group list is not triples of number, patterns and name", groupList);
    for (std::size_t i = 0; i < fields.size(); i += 3) {
      const std::vector<std::wstring> patterns = patternsOf(fields[i + 1]);
      if (fields[i].empty() || patterns.empty()) throw malformed("a group without number or pattern", groupList);
      for (const std::wstring& pattern : patterns)
        filters.push_back({pattern, descriptionOf(pattern), fields[i], fields[i + 2]});
    }
  }
  for (const auto& entry : described) {
    const bool grouped = std::any_of(filters.begin(), filters.end(),
                                     [&](const FileFilter& filter) { return filter.pattern == entry.first; });
    if (!grouped) filters.push_back({entry.first, entry.second, L"", L""});
  }
  return filters;
}

}  // namespace orvhost
