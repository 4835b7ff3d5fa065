#include "Report.h"

namespace orvhost {

void Report::command(const nlohmann::json& report, TextPrinter text) {
  if (json_) {
    document_.update(report);
  } else {
    text(report, stdout);
    std::fflush(stdout);
  }
}

void Report::failure(const std::string& module, const std::string& message, bool tell) {
  failures_.push_back({{"module", module}, {"message", message}});
  if (tell) std::fprintf(stderr, "orvhost: %s\n", message.c_str());
}

void Report::warning(const std::string& message) {
  warnings_.push_back(message);
  std::fprintf(stderr, "orvhost: warning: %s\n", message.c_str());
}

int Report::end(ExitStatus status, const std::string& error) {
  if (json_) {
    nlohmann::json document = document_;
    document["failures"] = failures_;
    document["warnings"] = warnings_;
    if (status != ExitStatus::Success)
      document["error"] = {{"status", static_cast<int>(status)}, {"message", error.empty() ? meaningOf(status) : error}};
    // Texts from a module need not be valid UTF-16; replace, don't throw.
    const std::string text = document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    std::fprintf(stdout, "%s\n", text.c_str());
    std::fflush(stdout);
  }
  return static_cast<int>(status);
}

}  // namespace orvhost
