// What the built DLL carries besides its code: the export table and the
// string-table, version and manifest resources.
#include "ExportedNames.h"
#include "ImporterModule.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using testing_support::importerModule;

namespace {

HMODULE module() { return importerModule().handle(); }

std::set<std::string> exportedNames(HMODULE image) {
  const auto* base = reinterpret_cast<const unsigned char*>(image);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::set<std::string> names;
  if (entry.Size == 0) return names;
  const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  for (DWORD i = 0; i < directory->NumberOfNames; ++i)
    names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
  EXPECT_EQ(directory->NumberOfFunctions, directory->NumberOfNames) << "exports without a name";
  return names;
}

// The 16 counted strings of the string-table block holding id, in one
// language, read straight from the resource so no language fallback applies.
std::wstring tableString(HMODULE image, UINT id, LANGID language) {
  HRSRC resource = FindResourceExW(image, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (resource == nullptr) return L"<no block>";
  const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(image, resource)));
  for (UINT i = 0; i < id % 16; ++i) data += 1 + *data;
  return std::wstring(data + 1, *data);
}

std::vector<unsigned char> versionInfo() {
  const std::wstring path = importerModule().path();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<unsigned char> info(size);
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, info.data())) info.clear();
  return info;
}

std::wstring versionString(std::vector<unsigned char>& info, const wchar_t* name) {
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) return L"<missing>";
  return std::wstring(text, length > 0 ? length - 1 : 0);
}

}  // namespace

TEST(ModuleImage, ExportsExactlyTheListedNames) {
  const std::set<std::string> listed(std::begin(orv_exports::exportedNames), std::end(orv_exports::exportedNames));
  EXPECT_EQ(exportedNames(module()), listed);
  EXPECT_EQ(listed.size(), 36u) << "the two entry points and the 34 geometry operations";
}

TEST(ModuleImage, CarriesTheFileTypeStringsInFiveLanguages) {
  const std::vector<std::pair<UINT, std::wstring>> strings = {
      {101, L"sldprt,SolidWorks Part Files"},
      {102, L"sldasm,SolidWorks Assembly Files"},
      {103, L".sldprt"},
      {104, L".sldasm"}};
  for (LANGID language : {LANGID{1031}, LANGID{1033}, LANGID{1036}, LANGID{1041}, LANGID{1042}}) {
    for (const auto& [id, text] : strings) {
      SCOPED_TRACE(::testing::Message() << "language " << language << ", string " << id);
      EXPECT_EQ(tableString(module(), id, language), text);
    }
  }
  // The ids around them are empty: the table holds just these four.
  EXPECT_EQ(tableString(module(), 100, 1033), L"");
  EXPECT_EQ(tableString(module(), 105, 1033), L"");
  // No other language versions.
  EXPECT_EQ(FindResourceExW(module(), RT_STRING, MAKEINTRESOURCEW(101 / 16 + 1), 2057), nullptr);
}

TEST(ModuleImage, VersionResourceReadsTheImportersVersion) {
  std::vector<unsigned char> info = versionInfo();
  ASSERT_FALSE(info.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, (6u << 16) | 7u);
  EXPECT_EQ(fixed->dwFileVersionLS, (0u << 16) | 120u);
  EXPECT_EQ(fixed->dwProductVersionMS, (6u << 16) | 7u);
  EXPECT_EQ(fixed->dwProductVersionLS, (0u << 16) | 120u);
  EXPECT_EQ(versionString(info, L"FileVersion"), L"6.7 [6.7.0.120]");
  EXPECT_EQ(versionString(info, L"ProductVersion"), L"6.7 [6.7.0.120]");
  // The version the importer reports is the resource's numeric version.
  auto importer = testing_support::makeImporter();
  std::wstring reported;
  importer->version(reported);
  EXPECT_EQ(reported, L"6.7.0.120");
}

TEST(ModuleImage, ManifestAsksToRunAsInvoker) {
  HRSRC resource = FindResourceW(module(), MAKEINTRESOURCEW(2), RT_MANIFEST);
  ASSERT_NE(resource, nullptr);
  const auto* data = static_cast<const char*>(LockResource(LoadResource(module(), resource)));
  const std::string manifest(data, SizeofResource(module(), resource));
  EXPECT_NE(manifest.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << manifest;
}
