#include "OptionListing.h"

#include <orv/ComboBoxPrefUI.h>
#include <orv/IPreferenceUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>
#include <orvsgutils/StringUtils.h>

#include <memory>

namespace orvhost {
namespace {

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

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

struct Shown {
  const char* kind;
  std::string value;
  long long number = -1;  // an int value, to mark its combo-box entry
};

Shown show(const std::shared_ptr<orvsg::IValue>& value) {
  if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) return {"bool", b->get() ? "true" : "false"};
  if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) return {"int", std::to_string(n->get()), n->get()};
  if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value)) {
    // The widget's colour is a COLORREF, 0x00BBGGRR.
    const unsigned long bgr = c->get();
    char text[8];
    std::snprintf(text, sizeof text, "#%02lX%02lX%02lX", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    return {"colour", text};
  }
  return {"other", "?"};
}

}  // namespace

void printOptions(const orv::Preferences& set, std::FILE* out) {
  for (unsigned int i = 0; i < set.count(); ++i) {
    const auto value = set.getValue(i);
    const auto widget = set.getUI(i);
    const Shown shown = show(value);
    std::fprintf(out, "  %2u  %-38s %-6s %-6s  %-14s %-8s  \"%s\"\n", i + 1, utf8(value->getName()).c_str(),
                 shown.kind, shown.value.c_str(), widgetName(widget->getType()),
                 widget->isAdvanced() ? "advanced" : "basic", utf8(widget->getDisplayName()).c_str());
    if (const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(widget)) {
      std::fprintf(out, "      entries:");
      const auto& entries = comboBox->options();
      for (std::size_t e = 0; e < entries.size(); ++e) {
        const bool chosen = static_cast<long long>(e) == shown.number;
        std::fprintf(out, "%s %s%s%s", e == 0 ? "" : " |", chosen ? "[" : "", utf8(entries[e]).c_str(),
                     chosen ? "]" : "");
      }
      std::fprintf(out, "\n");
    }
  }
}

}  // namespace orvhost
