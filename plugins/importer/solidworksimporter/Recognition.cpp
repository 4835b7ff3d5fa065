// Which files the importer takes, and what the host's file dialog offers for
// them.
#include "SWImporter.h"

#include <orv/FilePath.h>

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr const wchar_t* recognisedExtensions[] = {L".sldprt", L".sldasm"};

constexpr wchar_t dialogFilter[] = L"sldprt;*.sldasm,SolidWorks Files";
// Each entry: group number, a comma, the pattern with its ';', a comma and the
// group name. Entries are separated by commas, with none after the last.
constexpr wchar_t cadFormatGroups[] = L"103,*.sldprt;,CAD File Formats,103,*.sldasm;,CAD File Formats,";
constexpr wchar_t allSupportedGroups[] = L"104,*.sldprt;,All Supported Files,104,*.sldasm;,All Supported Files";

// wcscpy_s, but a text that does not fit is never handed to it: the C
// runtime's invalid-parameter handling belongs to the host and may end the
// process. Such a buffer is left empty instead.
void copyWhole(wchar_t* buffer, std::uint32_t capacity, const wchar_t* text) {
  if (buffer == nullptr || capacity == 0) return;
  if (std::wcslen(text) < capacity)
    wcscpy_s(buffer, capacity, text);
  else
    buffer[0] = L'\0';
}

}  // namespace

bool SWImporter::canImport(const wchar_t* path) const {
  const orv::FilePath file(path);
  for (const wchar_t* extension : recognisedExtensions)
    if (_wcsicmp(extension, file.getExt().c_str()) == 0) return true;
  return false;
}

void SWImporter::getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const {
  copyWhole(filter, capacity, dialogFilter);
  const std::wstring groupList = std::wstring(cadFormatGroups) + allSupportedGroups;
  copyWhole(groups, capacity, groupList.c_str());
}
