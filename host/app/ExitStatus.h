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

// What each status means, in the help's footer and in a JSON answer's
// error when the command gives no message of its own.
struct StatusMeaning {
  ExitStatus status;
  const char* meaning;
};
inline constexpr StatusMeaning statusMeanings[] = {
    {ExitStatus::Success, "success"},
    {ExitStatus::Failure, "any other failure"},
    {ExitStatus::Usage, "bad command line: command, option, option name or value"},
    {ExitStatus::NoPlugins, "the plug-in folder is missing or holds no module"},
    {ExitStatus::NotAPlugin, "a module could not be used (plugins: any module; otherwise: all)"},
    {ExitStatus::NotAccepted, "no importer accepts a file"},
    {ExitStatus::Settings, "the settings file cannot be read or written"},
    {ExitStatus::NotLoaded, "the document did not load"},
};

inline std::string meaningOf(ExitStatus status) {
  for (const StatusMeaning& row : statusMeanings)
    if (row.status == status) return row.meaning;
  return "status " + std::to_string(static_cast<int>(status));
}

// A failure that ends the command with its status; what() is the message.
class HostError : public std::runtime_error {
 public:
  HostError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
  ExitStatus status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace orvhost
