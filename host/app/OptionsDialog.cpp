#include "OptionsDialog.h"

#include "Commands.h"

#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace orvhost {
namespace {

namespace ids = optionsdialog;

// The dialog's own texts, from the host's GUI strings.
enum Text { title = 1101, generalPage, advancedPage, okButton, cancelButton, applyButton, defaultsButton };

std::wstring text(Text id) { return orvsgutils::ResourceLoader::loadString(id, orvui::GUIResLoader::instance()); }

// A label as a button shows it: '&' would otherwise mark a mnemonic.
std::wstring literal(const std::wstring& label) {
  std::wstring shown;
  for (const wchar_t c : label) shown += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
  return shown;
}

// Layout, in dialog units.
constexpr short margin = 7;
constexpr short inset = 6;        // of a page inside the tab control
constexpr short tabHeader = 14;
constexpr short rowHeight = 14;
constexpr short pageWidth = 260;
constexpr short labelWidth = 120;
constexpr short fieldX = labelWidth + 5;
constexpr short fieldWidth = pageWidth - fieldX;
constexpr short swatchWidth = 40;
constexpr short buttonWidth = 50;
constexpr short buttonHeight = 14;
constexpr short buttonGap = 4;

// A DLGTEMPLATE with its items, built in memory.
class Template {
 public:
  Template(DWORD style, DWORD exStyle, short width, short height, const std::wstring& caption) {
    DLGTEMPLATE head{};
    head.style = style | DS_SETFONT;
    head.dwExtendedStyle = exStyle;
    head.cx = width;
    head.cy = height;
    put(&head, sizeof head);
    word(0);  // no menu
    word(0);  // the standard dialog class
    string(caption);
    word(8);
    string(L"MS Shell Dlg");
  }

  void add(const wchar_t* windowClass, const std::wstring& caption, DWORD style, short x, short y, short width,
           short height, int id) {
    align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = static_cast<WORD>(id);
    put(&item, sizeof item);
    string(windowClass);
    string(caption);
    word(0);  // no creation data
    ++count_;
  }

  const DLGTEMPLATE* get() {
    reinterpret_cast<DLGTEMPLATE*>(words_.data())->cdit = count_;
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  void put(const void* data, std::size_t size) {
    const auto* from = static_cast<const WORD*>(data);
    words_.insert(words_.end(), from, from + size / sizeof(WORD));
  }
  void word(WORD value) { words_.push_back(value); }
  void string(const std::wstring& value) {
    words_.insert(words_.end(), value.begin(), value.end());
    word(0);
  }
  void align() {
    if (words_.size() % 2 != 0) word(0);
  }

  std::vector<WORD> words_;  // WORDs keep the template WORD-aligned; align() makes items DWORD-aligned
  WORD count_ = 0;
};

struct BrushDeleter {
  void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushDeleter>;

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

class Dialog {
 public:
  Dialog(OptionsModel& model, const SaveOptions& save) : model_(model), save_(save) {
    customColours_.fill(RGB(255, 255, 255));
  }

  bool run() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    short rows = 1;
    for (const bool advanced : {false, true})
      rows = std::max<short>(rows, static_cast<short>(std::count_if(
                                       model_.controls().begin(), model_.controls().end(),
                                       [&](const DialogControl& control) { return control.advanced == advanced; })));
    pageHeight_ = static_cast<short>(rows * rowHeight);
    const short pageHeight = pageHeight_;
    // The tab control's own borders take a few more units.
    const short tabWidth = pageWidth + 2 * inset + 4;
    const short tabHeight = tabHeader + pageHeight + 2 * inset + 4;
    const short width = tabWidth + 2 * margin;
    const short buttonsY = margin + tabHeight + margin;
    const short height = buttonsY + buttonHeight + margin;

