// What orvhost tells its caller. As text, each command's report goes to
// standard output when the command has it; as JSON, everything a run tells
// (the report, the modules that could not be used, warnings and, on
// failure, the error) makes one document, written once as orvhost ends, so that a script
// always has exactly one document to parse, whatever happened.
#pragma once

#include "ExitStatus.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

namespace orvhost {

using TextPrinter = void (*)(const nlohmann::json& report, std::FILE* out);

class Report {
 public:
  bool json() const { return json_; }
  void setJson(bool json) { json_ = json; }

  // The command's report: printed now through text, or kept for the document.
  void command(const nlohmann::json& report, TextPrinter text);
  // A module that could not be used; told on stderr unless told already.
  void failure(const std::string& module, const std::string& message, bool tell = true);
  // A warning: told on stderr, and kept for the document's "warnings".
  void warning(const std::string& message);
  // Ends the run with status. In JSON, writes the document, with an "error"
  // object (the status, and error or else what the status means) unless
  // status is Success. Errors themselves go to stderr from the caller.
  int end(ExitStatus status, const std::string& error = {});

 private:
  bool json_ = false;
  nlohmann::json document_ = nlohmann::json::object();
  nlohmann::json failures_ = nlohmann::json::array();
  nlohmann::json warnings_ = nlohmann::json::array();
};

}  // namespace orvhost
