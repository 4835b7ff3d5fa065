#include "Commands.h"
#include "PluginHost.h"

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

}  // namespace orvhost
