#include "Checks.h"

#include "FileFilters.h"
#include "Text.h"

#include <orvimp/IImporter.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvhost::validate {
namespace {

// Larger than any filter text an importer has reason to give.
constexpr std::uint32_t roomy = 4096;
// What the buffers hold before the call: a cell still holding it was not written.
constexpr wchar_t sentinel = static_cast<wchar_t>(0x2BAD);

// The text up to the terminator, when there is one before end.
std::optional<std::wstring> ended(const std::vector<wchar_t>& buffer, std::size_t end) {
  const auto last = buffer.begin() + static_cast<std::ptrdiff_t>(end);
  const auto terminator = std::find(buffer.begin(), last, L'\0');
  if (terminator == last) return std::nullopt;
  return std::wstring(buffer.begin(), terminator);
}

// A copy at capacity: nothing written from the capacity on, a terminator
// within it (unless it is 0), and a text that fits given whole.
std::optional<std::string> copyFault(const std::vector<wchar_t>& buffer, std::uint32_t capacity,
                                     const std::wstring& whole) {
  const auto beyond = std::find_if(buffer.begin() + capacity, buffer.end(), [](wchar_t c) { return c != sentinel; });
  if (beyond != buffer.end())
    return "is written beyond it, at character " + std::to_string(beyond - buffer.begin());
  if (capacity == 0) return std::nullopt;
  const std::optional<std::wstring> text = ended(buffer, capacity);
  if (!text) return std::string("has no terminator within it");
  if (whole.size() < capacity && *text != whole) return std::string("is not given whole, though it fits");
  return std::nullopt;
}

bool isNumber(const std::wstring& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

}  // namespace

Findings checkFilterGrammar(Session& session) {
  std::vector<wchar_t> filter(roomy, L'\0');
  std::vector<wchar_t> groups(roomy, L'\0');
  if (auto thrown = session.call("getFileFilters",
                                 [&] { session.importer->getFileFilters(filter.data(), roomy, groups.data()); }))
    return {*thrown};
  const std::optional<std::wstring> dialogFilter = ended(filter, roomy);
  const std::optional<std::wstring> groupList = ended(groups, roomy);
  if (!dialogFilter || !groupList)
    return {std::string("the ") + (dialogFilter ? "group list" : "dialog filter") + " fills all " +
            std::to_string(roomy) + " characters of its buffer with no terminator"};
  session.filterTexts = {*dialogFilter, *groupList};

  std::vector<FileFilter> rows;
  try {
    rows = parseFileFilters(*dialogFilter, *groupList);
  } catch (const std::invalid_argument& error) {
    return {error.what()};
  }
  if (rows.empty()) return {"the filters give no file pattern"};
  Findings findings;
  std::vector<std::wstring> extensions;
  for (const FileFilter& row : rows) {
    if (!row.group.empty() && !isNumber(row.group))
      findings.push_back("the group number \"" + utf8(row.group) + "\" is no number");
    // canImport is tried for every "*.ext"; other wildcards name no one extension.
    const std::wstring extension = row.pattern.substr(1);
    const bool plain = row.pattern.rfind(L"*.", 0) == 0 && extension.find_first_of(L"*?", 1) == std::wstring::npos;
    if (plain && std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
      extensions.push_back(extension);
  }
  if (findings.empty()) session.extensions = extensions;
  return findings;
}

Findings checkFilterCopy(Session& session) {
  const auto& [dialogFilter, groupList] = *session.filterTexts;
  const auto size = [](const std::wstring& text) { return static_cast<std::uint32_t>(text.size()); };
  std::vector<std::uint32_t> capacities = {0, 1, size(dialogFilter), size(dialogFilter) + 1, size(groupList),
                                           size(groupList) + 1};
  std::sort(capacities.begin(), capacities.end());
  capacities.erase(std::unique(capacities.begin(), capacities.end()), capacities.end());
  // Room for a copy that ignores the capacity altogether, so that it is seen
  // rather than felt.
  const std::size_t guard = std::max(dialogFilter.size(), groupList.size()) + 16;

  Findings findings;
  for (const std::uint32_t capacity : capacities) {
    std::vector<wchar_t> filter(capacity + guard, sentinel);
    std::vector<wchar_t> groups(capacity + guard, sentinel);
    if (auto thrown = session.call("getFileFilters",
                                   [&] { session.importer->getFileFilters(filter.data(), capacity, groups.data()); }))
      return {*thrown};
    const std::string at = "at capacity " + std::to_string(capacity) + " the ";
    if (auto fault = copyFault(filter, capacity, dialogFilter)) findings.push_back(at + "dialog filter " + *fault);
    if (auto fault = copyFault(groups, capacity, groupList)) findings.push_back(at + "group list " + *fault);
  }
  return findings;
}

}  // namespace orvhost::validate
