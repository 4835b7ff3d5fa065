#include <orvsgutils/ResourceLoader.h>

namespace orvsgutils {

std::wstring ResourceLoader::loadString(int id, HINSTANCE module) {
  // A null module would make the system read the program's own table.
  if (module == nullptr || id < 0 || id > 0xFFFF) return {};
  // With no buffer the system hands out the table's own read-only text.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

}  // namespace orvsgutils
