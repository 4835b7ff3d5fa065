// orvhost options edit driven from outside as a user drives it: the program
// runs as a child on a desktop of the test's own, which Wine shows on the
// virtual X server (1024x768), and this side only reads and sends window
// messages and keys.
#include "OptionsDialog.h"

#include <TempFolder.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
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

// The controls of each page, General and Advanced.
std::vector<std::vector<HWND>> pagesOf(HWND dialog) {
  std::vector<std::vector<HWND>> pages;
  for (HWND child : children(dialog))
    if (!children(child).empty()) pages.push_back(children(child));
  return pages;
}

RECT rectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// orvhost with arguments, on the test's desktop. One still running when the
// test drops it (after a failure) is ended, so that the next test finds no
// dialog of it.
using Process = std::unique_ptr<void, void (*)(HANDLE)>;
Process orvhost(const std::wstring& arguments) {
  static const HDESK desktop = CreateDesktopW(L"orvhost-dialog-test", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  EXPECT_TRUE(desktop && SetThreadDesktop(desktop));
  std::wstring command = L"\"" ORVHOST L"\" " + arguments, desktopName = L"orvhost-dialog-test";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktopName.data();
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  return Process(process.hProcess, [](HANDLE handle) {
    if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) TerminateProcess(handle, 99);
    WaitForSingleObject(handle, 30000);
    CloseHandle(handle);
  });
}

// Its exit status; 99 when it still runs after 30 s.
DWORD status(const Process& process) {
  DWORD status = 99;
  if (WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &status);
  return status;
}

// The arguments for orvhost with a plug-in folder of copies of modules and
// a settings file, in folder.
std::wstring withPlugins(const TempFolder& folder, const std::vector<std::filesystem::path>& modules) {
  const std::filesystem::path plugins = folder.path() / "plugins";
  std::filesystem::create_directory(plugins);
  for (const std::filesystem::path& module : modules) std::filesystem::copy_file(module, plugins / module.filename());
  const std::filesystem::path settings = folder.path() / "orvhost.ini";
  return L"--plugin-dir \"" + plugins.wstring() + L"\" --settings \"" + settings.wstring() + L"\" ";
}

// An importer whose options the dialog cannot show loads first: the dialog
// opens on the next one, named in its title.
TEST(OptionsDialog, ShowsTheFirstSetItCanAndSavesWhatTheUserChose) {
  TempFolder folder;
  const std::string saved = "[SolidWorks Import]\r\nRead Solids=1\r\nPmi Color=65280\r\nSet Tessellation Level=7\r\n";
  const std::filesystem::path settings = folder.writeFile("orvhost.ini", saved);
  std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  const auto file = [&] {
    std::ifstream in(settings, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::wstring run = withPlugins(folder, {FIXTURES L"/fixture_hidden.dll", SOLIDWORKS_MODULE});
  const Process process = orvhost(run + L"options edit");
  HWND dialog = nullptr;
  ASSERT_TRUE(eventually([&] { return (dialog = topDialog()) != nullptr; }));
  wchar_t title[256] = L"";
  GetWindowTextW(dialog, title, 256);
  EXPECT_EQ(std::wstring(title).rfind(L"SolidWorks Importer - ", 0), 0u) << title;
  const std::vector<std::vector<HWND>> pages = pagesOf(dialog);
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
  EXPECT_EQ(status(orvhost(run + L"options set \"Read PMI=false\"")), 0u);

  // Defaults and a picked entry show, and Enter saves them.
  SendMessageW(GetDlgItem(dialog, ids::defaultsId), BM_CLICK, 0, 0);
  EXPECT_EQ(values(), (std::vector<LRESULT>{BST_CHECKED, 2, 0}));
  SendMessageW(tessellation, CB_SETCURSEL, 3, 0);
  SendMessageW(GetParent(tessellation), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tessellation), CBN_SELCHANGE), 0);
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_EQ(status(process), 0u);
  EXPECT_EQ(file().find("Read Solids=1\r\nPmi Color=0\r\nSet Tessellation Level=3\r\nRead PMI=0\r\n"), 21u) << file();
}

// 42 options, every other one with a long label: the dialog keeps within
// the screen's work area with its buttons, long labels wrap, and the page
// scrolls to the control that Shift+Tab brings the focus to.
TEST(OptionsDialog, FitsManyOptionsOnTheScreen) {
  TempFolder folder;
  const Process process = orvhost(withPlugins(folder, {FIXTURES L"/fixture_many.dll"}) + L"options edit");
  HWND dialog = nullptr;
  ASSERT_TRUE(eventually([&] { return (dialog = topDialog()) != nullptr; }));
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_TRUE(inside(rectOf(dialog), work));
  for (const int id : {IDOK, IDCANCEL, ids::applyId}) {
    HWND button = GetDlgItem(dialog, id);
    EXPECT_TRUE(IsWindowVisible(button) && inside(rectOf(button), rectOf(dialog))) << id;
  }

  const std::vector<std::vector<HWND>> pages = pagesOf(dialog);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 30u + 20u) << "30 options, 20 with a label of their own";
  std::vector<std::pair<int, LONG>> labels;  // a static text's length and height
  for (HWND control : pages[0]) {
    wchar_t kind[16] = L"";
    GetClassNameW(control, kind, 16);
    if (_wcsicmp(kind, L"Static") == 0)
      labels.emplace_back(GetWindowTextLengthW(control), rectOf(control).bottom - rectOf(control).top);
  }
  std::sort(labels.begin(), labels.end());
  ASSERT_FALSE(labels.empty());
  EXPECT_GT(labels.back().second, labels.front().second) << "the longest label takes more lines than the shortest";

  HWND page = GetParent(pages[0].back()), last = pages[0].back();
  EXPECT_FALSE(inside(rectOf(last), rectOf(page))) << "the last control starts out of view";
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  const auto focus = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  // Back from the first control, past the tab control and the buttons.
  for (int presses = 0; presses < 8 && focus() != last; ++presses) {
    HWND before = focus();
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_TAB, 0, 0, 0);
    keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    eventually([&] { return focus() != before; });
  }
  ASSERT_EQ(focus(), last);
  EXPECT_TRUE(eventually([&] { return inside(rectOf(last), rectOf(page)); }));
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_EQ(status(process), 0u);
}

}  // namespace
