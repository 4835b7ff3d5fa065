// How orvhost ends. Each kind of failure has a status of its own, so that a
// script can tell a missing plug-in from a file nobody reads.
#pragma once

#include <stdexcept>
#include <string>

namespace orvhost {

enum class ExitStatus : int {
  Success = 0,
  Failure = 1,        // anything not named below
  Usage = 2,          // a bad command line: command, option, option name or value
  NoPlugins = 3,      // the plug-in folder is missing or holds no module
  NotAPlugin = 4,     // a module is no importer plug-in (for plugins: any; else: all)
  NotAccepted = 5,    // no importer accepts a file
  Settings = 6,       // the settings file cannot be read or written
  NotLoaded = 7,      // the document did not load
};

// A failure that ends the command with its status; what() is the message.
class HostError : public std::runtime_error {
 public:
  HostError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
  ExitStatus status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace orvhost
