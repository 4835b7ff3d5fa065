// orvhost options edit driven from outside, as a user drives it: the program
// runs as a child on a desktop of the test's own, and this side only reads
// and sends window messages and keys. Run by dialog-driver.sh under Wine on a
// virtual X server; a line "screenshot NAME X Y WIDTH HEIGHT" asks the driver
// for a picture of that part of the screen, and it answers with the picture's
// number of distinct colours.
#include "OptionsDialog.h"

#include <TempFolder.h>

#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace ids = orvhost::optionsdialog;

std::wstring hostString(int id) { return orvsgutils::ResourceLoader::loadString(id, orvui::GUIResLoader::instance()); }

// Waits for a state the other process reaches on its own time; false after
// about 30 s, which no passing run comes near.
template <class Condition>
bool eventually(Condition condition) {
  for (int i = 0; i < 1500; ++i) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

std::wstring className(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring textOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) found.push_back(child);
  return found;
}

// A control as the dialog shows it.
struct Shown {
  std::wstring kind;  // "check", "combo" or "colour"
  std::wstring label;
  std::vector<std::wstring> entries;
  long long value = 0;  // checked, the selected entry (-1: none), or the COLORREF
  HWND window = nullptr;

  bool operator==(const Shown& other) const {
    return kind == other.kind && label == other.label && entries == other.entries && value == other.value;
  }
  friend void PrintTo(const Shown& shown, std::ostream* out) {
    *out << std::string(shown.kind.begin(), shown.kind.end()) << " \""
         << std::string(shown.label.begin(), shown.label.end()) << "\" " << shown.value << " (" << shown.entries.size()
         << " entries)";
  }
};

struct Page {
  std::wstring name;
  HWND window = nullptr;
  std::vector<Shown> controls;
};

std::vector<Page> pagesOf(HWND dialog) {
  std::vector<Page> pages;
  for (HWND page : children(dialog)) {
    if (className(page) != L"#32770") continue;
    Page read{textOf(page), page, {}};
    std::wstring label;
    for (HWND control : children(page)) {
      const std::wstring kind = className(control);
      const LONG style = GetWindowLongW(control, GWL_STYLE);
      if (kind == L"Static") {
        label = textOf(control);
      } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        read.controls.push_back({L"check", textOf(control), {}, SendMessageW(control, BM_GETCHECK, 0, 0), control});
      } else if (kind == L"ComboBox") {
        Shown combo{L"combo", label, {}, SendMessageW(control, CB_GETCURSEL, 0, 0), control};
        const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
        for (LRESULT e = 0; e < count; ++e) {
          std::wstring entry(static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, e, 0)) + 1, L'\0');
          entry.resize(static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXT, e, reinterpret_cast<LPARAM>(entry.data()))));
          combo.entries.push_back(entry);
        }
        read.controls.push_back(combo);
      } else if (kind == L"Button" && (style & BS_TYPEMASK) == BS_OWNERDRAW) {
        read.controls.push_back({L"colour", label, {},
                                 SendMessageW(page, ids::getColourMessage, GetDlgCtrlID(control), 0), control});
      } else {
        read.controls.push_back({kind, textOf(control), {}, 0, control});
      }
    }
    pages.push_back(read);
  }
  return pages;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The desktop the dialogs appear on. Wine gives a desktop its display when
