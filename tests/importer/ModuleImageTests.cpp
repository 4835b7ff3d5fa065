// What the DLL carries besides its code: string-table, version and manifest
// resources.
#include "ImporterModule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

HMODULE module() { return testing_support::importerModule().handle(); }

// Read straight from the block of one language, so that no fallback applies.
std::wstring tableString(UINT id, LANGID language) {
  HRSRC resource = FindResourceExW(module(), RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (resource == nullptr) return L"<no block>";
  const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(module(), resource)));
  for (UINT i = 0; i < id % 16; ++i) data += 1 + *data;
  return std::wstring(data + 1, *data);
}

TEST(ModuleImage, FileTypeStringsInFiveLanguagesAloneTheVersionAndAManifestRunningAsInvoker) {
  const wchar_t* strings[] = {L"", L"sldprt,SolidWorks Part Files", L"sldasm,SolidWorks Assembly Files", L".sldprt",
                              L".sldasm", L""};
  for (LANGID language : {1031, 1033, 1036, 1041, 1042})
    for (UINT id = 100; id <= 105; ++id)
      EXPECT_EQ(tableString(id, language), strings[id - 100]) << language << ", " << id;
  EXPECT_EQ(FindResourceExW(module(), RT_STRING, MAKEINTRESOURCEW(101 / 16 + 1), 2057), nullptr);

  const std::wstring path = testing_support::importerModule().path();
  DWORD ignored = 0;
  std::vector<unsigned char> info(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(path.c_str(), 0, DWORD(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD version[] = {fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                           fixed->dwProductVersionLS};
  EXPECT_EQ(std::vector<DWORD>(version, version + 4), (std::vector<DWORD>{6u << 16 | 7u, 120, 6u << 16 | 7u, 120}));
  for (const std::wstring name : {L"FileVersion", L"ProductVersion"}) {
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(),
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), L"6.7 [6.7.0.120]");
  }
  HRSRC manifest = FindResourceW(module(), MAKEINTRESOURCEW(2), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module(), manifest))),
                         SizeofResource(module(), manifest));
  EXPECT_NE(text.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << text;
}
