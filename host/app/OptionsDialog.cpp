#include "OptionsDialog.h"

#include "Commands.h"
#include "optionsdialog/Frame.h"
#include "optionsdialog/Handles.h"
#include "optionsdialog/Metrics.h"
#include "optionsdialog/Page.h"
#include "optionsdialog/Saving.h"
#include "optionsdialog/Texts.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

namespace orvhost {
namespace {

using namespace optionsdialog;

// The dialog: its frame (Frame.h) with the two pages, the loop that runs it
// and what its buttons and keys do.
class Dialog {
 public:
  Dialog(OptionsModel& model, const SaveOptions& save, const std::wstring& importer)
      : title_(titleFor(importer)), saving_(model, save, title_), pages_{{{model, false}, {model, true}}} {}

  bool run() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    DialogTemplate frame = frameTemplate(title_);
    const Window dialog(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), frame.get(), nullptr, proc,
                                                   reinterpret_cast<LPARAM>(this)));
    if (!error_.empty()) throw std::runtime_error(error_);
    if (!dialog)
      throw std::runtime_error("the options dialog could not be shown (Windows error " + std::to_string(GetLastError()) +
                               "); is there a desktop to show it on?");
    loop(dialog.get());
    return saving_.saved();
  }

 private:
  static INT_PTR CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
      return reinterpret_cast<Dialog*>(lParam)->initialise(window);
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!dialog) return FALSE;
    switch (message) {
      case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && dialog->clicked(LOWORD(wParam));
      case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE) return FALSE;
        dialog->showPage(TabCtrl_GetCurSel(dialog->tab_), false);
        return TRUE;
      case WM_CLOSE:
        dialog->closed_ = true;
        return TRUE;
    }
    return FALSE;
  }

  // Nothing may be thrown through the system's code that calls this: a
  // failure is kept for run.
  BOOL initialise(HWND window) {
    dialog_ = window;
    tab_ = GetDlgItem(window, tabId);
    try {
      const Metrics metrics(window);
      for (int page = 0; page < 2; ++page) {
        std::wstring name = text(page == 0 ? Text::generalPage : Text::advancedPage);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = name.data();
        SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
        if (!pages_[page].create(window, metrics, name))
          throw std::runtime_error("the options dialog's page " + utf8(name) + " could not be made (Windows error " +
                                   std::to_string(GetLastError()) + ")");
        EnableThemeDialogTexture(pages_[page].window(), ETDT_ENABLETAB);
        pages_[page].refresh();
      }
      arrange(window, metrics, pages_);
    } catch (const std::exception& failure) {
      error_ = failure.what();
      return FALSE;
    }
    showPage(0, true);
    return FALSE;  // focus was set
  }

  // Each focus that moves, by Tab or otherwise, is scrolled into view.
  void loop(HWND dialog) {
    HWND focus = nullptr;
    MSG message;
    while (!closed_) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for whoever loops outside
        return;
      }
      if (!changesPage(message) && !IsDialogMessageW(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (HWND now = GetFocus(); now != focus) {
        focus = now;
        for (Page& page : pages_) page.reveal(focus);
      }
    }
  }

  // The first control of the page gets the focus, or the tab control when
  // the page has none.
  void showPage(int page, bool focus) {
    if (page < 0 || page > 1) return;
    TabCtrl_SetCurSel(tab_, page);
    pages_[page].show(true);
    pages_[1 - page].show(false);
    if (!focus) return;
    HWND first = GetNextDlgTabItem(pages_[page].window(), nullptr, FALSE);
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first ? first : tab_), TRUE);
  }

  // Ctrl+Tab and Ctrl+Shift+Tab turn the page, as in a property sheet.
  bool changesPage(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
    if (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) return false;
    showPage(1 - TabCtrl_GetCurSel(tab_), true);
    return true;
  }

  BOOL clicked(int id) {
    const std::optional<Saving::Then> then = saving_.clicked(id, dialog_);
    if (!then) return FALSE;
    if (*then == Saving::Then::close) closed_ = true;
    if (*then == Saving::Then::refresh)
      for (Page& page : pages_) page.refresh();
    return TRUE;
  }

  const std::wstring title_;
  Saving saving_;
  std::array<Page, 2> pages_;  // General, Advanced
  HWND dialog_ = nullptr;
  HWND tab_ = nullptr;
  std::string error_;  // why initialise failed
  bool closed_ = false;
};

}  // namespace

bool showOptionsDialog(OptionsModel& model, const SaveOptions& save, const std::wstring& importer) {
  return Dialog(model, save, importer).run();
}

}  // namespace orvhost
