#include <orv/FilePath.h>

namespace orv {

FilePath::FilePath(const wchar_t* path) : path_(path ? path : L"") {
  const std::size_t separator = path_.find_last_of(L"/\\");
  fileName_ = separator == std::wstring::npos ? path_ : path_.substr(separator + 1);
  const std::size_t dot = fileName_.rfind(L'.');
  if (dot != std::wstring::npos) ext_ = fileName_.substr(dot);
}

FilePath::~FilePath() = default;

}  // namespace orv
