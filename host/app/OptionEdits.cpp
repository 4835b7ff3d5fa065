#include "OptionEdits.h"

#include "Text.h"

#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace orvhost {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// A whole-text integer, decimal or 0x-hex, within [low, high].
bool parseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& number) {
  // strtoll would also take leading blanks and a plus sign.
  if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())) || text.front() == '+') return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, text.rfind("0x", 0) == 0 ? 16 : 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  number = parsed;
  return true;
}

std::int64_t boolFrom(const std::string& text, const std::string& argument) {
  if (text == "true" || text == "1") return 1;
  if (text == "false" || text == "0") return 0;
  throw std::invalid_argument(quoted(argument) + ": a check box takes true, false, 1 or 0");
}

std::int64_t choiceFrom(const std::string& text, const orv::ComboBoxPrefUI& comboBox, const std::string& argument) {
  const auto& entries = comboBox.options();
  std::int64_t number = 0;
  if (parseNumber(text, 0, static_cast<std::int64_t>(entries.size()) - 1, number)) return number;
  std::string valid;
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (utf8(entries[e]) == text) return static_cast<std::int64_t>(e);
    valid += (e == 0 ? "" : ", ") + quoted(utf8(entries[e]));
  }
  throw std::invalid_argument(quoted(argument) + ": the choices are " + valid + ", or their numbers 0 to " +
                              std::to_string(entries.size() - 1));
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::int64_t colourFrom(const std::string& text, const std::string& argument) {
  if (text.size() == 7 && text[0] == '#') {
    std::int64_t rgb = 0;
    for (std::size_t i = 1; i < 7 && rgb >= 0; ++i) rgb = hexDigit(text[i]) < 0 ? -1 : rgb * 16 + hexDigit(text[i]);
    // #RRGGBB becomes the COLORREF 0x00BBGGRR.
    if (rgb >= 0) return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
  }
  std::int64_t number = 0;
  if (parseNumber(text, 0, 0xFFFFFF, number)) return number;
  throw std::invalid_argument(quoted(argument) + ": a colour is #RRGGBB or a COLORREF number from 0 to 0xFFFFFF");
}

}  // namespace

unsigned int optionIndex(const orv::Preferences& set, const std::string& name) {
  std::string valid;
  for (unsigned int i = 0; i < set.count(); ++i) {
    const std::string candidate = utf8(set.getValue(i)->getName());
    if (candidate == name) return i;
    valid += "\n  " + candidate;
  }
  throw std::invalid_argument("no option is named " + quoted(name) + "; the options are:" + valid);
}

bool hasOption(const orv::Preferences& set, const std::string& name) {
  for (unsigned int i = 0; i < set.count(); ++i)
    if (utf8(set.getValue(i)->getName()) == name) return true;
  return false;
}

std::string assignedName(const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) throw std::invalid_argument(quoted(assignment) + ": expected NAME=VALUE");
  return assignment.substr(0, equals);
}

std::vector<OptionEdit> parseOptionEdits(const std::vector<std::string>& assignments, const orv::Preferences& set) {
  std::vector<OptionEdit> edits;
  for (const std::string& argument : assignments) {
    const std::string name = assignedName(argument);
    const unsigned int index = optionIndex(set, name);
    for (const OptionEdit& earlier : edits)
      if (earlier.index == index) throw std::invalid_argument(quoted(name) + " is given more than once");
    const std::string text = argument.substr(name.size() + 1);
    const std::shared_ptr<orvsg::IValue> value = set.getValue(index);
    std::int64_t number = 0;
    if (std::dynamic_pointer_cast<orvsg::BoolValue>(value)) {
      number = boolFrom(text, argument);
    } else if (std::dynamic_pointer_cast<orvsg::IntValue>(value)) {
      const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(set.getUI(index));
      if (comboBox && !comboBox->options().empty()) {
        number = choiceFrom(text, *comboBox, argument);
      } else if (!parseNumber(text, INT32_MIN, INT32_MAX, number)) {
        throw std::invalid_argument(quoted(argument) + ": expected a 32-bit integer");
      }
    } else if (std::dynamic_pointer_cast<orvsg::ColorValue>(value)) {
      number = colourFrom(text, argument);
    } else {
      throw std::invalid_argument(quoted(argument) + ": this option's kind cannot be set from the command line");
    }
    edits.push_back({index, number});
  }
  return edits;
}

void applyOptionEdits(const std::vector<OptionEdit>& edits, orv::Preferences& set) {
  for (const OptionEdit& edit : edits) {
    const std::shared_ptr<orvsg::IValue> value = set.getValue(edit.index);
    if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) b->set(edit.number != 0);
    else if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) n->set(static_cast<int>(edit.number));
    else if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value)) c->set(static_cast<unsigned long>(edit.number));
  }
}

std::optional<std::int64_t> numberOf(const orvsg::IValue& value) {
  if (auto b = dynamic_cast<const orvsg::BoolValue*>(&value)) return b->get() ? 1 : 0;
  if (auto n = dynamic_cast<const orvsg::IntValue*>(&value)) return n->get();
  if (auto c = dynamic_cast<const orvsg::ColorValue*>(&value)) return static_cast<std::int64_t>(c->get());
  return std::nullopt;
}

OptionEdit defaultOf(const orv::Preferences& set, unsigned int index, const orv::Preferences& defaults) {
  const std::string name = utf8(set.getValue(index)->getName());
  if (const auto number = numberOf(*defaults.getValue(optionIndex(defaults, name)))) return {index, *number};
  throw std::invalid_argument(quoted(name) + " has a default of a kind that cannot be set");
}

}  // namespace orvhost
