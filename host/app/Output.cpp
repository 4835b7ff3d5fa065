#include "Commands.h"
#include "PluginHost.h"

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

ExitStatus finish(const Context& context, PluginHost& host, nlohmann::json report, TextPrinter text,
                  ExitStatus status) {
  const bool noneLeft = host.importers().empty();
  host.unload();
  nlohmann::json failures = nlohmann::json::array();
  for (const PluginHost::Failure& failure : host.failures())
    failures.push_back({{"module", failure.module}, {"message", failure.message}});
  report["failures"] = std::move(failures);
  emit(context, report, text);
  host.reportFailures();
  return noneLeft ? ExitStatus::NotAPlugin : status;
}

std::wstring wide(const std::string& text) { return orvsgutils::PathUtils::fromBytes(text); }

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

}  // namespace orvhost
