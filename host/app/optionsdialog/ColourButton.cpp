// A colour option: a push button with the colour inside it, which opens the
// system's colour chooser.
#include "ControlKind.h"

#include "Handles.h"

#include <commdlg.h>

#include <array>
#include <cstdint>

namespace orvhost::optionsdialog {
namespace {

void show(const Field& field) { InvalidateRect(field.window, nullptr, TRUE); }

void changed(const Field& field, WORD notification) {
  if (notification != BN_CLICKED) return;
  // Kept for the run, as the chooser keeps them between its uses.
  static std::array<COLORREF, 16> customColours = [] {
    std::array<COLORREF, 16> white{};
    white.fill(RGB(255, 255, 255));
    return white;
  }();
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = field.dialog;
  chooser.rgbResult = static_cast<COLORREF>(field.control().value);
  chooser.lpCustColors = customColours.data();
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (ChooseColorW(&chooser)) setColour(field, chooser.rgbResult);
}

// Sizes follow the dialog's font, and so the monitor's DPI.
void draw(const Field& field, const DRAWITEMSTRUCT& item) {
  RECT frame = item.rcItem;
  DrawFrameControl(item.hDC, &frame, DFC_BUTTON,
                   DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0) |
                       ((item.itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0));
  RECT border{0, 0, 3, 3};
  MapDialogRect(field.dialog, &border);
  RECT swatch{item.rcItem.left + border.right, item.rcItem.top + border.bottom, item.rcItem.right - border.right,
              item.rcItem.bottom - border.bottom};
  const Brush colour(CreateSolidBrush(static_cast<COLORREF>(field.control().value)));
  if (colour) FillRect(item.hDC, &swatch, colour.get());
  FrameRect(item.hDC, &swatch, GetSysColorBrush(COLOR_BTNTEXT));
  if (item.itemState & ODS_FOCUS) {
    RECT focus{item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.right - 2, item.rcItem.bottom - 2};
    DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace

const ControlKind colourButton{L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, false, 40, 12, nullptr, nullptr, show, changed,
                               draw};

void setColour(const Field& field, COLORREF colour) {
  field.model.setValue(field.k, static_cast<std::int64_t>(colour & 0xFFFFFF));
  InvalidateRect(field.window, nullptr, TRUE);
}

}  // namespace orvhost::optionsdialog
