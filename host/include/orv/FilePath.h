#pragma once

#include <orv/Export.h>

#include <string>

namespace orv {

// A file path split into what hosts ask of it. Both / and \ separate folders.
class ORV_FRAMEWORK_API FilePath {
 public:
  // A null path is taken as an empty one.
  explicit FilePath(const wchar_t* path);
  ~FilePath();

  const std::wstring& getPath() const { return path_; }
  // The file name: what follows the last separator.
  const std::wstring& getFileName() const { return fileName_; }
  // The file name's extension from its last dot on, dot included; empty
  // when the file name has no dot. Dots in folder names do not count.
  const std::wstring& getExt() const { return ext_; }

 private:
  std::wstring path_;
  std::wstring fileName_;
  std::wstring ext_;
};

}  // namespace orv