// it is first used: this one gets the virtual X server, while the suite's
// other tests keep the headless default desktop.
HDESK testDesktop() {
  static const HDESK desktop = [] {
    HDESK made = CreateDesktopW(L"orvhost-dialog-test", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (made) SetThreadDesktop(made);
    return made;
  }();
  return desktop;
}

// One run of orvhost options edit, ended by force if a test leaves it open.
class Orvhost {
 public:
  explicit Orvhost(const std::wstring& arguments) {
    std::wstring command = L"\"" ORVHOST L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring desktop = L"orvhost-dialog-test";
    startup.lpDesktop = desktop.data();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
      return;
    eventually([&] { return (dialog_ = find(nullptr)) != nullptr; });
  }
  ~Orvhost() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Orvhost(const Orvhost&) = delete;
  Orvhost& operator=(const Orvhost&) = delete;

  HWND dialog() const { return dialog_; }
  HWND focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }
  // The message box the dialog shows above itself, if any.
  HWND messageBox() const { return find(dialog_); }
  // The exit status, once it has ended; -1 while it runs.
  long ended() const {
    if (!eventually([&] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; })) return -1;
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return static_cast<long>(status);
  }

 private:
  // A visible dialog window of the process with that owner.
  HWND find(HWND owner) const {
    struct Search {
      DWORD process;
      HWND owner;
      HWND found;
    } search{process_.dwProcessId, owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          if (process != s->process || className(window) != L"#32770" || GetWindow(window, GW_OWNER) != s->owner ||
              !IsWindowVisible(window))
            return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  PROCESS_INFORMATION process_{};
  HWND dialog_ = nullptr;
};

// Keys as the keyboard types them, to whichever window has the focus.
void press(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void pick(HWND comboBox, int entry) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SendMessageW(GetParent(comboBox), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(comboBox), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(comboBox));
}

// Asks the driver for a picture of the window's client area, kept as NAME.png; answers its number of colours.
long screenshot(const char* name, HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  std::printf("screenshot %s %ld %ld %ld %ld\n", name, area.left, area.top, area.right - area.left,
              area.bottom - area.top);
  std::fflush(stdout);
  long colours = -1;
  std::cin >> colours;
  return colours;
}

const std::string savedOptions =
    "[Dialog Fixture]\r\nRead Faces=1\r\nEdge Colour=65280\r\nQuality=2\r\nSecret=1\r\nLegacy Mode=7\r\nVerbose=0\r\n";

std::string with(std::string content, const std::string& from, const std::string& to) {
  return content.replace(content.find(from), from.size(), to);
}

const std::vector<std::wstring> qualities{L"Coarse", L"Fine", L"Finest"};
const std::vector<std::wstring> modes{L"Off", L"On"};

// Pages and controls as the saved options above show them, or as the
// fixture's defaults do; the hidden option shows nowhere.
std::vector<std::vector<Shown>> expected(bool defaults) {
  return {{{L"check", L"Read faces", {}, 1}, {L"combo", L"Mesh quality", qualities, defaults ? 1 : 2}},
          {{L"colour", L"Edge colour", {}, defaults ? 0x0000FF : 0x00FF00},
           {L"combo", L"Legacy mode", modes, defaults ? 0 : -1},  // 7 is no entry
           {L"check", L"Verbose log", {}, 0}}};
}

void expectShown(HWND dialog, bool defaults) {
  const std::vector<Page> pages = pagesOf(dialog);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].name, hostString(1102));
  EXPECT_EQ(pages[1].name, hostString(1103));
  const auto want = expected(defaults);
  for (std::size_t p = 0; p < 2; ++p) EXPECT_EQ(pages[p].controls, want[p]) << "page " << p;
}

enum class Ending { EnterKey, EscapeKey, OkButton };

struct Scenario {
  const char* what;
  bool pressDefaults;
  bool change;  // Read faces off, Mesh quality Coarse, Edge colour 0x123456
  bool readOnlyFirst;  // the first save fails; the file is then made writable
  Ending ending;
  std::string expectedFile;
};

