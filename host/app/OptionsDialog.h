// The options dialog of orvhost options edit (Windows only): the controls of
// an OptionsModel on two pages, General and Advanced, which scroll when the
// screen is too small for them, with OK, Cancel, Apply and Defaults. Its own
// texts are host GUI strings; its title names the importer. Its parts are in
// optionsdialog/.
#pragma once

#include "OptionsModel.h"

#include <windows.h>

#include <functional>
#include <string>

namespace orvhost {

// Saves the model's changes and marks it saved; answers the error to show,
// or "" when saved.
using SaveOptions = std::function<std::string(OptionsModel&)>;

// Shows the dialog for the options of importer (its name) until OK or
// Cancel. Answers whether any save (OK or Apply) went through. Throws
// std::runtime_error when the dialog cannot be made.
bool showOptionsDialog(OptionsModel& model, const SaveOptions& save, const std::wstring& importer);

// What a program that drives the dialog through messages needs. Controls
// are the children of the page windows (whose texts are the page names),
// in the model's order; a combo box or colour button has its label in the
// static text just before it.
namespace optionsdialog {
constexpr int applyId = 10;
constexpr int defaultsId = 11;
constexpr int tabId = 12;
constexpr int firstControlId = 1000;  // + the control's place in the model
// Sent to a page with a colour button's id as wParam: answers its COLORREF.
constexpr UINT getColourMessage = WM_APP + 1;
// Sent to a page with a colour button's id and a COLORREF: what the colour
// chooser does when the user picks that colour (the chooser itself is
// modal, so a test cannot drive it).
constexpr UINT chooseColourMessage = WM_APP + 2;
}  // namespace optionsdialog

}  // namespace orvhost
