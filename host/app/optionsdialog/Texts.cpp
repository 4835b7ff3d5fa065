#include "Texts.h"

#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

namespace orvhost::optionsdialog {

std::wstring text(Text id) {
  return orvsgutils::ResourceLoader::loadString(static_cast<int>(id), orvui::GUIResLoader::instance());
}

std::wstring titleFor(const std::wstring& importer) {
  return importer.empty() ? text(Text::title) : importer + L" - " + text(Text::title);
}

}  // namespace orvhost::optionsdialog
