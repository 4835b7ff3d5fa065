#include <IniSettingsStore.h>

#include "AtomicFile.h"
#include "IniText.h"
#include "Utf.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace fs = std::filesystem;
using orvini::IniText;

SettingsFileError::SettingsFileError(const std::string& message) : std::runtime_error(message) {}

SettingsFileError::~SettingsFileError() = default;

struct IniSettingsStore::Content {
  IniText text;
  bool modified = false;
  std::vector<Warning> warnings;
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

}  // namespace

IniSettingsStore::IniSettingsStore(fs::path file) : file_(std::move(file)), content_(std::make_unique<Content>()) {
  const std::optional<std::string> bytes = orvini::readFile(file_);
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
  content_->text.remove(found->index);
  content_->modified = true;
  return true;
}

bool IniSettingsStore::writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) {
  const std::optional<Names> n = names(section, key);
  if (!n || value == nullptr) return false;
  const std::string number = std::to_string(*value);
  if (const std::optional<orvini::KeyLine> found = content_->text.find(n->section, n->key)) {
    // Hosts write back every option; an unchanged file need not be rewritten.
    if (found->value == number) return true;
    content_->text.setValue(found->index, number);
  } else {
    content_->text.addKey(n->section, n->key, number);
  }
  content_->modified = true;
  return true;
}

void IniSettingsStore::save() {
  if (!content_->modified) return;
  orvini::replaceFile(file_, content_->text.encode());
  content_->text.renumber();
  content_->modified = false;
}

bool IniSettingsStore::modified() const { return content_->modified; }

const std::vector<IniSettingsStore::Warning>& IniSettingsStore::warnings() const { return content_->warnings; }

fs::path IniSettingsStore::defaultFile(const std::string& application) {
  // One plain folder name; anything else would put the file somewhere else.
  if (application.empty() || application == "." || application == ".." ||
      application.find_first_of(std::string_view("/\\:\0", 4)) != std::string::npos ||
      orvini::validUtf8(application) != application)
    throw SettingsFileError("\"" + orvini::validUtf8(application) + "\" cannot name a settings folder");
  const fs::path folder = fs::u8path(application);
  const fs::path name = fs::u8path(application + ".ini");
#if defined(_WIN32)
  std::wstring appData(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
    const bool fits = length < appData.size();
    appData.resize(length);
    if (fits) break;
  }
  if (fs::path(appData).is_absolute()) return fs::path(appData) / folder / name;
  throw SettingsFileError("No folder for settings files is known: APPDATA is not an absolute path");
#else
  const auto absolute = [](const char* value) { return value != nullptr && value[0] == '/'; };
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); absolute(config)) return fs::path(config) / folder / name;
  if (const char* home = std::getenv("HOME"); absolute(home)) return fs::path(home) / ".config" / folder / name;
  throw SettingsFileError("No folder for settings files is known: neither XDG_CONFIG_HOME nor HOME is an absolute path");
#endif
}
