#include "IniText.h"

#include "Utf.h"

#include <algorithm>
#include <utility>

namespace orvini {

namespace {

// What GetPrivateProfileIntW skips around names and values; a stray '\r'
// before a line end included.
constexpr std::string_view blanks = " \t\r\v\f";

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeMark = "\xFF\xFE";
constexpr std::string_view utf16BeMark = "\xFE\xFF";

#if defined(_WIN32)
constexpr std::string_view platformNewLine = "\r\n";
#else
constexpr std::string_view platformNewLine = "\n";
#endif

std::string_view trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) + 1 - first);
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

bool IniText::sameName(std::string_view a, std::string_view b) {
  a = trim(a);
  b = trim(b);
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

namespace {

enum class Kind { Blank, Comment, Section, Key, Other };

struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;
  // The value without blanks around it, as offsets into the line's text.
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
};

Parsed parse(std::string_view text) {
  Parsed parsed;
  const std::string_view t = trim(text);
  if (t.empty()) {
    parsed.kind = Kind::Blank;
  } else if (t[0] == ';' || t[0] == '#') {
    parsed.kind = Kind::Comment;
  } else if (t[0] == '[') {
    // The last ']' closes the name, as Wine's profile functions read it.
    const std::size_t close = t.rfind(']');
    if (close != std::string_view::npos) {
      parsed.kind = Kind::Section;
      parsed.name = trim(t.substr(1, close - 1));
    }
  } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
    parsed.name = trim(text.substr(0, equals));
    if (!parsed.name.empty()) {
      parsed.kind = Kind::Key;
      const std::string_view rest = text.substr(equals + 1);
      const std::size_t first = rest.find_first_not_of(blanks);
      parsed.valueBegin = parsed.valueEnd = equals + 1;
      if (first != std::string_view::npos) {
        parsed.valueBegin += first;
        parsed.valueEnd += rest.find_last_not_of(blanks) + 1;
      }
    }
  }
  return parsed;
}

bool isLineText(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace

IniText::IniText() : encoding_(Encoding::Utf8), newLine_(platformNewLine) {}

std::optional<IniText> IniText::decode(std::string_view bytes, std::string* why) {
  IniText result;
  std::string_view body = bytes;
  std::string converted;
  if (startsWith(bytes, utf8Mark)) {
    result.encoding_ = Encoding::Utf8WithMark;
    body.remove_prefix(utf8Mark.size());
  } else if (startsWith(bytes, utf16LeMark)) {
    result.encoding_ = Encoding::Utf16LE;
    auto text = utf8FromUtf16Le(bytes.substr(utf16LeMark.size()), utf16LeMark.size(), why);
    if (!text) return std::nullopt;
    converted = std::move(*text);
    body = converted;
  } else if (startsWith(bytes, utf16BeMark)) {
    *why = "it starts with a UTF-16 big-endian byte-order mark, and only UTF-16LE is read";
    return std::nullopt;
  }
  if (result.encoding_ != Encoding::Utf16LE) {
    if (const std::size_t nul = body.find('\0'); nul != std::string_view::npos) {
      *why = "it holds a NUL byte at byte " + std::to_string(nul + (bytes.size() - body.size()));
      return std::nullopt;
    }
  }

  bool newLineFound = false;
  std::size_t start = 0;
  unsigned int number = 1;
  while (start < body.size()) {
    Line line;
    line.number = number++;
    const std::size_t newLine = body.find('\n', start);
    if (newLine == std::string_view::npos) {
      line.text = body.substr(start);
      start = body.size();
    } else {
      const std::size_t textEnd = newLine > start && body[newLine - 1] == '\r' ? newLine - 1 : newLine;
      line.text = body.substr(start, textEnd - start);
      line.end = body.substr(textEnd, newLine + 1 - textEnd);
      start = newLine + 1;
      if (!newLineFound) {
        result.newLine_ = line.end;
        newLineFound = true;
      }
    }
    result.lines_.push_back(std::move(line));
  }
  return result;
}

std::string IniText::encode() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.end;
  }
  switch (encoding_) {
    case Encoding::Utf8:
      return text;
    case Encoding::Utf8WithMark:
      return std::string(utf8Mark) + text;
    case Encoding::Utf16LE:
      return std::string(utf16LeMark) + utf16LeFromUtf8(text);
  }
  return text;
}

