#include "Commands.h"
#include "PluginHost.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <nlohmann/json.hpp>

namespace orvhost {

ExitStatus finish(const Context& context, PluginHost& host, nlohmann::json report, TextPrinter text,
                  ExitStatus status) {
  const bool noneLeft = host.importers().empty();
  host.unload();
  host.reportFailures();
  context.report.command(report, text);
  return noneLeft ? ExitStatus::NotAPlugin : status;
}

std::wstring wide(const std::string& text) { return orvsgutils::PathUtils::fromBytes(text); }

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

}  // namespace orvhost
