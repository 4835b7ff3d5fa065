// orvhost options edit driven from outside, as a user drives it: the program
// runs as a child on a desktop of the test's own, which Wine shows on the
// virtual X server, and this side only reads and sends window messages and
// keys. The second importer's options: a check box and a combo box on the
// general page, a colour on the advanced one, and a hidden integer.
#include "OptionsDialog.h"

#include <TempFolder.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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

std::wstring textOf(HWND window) {
  wchar_t text[256] = L"";
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) found.push_back(child);
  return found;
}

void press(std::initializer_list<BYTE> keys) {
  for (BYTE key : keys) keybd_event(key, 0, 0, 0);
  for (BYTE key : keys) keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// The dialog on top: orvhost's, or the message box above it. The desktop
// holds no other.
HWND topDialog() {
  HWND found = FindWindowW(L"#32770", nullptr);
  return found && IsWindowVisible(found) ? found : nullptr;
}

// One run of options edit with the modules and settings file of folder,
// ended by force if the test leaves it open.
struct Edit {
  explicit Edit(const std::filesystem::path& folder) {
    std::wstring command = L"\"" ORVHOST L"\" --plugin-dir \"" + folder.wstring() + L"\" --settings \"" +
                           (folder / "orvhost.ini").wstring() + L"\" --importer \"Second Importer\" options edit";
    std::wstring desktop = L"orvhost-dialog-test";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    eventually([&] { return (dialog = topDialog()) != nullptr; });
    for (HWND child : children(dialog))
      if (!children(child).empty()) pages.push_back(children(child));
  }
  ~Edit() {
    TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  // Mesh only, Mesh quality's entry, Edge colour.
  std::vector<LRESULT> values() const {
    return {SendMessageW(pages[0][0], BM_GETCHECK, 0, 0), SendMessageW(pages[0][2], CB_GETCURSEL, 0, 0),
            SendMessageW(GetParent(pages[1][1]), ids::getColourMessage, GetDlgCtrlID(pages[1][1]), 0)};
  }
  HWND focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }
  DWORD status() const {
    DWORD status = 99;
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &status);
    return status;
  }

  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
  std::vector<std::vector<HWND>> pages;  // their controls
};

TEST(OptionsDialog, ShowsTheSetAndSavesWhatTheUserChose) {
  HDESK desktop = CreateDesktopW(L"orvhost-dialog-test", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  ASSERT_TRUE(desktop && SetThreadDesktop(desktop));
  TempFolder folder;
  // Another importer loads first: --importer picks.
  std::filesystem::copy_file(PLUGINS L"/solidworksimporter.dll", folder.path() / "a.dll");
  std::filesystem::copy_file(SECOND_IMPORTER, folder.path() / "b.dll");
  const std::string saved = "[Fixture Import]\r\nMesh Only=1\r\nEdge Colour=65280\r\nQuality=7\r\nMesh Density=5\r\n";
  const std::filesystem::path settings = folder.writeFile("orvhost.ini", saved);
  const auto file = [&] {
    std::ostringstream content;
    content << std::ifstream(settings, std::ios::binary).rdbuf();
    return content.str();
  };
  {
    // The hidden option shows nowhere; a value no entry matches selects none
    // and goes back as it came. Tab walks a page, Ctrl+Tab turns it.
    Edit run(folder.path());
    ASSERT_EQ(run.pages.size(), 2u);
    ASSERT_EQ(run.pages[0].size() + run.pages[1].size(), 5u);
    EXPECT_EQ(textOf(run.pages[0][0]) + L"|" + textOf(run.pages[0][1]) + L"|" + textOf(run.pages[1][0]),
              L"Mesh only|Mesh quality|Edge colour");
    EXPECT_EQ(run.values(), (std::vector<LRESULT>{BST_CHECKED, CB_ERR, 0x00FF00}));
    EXPECT_TRUE(eventually([&] { return run.focus() == run.pages[0][0]; }));
    press({VK_TAB});
    EXPECT_TRUE(eventually([&] { return run.focus() == run.pages[0][2]; }));
    press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(eventually([&] { return run.focus() == run.pages[1][1] && !IsWindowVisible(GetParent(run.pages[0][0])); }));
    press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(eventually([&] { return run.focus() == run.pages[0][0]; }));
    press({VK_RETURN});
    EXPECT_EQ(run.status(), 0u);
    EXPECT_EQ(file(), saved);
  }
  // Defaults, then the user's choices; a failed Apply names the file and
  // keeps them, and Escape after a good Apply keeps what it saved.
  std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  Edit run(folder.path());
  ASSERT_EQ(run.pages.size(), 2u);
  SendMessageW(GetDlgItem(run.dialog, ids::defaultsId), BM_CLICK, 0, 0);
  EXPECT_EQ(run.values(), (std::vector<LRESULT>{BST_UNCHECKED, 1, 0x0000FF}));
  SendMessageW(run.pages[0][0], BM_CLICK, 0, 0);
  SendMessageW(run.pages[0][2], CB_SETCURSEL, 2, 0);
  SendMessageW(GetParent(run.pages[0][2]), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(run.pages[0][2]), CBN_SELCHANGE), 0);
  SendMessageW(GetParent(run.pages[1][1]), ids::chooseColourMessage, GetDlgCtrlID(run.pages[1][1]), 0x123456);
  PostMessageW(GetDlgItem(run.dialog, ids::applyId), BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(eventually([&] { return (box = topDialog()) != run.dialog && box; }));
  std::wstring message;
  for (HWND part : children(box)) message += textOf(part);
  EXPECT_NE(message.find(L"orvhost.ini"), std::wstring::npos) << "the message names the settings file";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(eventually([&] { return topDialog() == run.dialog; }));
  EXPECT_EQ(file(), saved);
  EXPECT_EQ(run.values(), (std::vector<LRESULT>{BST_CHECKED, 2, 0x123456}));
  std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  PostMessageW(GetDlgItem(run.dialog, ids::applyId), BM_CLICK, 0, 0);
  EXPECT_TRUE(eventually([&] { return file() != saved; }));
  press({VK_ESCAPE});
  EXPECT_EQ(run.status(), 0u);
  EXPECT_EQ(file(), "[Fixture Import]\r\nMesh Only=1\r\nEdge Colour=1193046\r\nQuality=2\r\nMesh Density=5\r\n");
}

}  // namespace
