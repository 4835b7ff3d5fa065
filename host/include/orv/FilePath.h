#pragma once

#include <orv/Export.h>

#include <string>

namespace orv {

// A file path split into what hosts ask of it. Both / and \ separate folders.
// Importers build one for every path a host offers them, so construction
// copies only the path and the extension; the file name is made when first
// asked for.
class ORV_FRAMEWORK_API FilePath {
 public:
  // A null path is taken as an empty one.
  explicit FilePath(const wchar_t* path);
  ~FilePath();

  const std::wstring& getPath() const { return path_; }
  // The file name: what follows the last separator.
  const std::wstring& getFileName() const;
  // The file name's extension from its last dot on, dot included; empty
  // when the file name has no dot. Dots in folder names do not count.
  const std::wstring& getExt() const { return ext_; }

 private:
  std::wstring path_;
  std::wstring ext_;
  std::size_t nameStart_ = 0;
  mutable std::wstring fileName_;
  mutable bool fileNameMade_ = false;
};

}  // namespace orv
