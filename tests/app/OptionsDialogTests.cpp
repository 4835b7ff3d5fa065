// orvhost options edit on the importer's options, driven from outside as a
// user drives it: the program runs as a child on a desktop of the test's
// own, which Wine shows on the virtual X server, and this side only reads and
// sends window messages and keys.
#include "OptionsDialog.h"

#include <TempFolder.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace ids = orvhost::optionsdialog;

// Waits for a state the other process reaches on its own time; false after
// about 30 s, which no passing run comes near.
template <class Condition>
bool eventually(Condition condition) {
  for (int i = 0; i < 1500 && !condition(); ++i) Sleep(20);
  return condition();
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) found.push_back(child);
  return found;
}

// The dialog on top: orvhost's, or the message box above it. The desktop
// holds no other.
HWND topDialog() {
  HWND found = FindWindowW(L"#32770", nullptr);
  return found && IsWindowVisible(found) ? found : nullptr;
}

TEST(OptionsDialog, ShowsTheSetAndSavesWhatTheUserChose) {
  HDESK desktop = CreateDesktopW(L"orvhost-dialog-test", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  ASSERT_TRUE(desktop && SetThreadDesktop(desktop));
  TempFolder folder;
  const std::string saved = "[SolidWorks Import]\r\nRead Solids=1\r\nPmi Color=65280\r\nSet Tessellation Level=7\r\n";
  const std::filesystem::path settings = folder.writeFile("orvhost.ini", saved);
  std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  const auto file = [&] {
    std::ifstream in(settings, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::wstring desktopName = L"orvhost-dialog-test";
  const auto orvhost = [&](const std::wstring& arguments) {
    std::wstring command = L"\"" ORVHOST L"\" --settings \"" + settings.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktopName.data();
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(process.hThread);
    return process.hProcess;
  };
  const HANDLE process = orvhost(L"options edit");
  ASSERT_TRUE(process);
  HWND dialog = nullptr;
  ASSERT_TRUE(eventually([&] { return (dialog = topDialog()) != nullptr; }));
  std::vector<std::vector<HWND>> pages;  // the controls of each, general and advanced
  for (HWND child : children(dialog))
    if (!children(child).empty()) pages.push_back(children(child));
  // 12 options, 3 with a label of their own.
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size() + pages[1].size(), 15u);
  HWND readSolids = pages[0][0], tessellation = pages[1][6], pmiColour = pages[1][4];
  const auto values = [&] {
    return std::vector<LRESULT>{SendMessageW(readSolids, BM_GETCHECK, 0, 0),
                                SendMessageW(tessellation, CB_GETCURSEL, 0, 0),
                                SendMessageW(GetParent(pmiColour), ids::getColourMessage, GetDlgCtrlID(pmiColour), 0)};
  };
  EXPECT_EQ(values(), (std::vector<LRESULT>{BST_CHECKED, CB_ERR, 0x00FF00})) << "level 7 is no entry";

  // A failed Apply names the file and keeps the user's choices; a value no
  // entry matches goes back as it came.
  SendMessageW(readSolids, BM_CLICK, 0, 0);
  SendMessageW(GetParent(pmiColour), ids::chooseColourMessage, GetDlgCtrlID(pmiColour), 0x123456);
  PostMessageW(GetDlgItem(dialog, ids::applyId), BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(eventually([&] { return (box = topDialog()) != dialog && box; }));
  wchar_t message[512] = L"";
  GetDlgItemTextW(box, 0xFFFF, message, 512);  // a message box's text
  EXPECT_NE(std::wstring(message).find(L"orvhost.ini"), std::wstring::npos) << "the message names the settings file";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(eventually([&] { return topDialog() == dialog; }));
  EXPECT_EQ(file(), saved);
  std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  PostMessageW(GetDlgItem(dialog, ids::applyId), BM_CLICK, 0, 0);
  const std::string applied = "Read Solids=0\r\nPmi Color=1193046\r\nSet Tessellation Level=7\r\n";
  EXPECT_TRUE(eventually([&] { return file().find(applied) == 21; })) << file();

  // Another run changes an option the user left alone here: saving again
  // writes only what the user changed since Apply, and that change stays.
  const HANDLE other = orvhost(L"options set \"Read PMI=false\"");
  EXPECT_EQ(WaitForSingleObject(other, 30000), WAIT_OBJECT_0);
  CloseHandle(other);

  // Defaults and a picked entry show, and Enter saves them.
  SendMessageW(GetDlgItem(dialog, ids::defaultsId), BM_CLICK, 0, 0);
  EXPECT_EQ(values(), (std::vector<LRESULT>{BST_CHECKED, 2, 0}));
  SendMessageW(tessellation, CB_SETCURSEL, 3, 0);
  SendMessageW(GetParent(tessellation), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tessellation), CBN_SELCHANGE), 0);
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  DWORD status = 99;
  EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(process, &status) && status == 0) << status;
  CloseHandle(process);
  EXPECT_EQ(file().find("Read Solids=1\r\nPmi Color=0\r\nSet Tessellation Level=3\r\nRead PMI=0\r\n"), 21u) << file();
}

}  // namespace
