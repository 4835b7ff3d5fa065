#include "OptionTable.h"

#include "Text.h"

#include <orv/ComboBoxPrefUI.h>
#include <orv/IPreferenceUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <nlohmann/json.hpp>

#include <memory>

namespace orvhost {
namespace {

const char* widgetName(orv::IPreferenceUI::UITYPE type) {
  switch (type) {
    case orv::IPreferenceUI::CHECKBOX:
      return "check box";
    case orv::IPreferenceUI::COMBOBOX:
      return "combo box";
    case orv::IPreferenceUI::COLORBUTTONGROUP:
      return "colour buttons";
  }
  return "unknown";
}

// The widget's colour is a COLORREF, 0x00BBGGRR.
std::string colourText(unsigned long bgr) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02lX%02lX%02lX", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
  return text;
}

struct Shown {
  const char* kind;
  std::string value;
  std::int64_t number;
};

Shown show(const orv::Preferences& set, unsigned int index) {
  const std::shared_ptr<orvsg::IValue> value = set.getValue(index);
  if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) return {"bool", b->get() ? "true" : "false", b->get()};
  if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) {
    const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(set.getUI(index));
    const int chosen = n->get();
    if (comboBox && chosen >= 0 && static_cast<std::size_t>(chosen) < comboBox->options().size())
      return {"int", utf8(comboBox->options()[chosen]), chosen};
    return {"int", std::to_string(chosen), chosen};
  }
  if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value))
    return {"colour", colourText(c->get()), static_cast<std::int32_t>(static_cast<std::uint32_t>(c->get()))};
  if (std::dynamic_pointer_cast<orvsg::StringValue>(value)) return {"string", "", 0};
  return {"unknown", "", 0};
}

// The index of the option named name in set, or count().
unsigned int find(const orv::Preferences& set, const std::wstring& name) {
  unsigned int i = 0;
  while (i < set.count() && name != set.getValue(i)->getName()) ++i;
  return i;
}

}  // namespace

std::string showValue(const orv::Preferences& set, unsigned int index) { return show(set, index).value; }

std::vector<OptionRow> describeOptions(const orv::Preferences& set, const orv::Preferences* defaults) {
  std::vector<OptionRow> rows;
  for (unsigned int i = 0; i < set.count(); ++i) {
    const auto value = set.getValue(i);
    const auto widget = set.getUI(i);
    const Shown shown = show(set, i);
    OptionRow row{i + 1, utf8(value->getName()), shown.kind, shown.value, shown.number,
                  widgetName(widget->getType()), widget->isAdvanced() ? "advanced" : "basic",
                  utf8(widget->getDisplayName()), {}, {}, false};
    if (const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(widget))
      for (const std::wstring& entry : comboBox->options()) row.entries.push_back(utf8(entry));
    if (defaults != nullptr) {
      const unsigned int d = find(*defaults, value->getName());
      if (d < defaults->count()) {
        const Shown byDefault = show(*defaults, d);
        row.defaultValue = byDefault.value;
        row.differs = byDefault.number != shown.number;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

nlohmann::json toJson(const std::vector<OptionRow>& rows) {
  nlohmann::json list = nlohmann::json::array();
  for (const OptionRow& row : rows) {
    nlohmann::json option = {{"position", row.position}, {"name", row.name},   {"kind", row.kind},
                             {"value", row.value},       {"number", row.number}, {"widget", row.widget},
                             {"page", row.page},         {"label", row.label},   {"default", row.defaultValue},
                             {"differsFromDefault", row.differs}};
    if (!row.entries.empty()) option["entries"] = row.entries;
    list.push_back(std::move(option));
  }
  return list;
}

void printOptions(const std::vector<OptionRow>& rows, std::FILE* out) {
  std::fprintf(out, "  %3s  %-38s %-6s %-32s %-14s %-8s  %s\n", "#", "name", "kind", "value", "widget", "page",
               "label");
  for (const OptionRow& row : rows) {
    // A changed value carries its default beside it, as the dialog's
    // "reset" would restore it.
    const std::string value = row.differs ? row.value + " (default " + row.defaultValue + ")" : row.value;
    std::fprintf(out, "  %3u  %-38s %-6s %-32s %-14s %-8s  \"%s\"\n", row.position, row.name.c_str(),
                 row.kind.c_str(), value.c_str(), row.widget.c_str(), row.page.c_str(), row.label.c_str());
    if (!row.entries.empty()) {
      std::string line = "       entries:";
      for (std::size_t e = 0; e < row.entries.size(); ++e) {
        const bool chosen = static_cast<std::int64_t>(e) == row.number;
        line += (e == 0 ? " " : " | ") + (chosen ? "[" + row.entries[e] + "]" : row.entries[e]);
      }
      std::fprintf(out, "%s\n", line.c_str());
    }
  }
}

}  // namespace orvhost
