// This program started again as a child process, for work that may crash or
// hang: a crash ends the child, not the run, and a hang is ended. One
// implementation per platform.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace orvhost::validate {

struct ChildOutcome {
  std::string output;     // its standard output, as far as it came
  bool timedOut = false;  // it was ended for taking longer than allowed
  std::string ending;     // how it ended, in words, when not by exiting with 0 in time
};

// Runs this program with arguments (as orvhost takes its own: UTF-8 on
// Windows, bytes elsewhere), its standard error the caller's, and ends it
// once it has run for timeout. Throws HostError when it cannot be started.
ChildOutcome runThisProgram(const std::vector<std::string>& arguments, std::chrono::seconds timeout);

// In the child: a crash ends the process at once, with the cause in its
// status, without a core dump or the system's crash dialog or debugger.
void endQuietlyOnCrash();

}  // namespace orvhost::validate