// A name is refused when, written out, it would read back as another name or
// as no name at all.
bool IniText::isSectionName(std::string_view name) {
  name = trim(name);
  // parse() answers views into its text: keep the line alive.
  const std::string line = "[" + std::string(name) + "]";
  const Parsed parsed = parse(line);
  return !name.empty() && isLineText(name) && parsed.kind == Kind::Section && parsed.name == name;
}

bool IniText::isKeyName(std::string_view name) {
  name = trim(name);
  const std::string line = std::string(name) + "=0";
  const Parsed parsed = parse(line);
  return !name.empty() && isLineText(name) && parsed.kind == Kind::Key && parsed.name == name;
}

std::optional<std::size_t> IniText::findSection(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Parsed parsed = parse(lines_[i].text);
    if (parsed.kind == Kind::Section && sameName(parsed.name, name)) return i;
  }
  return std::nullopt;
}

std::optional<KeyLine> IniText::find(std::string_view section, std::string_view key) const {
  const std::optional<std::size_t> header = findSection(section);
  if (!header) return std::nullopt;
  for (std::size_t i = *header + 1; i < lines_.size(); ++i) {
    const Parsed parsed = parse(lines_[i].text);
    if (parsed.kind == Kind::Section) break;
    if (parsed.kind == Kind::Key && sameName(parsed.name, key)) {
      const std::string_view text = lines_[i].text;
      return KeyLine{i, parse(lines_[*header].text).name, parsed.name,
                     text.substr(parsed.valueBegin, parsed.valueEnd - parsed.valueBegin)};
    }
  }
  return std::nullopt;
}

void IniText::setValue(std::size_t index, std::string_view value) {
  Line& line = lines_[index];
  const Parsed parsed = parse(line.text);
  line.text.replace(parsed.valueBegin, parsed.valueEnd - parsed.valueBegin, value);
  line.warned = false;
}

void IniText::addKey(std::string_view section, std::string_view key, std::string_view value) {
  std::string keyLine = std::string(trim(key)) + "=" + std::string(value);
  if (const std::optional<std::size_t> header = findSection(section)) {
    std::size_t at = *header + 1;
    for (std::size_t i = at; i < lines_.size(); ++i) {
      const Kind kind = parse(lines_[i].text).kind;
      if (kind == Kind::Section) break;
      // Comments after a section's last key usually introduce the next one.
      if (kind != Kind::Blank && kind != Kind::Comment) at = i + 1;
    }
    insert(at, std::move(keyLine));
    return;
  }
  if (!lines_.empty() && parse(lines_.back().text).kind != Kind::Blank) insert(lines_.size(), std::string());
  insert(lines_.size(), "[" + std::string(trim(section)) + "]");
  insert(lines_.size(), std::move(keyLine));
}

bool IniText::remove(std::string_view section, std::string_view key) {
  const std::optional<std::size_t> header = findSection(section);
  if (!header) return false;
  const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(*header + 1);
  const auto end = std::find_if(begin, lines_.end(), [](const Line& line) { return parse(line.text).kind == Kind::Section; });
  const auto kept = std::remove_if(begin, end, [&](const Line& line) {
    const Parsed parsed = parse(line.text);
    return parsed.kind == Kind::Key && sameName(parsed.name, key);
  });
  if (kept == end) return false;
  lines_.erase(kept, end);
  return true;
}

void IniText::renumber() {
  unsigned int number = 1;
  for (Line& line : lines_) line.number = number++;
}

void IniText::insert(std::size_t index, std::string text) {
  // Only the last line can lack a line end; it needs one to have a successor.
  if (index > 0 && lines_[index - 1].end.empty()) lines_[index - 1].end = newLine_;
  Line line;
  line.text = std::move(text);
  line.end = newLine_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

}  // namespace orvini
