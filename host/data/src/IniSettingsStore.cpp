#include <IniSettingsStore.h>

#include "AtomicFile.h"
#include "AtomicFilePlatform.h"
#include "IniText.h"
#include "Utf.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;
using orvini::IniText;

SettingsFileError::SettingsFileError(const std::string& message) : std::runtime_error(message) {}

SettingsFileError::~SettingsFileError() = default;

namespace {

// A change not saved yet: what the key held when the store last read or
// saved the file, and what it holds now.
struct Change {
  std::string section;
  std::string key;
  std::optional<std::string> before;  // nullopt: no such key
  std::optional<std::int32_t> after;  // nullopt: removed
};

}  // namespace

struct IniSettingsStore::Content {
  IniText text;  // as read or saved, with the changes made in it
  std::vector<Change> changes;
  std::vector<Warning> warnings;
  std::chrono::milliseconds lockWait{5000};

  std::vector<Change>::iterator changeOf(std::string_view section, std::string_view key) {
    return std::find_if(changes.begin(), changes.end(), [&](const Change& change) {
      return IniText::sameName(change.section, section) && IniText::sameName(change.key, key);
    });
  }
};

namespace {

// Exactly what the store writes, give or take a sign and leading zeros: no
// hexadecimal, no trailing text, no wrap-around.
std::optional<std::int32_t> parseNumber(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t{1} << 31) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

struct Names {
  std::string section;
  std::string key;
};

std::optional<Names> names(const wchar_t* section, const wchar_t* key) {
  if (section == nullptr || key == nullptr) return std::nullopt;
  std::optional<std::string> s = orvini::utf8FromWide(section);
  std::optional<std::string> k = orvini::utf8FromWide(key);
  if (!s || !k || !IniText::isSectionName(*s) || !IniText::isKeyName(*k)) return std::nullopt;
  return Names{std::move(*s), std::move(*k)};
}

// Puts value under the key, unless it holds that number already in some
// spelling: a line the store need not change keeps its bytes.
void setNumber(IniText& text, std::string_view section, std::string_view key, std::int32_t value) {
  if (const std::optional<orvini::KeyLine> found = text.find(section, key)) {
    if (parseNumber(found->value) != value) text.setValue(found->index, std::to_string(value));
  } else {
    text.addKey(section, key, std::to_string(value));
  }
}

void apply(IniText& text, const Change& change) {
  if (change.after)
    setNumber(text, change.section, change.key, *change.after);
  else
    text.remove(change.section, change.key);
}

}  // namespace

IniSettingsStore::IniSettingsStore(fs::path file) : file_(std::move(file)), content_(std::make_unique<Content>()) {
  const std::optional<std::string> bytes = orvini::readFile(file_, content_->lockWait);
  if (!bytes) return;
  std::string why;
  std::optional<IniText> text = IniText::decode(*bytes, &why);
  if (!text) throw SettingsFileError("Settings file \"" + orvini::shown(file_) + "\" is not text: " + why);
  content_->text = std::move(*text);
}

IniSettingsStore::~IniSettingsStore() = default;

bool IniSettingsStore::flush() {
  try {
    save();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool IniSettingsStore::readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) {
  const std::optional<Names> n = names(section, key);
  if (!n || out == nullptr) return false;
  const std::optional<orvini::KeyLine> found = content_->text.find(n->section, n->key);
  if (!found) return false;
  if (const std::optional<std::int32_t> value = parseNumber(found->value)) {
    *out = *value;
    return true;
  }
  orvini::Line& line = content_->text.line(found->index);
  if (!line.warned) {
    content_->warnings.push_back(
        {file_, line.number,
         "section \"" + orvini::validUtf8(found->section) + "\", key \"" + orvini::validUtf8(found->key) + "\": \"" +
             orvini::validUtf8(found->value) + "\" is not a decimal 32-bit integer, so the default is used"});
    line.warned = true;
  }
  return false;
}

bool IniSettingsStore::removeValue(const wchar_t* section, const wchar_t* key) {
  const std::optional<Names> n = names(section, key);
  if (!n) return false;
  const std::optional<orvini::KeyLine> found = content_->text.find(n->section, n->key);
  if (!found) return false;
  const auto change = content_->changeOf(n->section, n->key);
  if (change == content_->changes.end())
    content_->changes.push_back({n->section, n->key, std::string(found->value), std::nullopt});
  else if (!change->before)
    content_->changes.erase(change);  // added, then removed: nothing changed
  else
    change->after = std::nullopt;
  content_->text.remove(n->section, n->key);
  return true;
}

bool IniSettingsStore::writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) {
  const std::optional<Names> n = names(section, key);
  if (!n || value == nullptr) return false;
  const auto change = content_->changeOf(n->section, n->key);
  if (change == content_->changes.end()) {
    // Hosts write back every option: only a value that differs is a change,
    // or it would undo newer values other processes saved meanwhile.
    const std::optional<orvini::KeyLine> found = content_->text.find(n->section, n->key);
    if (found && parseNumber(found->value) == *value) return true;
    content_->changes.push_back(
        {n->section, n->key, found ? std::optional<std::string>(found->value) : std::nullopt, *value});
  } else if (change->before && parseNumber(*change->before) == *value) {
    // Back to what was read: in its own spelling, and no change any more.
    const std::string before = *change->before;
    content_->changes.erase(change);
    if (const std::optional<orvini::KeyLine> found = content_->text.find(n->section, n->key))
      content_->text.setValue(found->index, before);
    else
      content_->text.addKey(n->section, n->key, before);
    return true;
  } else {
    change->after = *value;
  }
  setNumber(content_->text, n->section, n->key, *value);
  return true;
}

void IniSettingsStore::save() {
  if (content_->changes.empty()) return;
  std::optional<IniText> saved;
  const std::optional<std::string> warning = orvini::updateFile(
      file_, content_->lockWait, [&](const std::optional<std::string>& bytes) -> std::optional<std::string> {
        IniText text;
        if (bytes) {
          std::string why;
          std::optional<IniText> now = IniText::decode(*bytes, &why);
          if (!now) throw SettingsFileError("Settings file \"" + orvini::shown(file_) + "\" is no longer text: " + why);
          text = std::move(*now);
        }
        for (const Change& change : content_->changes) apply(text, change);
        std::string encoded = text.encode();
        saved = std::move(text);
        if (bytes && *bytes == encoded) return std::nullopt;  // others saved the same already
        return encoded;
      });
  saved->renumber();
  content_->text = std::move(*saved);
  content_->changes.clear();
  if (warning) content_->warnings.push_back({file_, 0, *warning});
}

bool IniSettingsStore::modified() const { return !content_->changes.empty(); }

std::chrono::milliseconds IniSettingsStore::lockWait() const { return content_->lockWait; }

void IniSettingsStore::setLockWait(std::chrono::milliseconds wait) { content_->lockWait = wait; }

const std::vector<IniSettingsStore::Warning>& IniSettingsStore::warnings() const { return content_->warnings; }

fs::path IniSettingsStore::defaultFile(const std::string& application) {
  // One plain folder name; anything else would put the file somewhere else.
  if (application.empty() || application == "." || application == ".." ||
      application.find_first_of(std::string_view("/\\:\0", 4)) != std::string::npos ||
      orvini::validUtf8(application) != application)
    throw SettingsFileError("\"" + orvini::validUtf8(application) + "\" cannot name a settings folder");
  return orvini::settingsRoot() / fs::u8path(application) / fs::u8path(application + ".ini");
}