    Template main(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_CONTROLPARENT,
                  width, height, text(title));
    main.add(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, margin, margin, tabWidth, tabHeight, ids::tabId);
    main.add(L"BUTTON", text(defaultsButton), BS_PUSHBUTTON | WS_TABSTOP, margin, buttonsY, buttonWidth,
             buttonHeight, ids::defaultsId);
    short x = width - margin - 3 * buttonWidth - 2 * buttonGap;
    const std::array<std::pair<Text, int>, 3> buttons{{{okButton, IDOK}, {cancelButton, IDCANCEL}, {applyButton, ids::applyId}}};
    for (const auto& [caption, id] : buttons) {
      main.add(L"BUTTON", text(caption), (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, x, buttonsY,
               buttonWidth, buttonHeight, id);
      x += buttonWidth + buttonGap;
    }

    for (int page = 0; page < 2; ++page) {
      pages_[page] = std::make_unique<Template>(DS_CONTROL | WS_CHILD, WS_EX_CONTROLPARENT, pageWidth, pageHeight,
                                                text(page == 0 ? generalPage : advancedPage));
      short y = 0;
      for (std::size_t k = 0; k < model_.controls().size(); ++k) {
        const DialogControl& control = model_.controls()[k];
        if (control.advanced != (page == 1)) continue;
        addControl(*pages_[page], control, static_cast<int>(k), y);
        y += rowHeight;
      }
    }

    const Window dialog(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), main.get(), nullptr, mainProc,
                                                   reinterpret_cast<LPARAM>(this)));
    if (!dialog || !pageWindows_[0] || !pageWindows_[1])
      throw std::runtime_error("the options dialog could not be shown (Windows error " + std::to_string(GetLastError()) +
                               "); is there a desktop to show it on?");
    MSG message;
    while (!closed_) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for whoever loops outside
        break;
      }
      if (changesPage(message)) continue;
      if (!IsDialogMessageW(dialog.get(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    return saved_;
  }

 private:
  static void addControl(Template& page, const DialogControl& control, int k, short y) {
    const int id = ids::firstControlId + k;
    switch (control.type) {
      case orv::IPreferenceUI::CHECKBOX:
        page.add(L"BUTTON", literal(control.label), BS_AUTOCHECKBOX | WS_TABSTOP, 0, static_cast<short>(y + 2), pageWidth, 10,
                 id);
        return;
      case orv::IPreferenceUI::COMBOBOX: {
        page.add(L"STATIC", control.label, SS_LEFT | SS_NOPREFIX, 0, static_cast<short>(y + 2), labelWidth, 10, -1);
        // A drop-down list's height is that of its open list.
        const short listHeight = static_cast<short>(12 + 10 * std::min<std::size_t>(control.entries.size() + 1, 10));
        page.add(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, fieldX, y, fieldWidth, listHeight, id);
        return;
      }
      case orv::IPreferenceUI::COLORBUTTONGROUP:
        page.add(L"STATIC", control.label, SS_LEFT | SS_NOPREFIX, 0, static_cast<short>(y + 2), labelWidth, 10, -1);
        page.add(L"BUTTON", L"", BS_OWNERDRAW | WS_TABSTOP, fieldX, y, swatchWidth, 12, id);
        return;
    }
  }

  static Dialog* self(HWND window) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

  static INT_PTR CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
      return reinterpret_cast<Dialog*>(lParam)->initialise(window);
    }
    Dialog* dialog = self(window);
    if (!dialog) return FALSE;
    switch (message) {
      case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) return dialog->command(LOWORD(wParam));
        return FALSE;
      case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
          dialog->showPage(TabCtrl_GetCurSel(dialog->tab_), false);
          return TRUE;
        }
        return FALSE;
      case WM_CLOSE:
        dialog->closed_ = true;
        return TRUE;
    }
    return FALSE;
  }

  static INT_PTR CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
      return FALSE;
    }
    Dialog* dialog = self(window);
    if (!dialog) return FALSE;
    const int k = static_cast<int>(LOWORD(wParam)) - ids::firstControlId;
    const bool ours = k >= 0 && static_cast<std::size_t>(k) < dialog->model_.controls().size();
    switch (message) {
      case WM_COMMAND:
        if (!ours) return FALSE;
        dialog->changed(static_cast<std::size_t>(k), HIWORD(wParam));
        return TRUE;
      case WM_DRAWITEM:
        if (!ours) return FALSE;
        dialog->drawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), static_cast<std::size_t>(k));
        return TRUE;
      case ids::getColourMessage:
      case ids::chooseColourMessage: {
        const bool colour = ours && dialog->model_.controls()[k].type == orv::IPreferenceUI::COLORBUTTONGROUP;
        if (colour && message == ids::chooseColourMessage) dialog->setColour(static_cast<std::size_t>(k), lParam);
        SetWindowLongPtrW(window, DWLP_MSGRESULT, colour ? static_cast<LONG_PTR>(dialog->model_.controls()[k].value) : -1);
        return TRUE;
      }
    }
    return FALSE;
  }

  BOOL initialise(HWND window) {
    dialog_ = window;
    tab_ = GetDlgItem(window, ids::tabId);
    for (int page = 0; page < 2; ++page) {
      std::wstring name = text(page == 0 ? generalPage : advancedPage);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = name.data();
      SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    }
    // Each page keeps its own size, an inset inside what the tab control
    // leaves free, centred across.
    RECT area{};
    GetClientRect(tab_, &area);
    TabCtrl_AdjustRect(tab_, FALSE, &area);
    MapWindowPoints(tab_, window, reinterpret_cast<POINT*>(&area), 2);
    RECT size{inset, inset, pageWidth, pageHeight_};
    MapDialogRect(window, &size);
    const int pageX = area.left + std::max<int>(0, (area.right - area.left - size.right) / 2);
    const int pageY = area.top + size.top;
    HWND previous = tab_;
    for (int page = 0; page < 2; ++page) {
      HWND shown = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), pages_[page]->get(), window, pageProc,
                                              reinterpret_cast<LPARAM>(this));
      if (!shown) return FALSE;
      pageWindows_[page] = shown;
      // Right after the tab control in the tab order; the tab control clips
      // its siblings, so it does not paint over the page.
      SetWindowPos(shown, previous, pageX, pageY, size.right, size.bottom, SWP_NOACTIVATE);
      EnableThemeDialogTexture(shown, ETDT_ENABLETAB);
      previous = shown;
    }
    for (std::size_t k = 0; k < model_.controls().size(); ++k) {
      const DialogControl& control = model_.controls()[k];
      if (control.type != orv::IPreferenceUI::COMBOBOX) continue;
      HWND comboBox = controlWindow(k);
      for (const std::wstring& entry : control.entries)
        SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    refresh();
    showPage(0, true);
    return FALSE;  // focus was set
  }

  HWND controlWindow(std::size_t k) const {
    return GetDlgItem(pageWindows_[model_.controls()[k].advanced ? 1 : 0], ids::firstControlId + static_cast<int>(k));
  }

  // Every control as the model has it.
  void refresh() {
    for (std::size_t k = 0; k < model_.controls().size(); ++k) {
      const DialogControl& control = model_.controls()[k];
      HWND shown = controlWindow(k);
      switch (control.type) {
        case orv::IPreferenceUI::CHECKBOX:
          SendMessageW(shown, BM_SETCHECK, control.value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
          break;
        case orv::IPreferenceUI::COMBOBOX:
          SendMessageW(shown, CB_SETCURSEL, static_cast<WPARAM>(model_.selection(k)), 0);
          break;
        case orv::IPreferenceUI::COLORBUTTONGROUP:
          InvalidateRect(shown, nullptr, TRUE);
          break;
      }
    }
  }

  // The first control of the page gets the focus, or the tab control when
  // the page has none.
  void showPage(int page, bool focus) {
    if (page < 0 || page > 1) return;
    TabCtrl_SetCurSel(tab_, page);
    ShowWindow(pageWindows_[page], SW_SHOW);
    ShowWindow(pageWindows_[1 - page], SW_HIDE);
    if (!focus) return;
    HWND first = GetNextDlgTabItem(pageWindows_[page], nullptr, FALSE);
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first ? first : tab_), TRUE);
  }

  // Ctrl+Tab and Ctrl+Shift+Tab turn the page, as in a property sheet.
  bool changesPage(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
    if (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) return false;
    showPage(1 - TabCtrl_GetCurSel(tab_), true);
    return true;
  }

  BOOL command(int id) {
    switch (id) {
      case IDOK:
        if (save()) closed_ = true;
        return TRUE;
      case IDCANCEL:
        closed_ = true;
        return TRUE;
      case ids::applyId:
        save();
        return TRUE;
      case ids::defaultsId:
        model_.restoreDefaults();
        refresh();
        return TRUE;
    }
    return FALSE;
  }

  bool save() {
    const std::string error = save_(model_);
    if (error.empty()) {
      saved_ = true;
      return true;
    }
    MessageBoxW(dialog_, wide(error).c_str(), text(title).c_str(), MB_OK | MB_ICONERROR);
    return false;
  }

  void changed(std::size_t k, WORD notification) {
    const DialogControl& control = model_.controls()[k];
    HWND shown = controlWindow(k);
    if (control.type == orv::IPreferenceUI::CHECKBOX && notification == BN_CLICKED) {
      model_.setValue(k, SendMessageW(shown, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else if (control.type == orv::IPreferenceUI::COMBOBOX && notification == CBN_SELCHANGE) {
      // Nothing picked keeps a value that matches no entry.
      const LRESULT picked = SendMessageW(shown, CB_GETCURSEL, 0, 0);
      if (picked != CB_ERR) model_.setValue(k, picked);
    } else if (control.type == orv::IPreferenceUI::COLORBUTTONGROUP && notification == BN_CLICKED) {
      CHOOSECOLORW chooser{};
      chooser.lStructSize = sizeof chooser;
      chooser.hwndOwner = dialog_;
      chooser.rgbResult = static_cast<COLORREF>(control.value);
      chooser.lpCustColors = customColours_.data();
      chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
      if (ChooseColorW(&chooser)) setColour(k, chooser.rgbResult);
    }
  }

  void setColour(std::size_t k, LPARAM colour) {
    model_.setValue(k, static_cast<std::int64_t>(static_cast<COLORREF>(colour) & 0xFFFFFF));
    InvalidateRect(controlWindow(k), nullptr, TRUE);
  }

  // A push button with the colour inside it; sizes follow the dialog's
  // font, and so the monitor's DPI.
  void drawSwatch(const DRAWITEMSTRUCT& item, std::size_t k) {
    RECT frame = item.rcItem;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON,
                     DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0) |
                         ((item.itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0));
    RECT border{0, 0, 3, 3};
    MapDialogRect(dialog_, &border);
    RECT swatch{item.rcItem.left + border.right, item.rcItem.top + border.bottom, item.rcItem.right - border.right,
                item.rcItem.bottom - border.bottom};
    const Brush colour(CreateSolidBrush(static_cast<COLORREF>(model_.controls()[k].value)));
    FillRect(item.hDC, &swatch, colour.get());
    FrameRect(item.hDC, &swatch, GetSysColorBrush(COLOR_BTNTEXT));
    if (item.itemState & ODS_FOCUS) {
      RECT focus{item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.right - 2, item.rcItem.bottom - 2};
      DrawFocusRect(item.hDC, &focus);
    }
  }

  OptionsModel& model_;
  const SaveOptions& save_;
  std::unique_ptr<Template> pages_[2];
  HWND dialog_ = nullptr;
  HWND tab_ = nullptr;
  HWND pageWindows_[2] = {nullptr, nullptr};
  short pageHeight_ = 0;  // in dialog units
  std::array<COLORREF, 16> customColours_{};
  bool closed_ = false;
  bool saved_ = false;
};

}  // namespace

bool showOptionsDialog(OptionsModel& model, const SaveOptions& save) { return Dialog(model, save).run(); }

}  // namespace orvhost
