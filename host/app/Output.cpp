#include "Commands.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <nlohmann/json.hpp>

namespace orvhost {

void emit(const Context& context, const nlohmann::json& report, TextPrinter text) {
  if (context.json) {
    // Texts from a module need not be valid UTF-16; replace, don't throw.
    const std::string document = report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    std::fprintf(stdout, "%s\n", document.c_str());
  } else {
    text(report, stdout);
  }
  std::fflush(stdout);
}

std::wstring wide(const std::string& text) { return orvsgutils::PathUtils::fromBytes(text); }

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

}  // namespace orvhost
