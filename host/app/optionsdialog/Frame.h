// The dialog around the pages: the tab control above them, the buttons
// below, and the dialog's size and place on its monitor.
#pragma once

#include "DialogTemplate.h"
#include "Metrics.h"
#include "Page.h"

#include <windows.h>

#include <array>
#include <string>

namespace orvhost::optionsdialog {

// The dialog titled title, with its tab control and buttons; arrange places
// them once the dialog is made and its font known.
DialogTemplate frameTemplate(const std::wstring& title);

// Sizes dialog to its pages, or to the work area of its monitor when they
// are taller (they scroll then), and centres it there.
void arrange(HWND dialog, const Metrics& metrics, std::array<Page, 2>& pages);

}  // namespace orvhost::optionsdialog