TEST(OptionsDialog, ShowsTheSetAndSavesOnlyWhatTheUserChose) {
  ASSERT_NE(testDesktop(), nullptr);
  const Scenario scenarios[] = {
      {"changes, Enter", false, true, false, Ending::EnterKey,
       with(with(with(savedOptions, "Read Faces=1", "Read Faces=0"), "Edge Colour=65280", "Edge Colour=1193046"),
            "Quality=2", "Quality=0")},
      {"changes, Escape", false, true, false, Ending::EscapeKey, savedOptions},
      {"Defaults, OK", true, false, false, Ending::OkButton,
       with(with(with(savedOptions, "Edge Colour=65280", "Edge Colour=255"), "Quality=2", "Quality=1"),
            "Legacy Mode=7", "Legacy Mode=0")},
      {"Apply fails, then OK", false, true, true, Ending::OkButton,
       with(with(with(savedOptions, "Read Faces=1", "Read Faces=0"), "Edge Colour=65280", "Edge Colour=1193046"),
            "Quality=2", "Quality=0")},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.what);
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "plugins");
    // Another importer with options loads first: --importer picks.
    std::filesystem::copy_file(SECOND_IMPORTER, folder.path() / "plugins" / "a_second.dll");
    std::filesystem::copy_file(DIALOG_FIXTURE, folder.path() / "plugins" / "dialog_fixture.dll");
    const std::filesystem::path settings = folder.writeFile("orvhost.ini", savedOptions);
    if (scenario.readOnlyFirst) std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);

    Orvhost run(L"--plugin-dir \"" + (folder.path() / "plugins").wstring() + L"\" --settings \"" + settings.wstring() +
                L"\" --importer \"Dialog Fixture\" options edit");
    ASSERT_NE(run.dialog(), nullptr);
    expectShown(run.dialog(), false);
    std::vector<Page> pages = pagesOf(run.dialog());
    ASSERT_EQ(pages.size(), 2u);

    if (scenario.pressDefaults) {
      SendMessageW(GetDlgItem(run.dialog(), ids::defaultsId), BM_CLICK, 0, 0);
      expectShown(run.dialog(), true);
    }
    if (scenario.change) {
      SendMessageW(pages[0].controls[0].window, BM_CLICK, 0, 0);
      pick(pages[0].controls[1].window, 0);
      SendMessageW(pages[1].window, ids::chooseColourMessage, GetDlgCtrlID(pages[1].controls[0].window), 0x123456);
    }
    if (scenario.readOnlyFirst) {
      click(GetDlgItem(run.dialog(), ids::applyId));
      ASSERT_TRUE(eventually([&] { return run.messageBox() != nullptr; }));
      bool named = false;
      for (HWND part : children(run.messageBox())) named = named || textOf(part).find(L"orvhost.ini") != std::wstring::npos;
      EXPECT_TRUE(named) << "the message names the settings file";
      PostMessageW(run.messageBox(), WM_COMMAND, IDOK, 0);
      ASSERT_TRUE(eventually([&] { return run.messageBox() == nullptr; }));
      EXPECT_EQ(readFile(settings), savedOptions);
      std::filesystem::permissions(settings, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
    if (scenario.change) {
      // The user's values stand, in the dialog and after a failed save.
      const std::vector<Page> now = pagesOf(run.dialog());
      EXPECT_EQ(now[0].controls[0].value, 0);
      EXPECT_EQ(now[0].controls[1].value, 0);
      EXPECT_EQ(now[1].controls[0].value, 0x123456);
      EXPECT_EQ(now[1].controls[1].value, -1);
    }

    switch (scenario.ending) {
      case Ending::EnterKey:
        press({VK_RETURN});
        break;
      case Ending::EscapeKey:
        press({VK_ESCAPE});
        break;
      case Ending::OkButton:
        click(GetDlgItem(run.dialog(), IDOK));
        break;
    }
    EXPECT_EQ(run.ended(), 0);
    EXPECT_EQ(readFile(settings), scenario.expectedFile);
  }
}

// The SolidWorks importer's twelve options, through the keyboard alone:
// Tab walks a page's controls in the set's order, Ctrl+Tab turns the page.
TEST(OptionsDialog, ShowsTheImportersOptionsAndAnswersTheKeyboard) {
  ASSERT_NE(testDesktop(), nullptr);
  TempFolder folder;
  const std::filesystem::path settings = folder.path() / "orvhost.ini";
  Orvhost run(L"--plugin-dir \"" PLUGINS L"\" --settings \"" + settings.wstring() + L"\" options edit");
  ASSERT_NE(run.dialog(), nullptr);
  const std::vector<Page> pages = pagesOf(run.dialog());
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].controls.size() + pages[1].controls.size(), 12u);
  HWND tab = GetDlgItem(run.dialog(), ids::tabId);

  const char* names[] = {"options-general", "options-advanced"};
  for (std::size_t p = 0; p < 2; ++p) {
    SCOPED_TRACE(names[p]);
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(pages[p].window) && !IsWindowVisible(pages[1 - p].window); }));
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), static_cast<LRESULT>(p));
    // Focus starts on the page's first control and Tab follows the set.
    for (std::size_t k = 0; k < pages[p].controls.size(); ++k) {
      EXPECT_TRUE(eventually([&] { return run.focus() == pages[p].controls[k].window; })) << "control " << k;
      if (k + 1 < pages[p].controls.size()) press({VK_TAB});
    }
    EXPECT_GT(screenshot(names[p], run.dialog()), 16) << "more than a blank window";
    press({VK_CONTROL, VK_TAB});
  }
  ASSERT_TRUE(eventually([&] { return IsWindowVisible(pages[0].window); })) << "Ctrl+Tab comes back round";
  press({VK_ESCAPE});
  EXPECT_EQ(run.ended(), 0);
  EXPECT_FALSE(std::filesystem::exists(settings));
}

}  // namespace
