// A settings file's text as lines, and the few edits the store makes to it.
// A line that is not edited keeps its bytes, whatever they are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvini {

enum class Encoding { Utf8, Utf8WithMark, Utf16LE };

struct Line {
  // Without the line end: UTF-8, or the file's own bytes for an 8-bit file.
  std::string text;
  // "\n", "\r\n", or empty for a last line without one.
  std::string end;
  // In the file as last read or saved, from 1; 0 for a line not saved yet.
  unsigned int number = 0;
  // Its malformed value has been reported already.
  bool warned = false;
};

// A key line of a section, as found: the views last until the next edit.
struct KeyLine {
  std::size_t index = 0;
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

class IniText {
 public:
  // An empty file, as a missing one is.
  IniText();

  // nullopt, with the reason in *why, when the bytes are not text.
  static std::optional<IniText> decode(std::string_view bytes, std::string* why);
  std::string encode() const;

  // Names are compared without ASCII case and blanks around them. A name
  // that could not be written so that it reads back is refused: false.
  static bool isSectionName(std::string_view name);
  static bool isKeyName(std::string_view name);
  static bool sameName(std::string_view a, std::string_view b);

  // The first key of the first section of that name.
  std::optional<KeyLine> find(std::string_view section, std::string_view key) const;
  Line& line(std::size_t index) { return lines_[index]; }

  void setValue(std::size_t index, std::string_view value);
  // After the last line of the section that is neither blank nor a comment,
  // or in a new section at the end.
  void addKey(std::string_view section, std::string_view key, std::string_view value);
  // Every line of the key in the section find() reads: with one left, the
  // key would still read. False when there was none.
  bool remove(std::string_view section, std::string_view key);
  // After a save the lines are where the file has them.
  void renumber();

 private:
  std::optional<std::size_t> findSection(std::string_view name) const;
  void insert(std::size_t index, std::string text);

  Encoding encoding_;
  std::string newLine_;
  std::vector<Line> lines_;
};

}  // namespace orvini
