// A dialog template with its items, built in memory, for
// CreateDialogIndirectParamW. Positions and sizes are in dialog units.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvhost::optionsdialog {

class DialogTemplate {
 public:
  // In the dialog's font, 8-point MS Shell Dlg.
  DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const std::wstring& caption);

  // A visible child window of windowClass.
  void add(const wchar_t* windowClass, const std::wstring& caption, DWORD style, short x, short y, short width,
           short height, int id);

  // Valid until the next add.
  const DLGTEMPLATE* get();

 private:
  void put(const void* data, std::size_t size);
  void word(WORD value) { words_.push_back(value); }
  void string(const std::wstring& value);

  std::vector<WORD> words_;  // WORDs keep the template WORD-aligned; each item is DWORD-aligned
  WORD count_ = 0;
};

}  // namespace orvhost::optionsdialog
