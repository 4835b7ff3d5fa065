// What a page does with the control of each widget kind: one table per
// kind (CheckBox.cpp, ComboBox.cpp, ColourButton.cpp).
#pragma once

#include "OptionsModel.h"

#include <windows.h>

#include <cstddef>

namespace orvhost::optionsdialog {

// One control as a kind's functions see it.
struct Field {
  HWND window;  // the control
  HWND dialog;  // owns the colour chooser; its dialog units size the swatch
  OptionsModel& model;
  std::size_t k;  // the control's place in the model

  const DialogControl& control() const { return model.controls()[k]; }
};

struct ControlKind {
  const wchar_t* windowClass;
  DWORD style;
  // A check box shows its label itself, across the page; the others have a
  // static text on their left.
  bool labelInside;
  short width;   // in dialog units, unless labelInside
  short height;  // in dialog units, as shown closed
  // The height a template gives it: a drop-down list's is that of its open list.
  short (*templateHeight)(const DialogControl&);
  // Once, when the control is made.
  void (*fill)(const Field&);
  // The value the model holds.
  void (*show)(const Field&);
  // A notification from the control: the user's choice, into the model.
  void (*changed)(const Field&, WORD notification);
  // The face of an owner-drawn control; null for the others.
  void (*draw)(const Field&, const DRAWITEMSTRUCT&);
};

extern const ControlKind checkBox;
extern const ControlKind comboBox;
extern const ControlKind colourButton;

// The model keeps only the widget types below.
inline const ControlKind& kindOf(orv::IPreferenceUI::UITYPE type) {
  switch (type) {
    case orv::IPreferenceUI::COMBOBOX:
      return comboBox;
    case orv::IPreferenceUI::COLORBUTTONGROUP:
      return colourButton;
    case orv::IPreferenceUI::CHECKBOX:
      break;
  }
  return checkBox;
}

// A colour the user picked, as the chooser gives it.
void setColour(const Field& field, COLORREF colour);

}  // namespace orvhost::optionsdialog
