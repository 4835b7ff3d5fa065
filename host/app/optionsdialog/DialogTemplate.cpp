#include "DialogTemplate.h"

namespace orvhost::optionsdialog {

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const std::wstring& caption) {
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

void DialogTemplate::add(const wchar_t* windowClass, const std::wstring& caption, DWORD style, short x, short y,
                         short width, short height, int id) {
  if (words_.size() % 2 != 0) word(0);
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

const DLGTEMPLATE* DialogTemplate::get() {
  reinterpret_cast<DLGTEMPLATE*>(words_.data())->cdit = count_;
  return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

void DialogTemplate::put(const void* data, std::size_t size) {
  const auto* from = static_cast<const WORD*>(data);
  words_.insert(words_.end(), from, from + size / sizeof(WORD));
}

void DialogTemplate::string(const std::wstring& value) {
  words_.insert(words_.end(), value.begin(), value.end());
  word(0);
}

}  // namespace orvhost::optionsdialog
