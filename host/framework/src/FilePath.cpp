#include <orv/FilePath.h>

namespace orv {

FilePath::FilePath(const wchar_t* path) : path_(path ? path : L"") {
  // One pass from the end, up to the last separator.
  std::size_t dot = std::wstring::npos;
  std::size_t i = path_.size();
  for (; i > 0; --i) {
    const wchar_t c = path_[i - 1];
    if (c == L'/' || c == L'\\') break;
    if (c == L'.' && dot == std::wstring::npos) dot = i - 1;
  }
  nameStart_ = i;
  if (dot != std::wstring::npos) ext_.assign(path_, dot, std::wstring::npos);
}

FilePath::~FilePath() = default;

const std::wstring& FilePath::getFileName() const {
  if (!fileNameMade_) {
    fileName_.assign(path_, nameStart_, std::wstring::npos);
    fileNameMade_ = true;
  }
  return fileName_;
}

}  // namespace orv
