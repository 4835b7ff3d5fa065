// Calls into a plug-in's module, guarded. What such a call throws is caught
// while the module is surely loaded: the exception's what() and destructor
// may be the module's own code, gone once it is unloaded.
#pragma once

#include <orv/Export.h>

#include <optional>
#include <string>
#include <utility>

namespace orv {

// The message of the exception being handled, copied. Call it only inside a
// catch block. For a std::exception, its what(), read up to its terminator
// but never further than 4096 bytes; a what() that is null or that throws
// gives a message saying so. Anything else thrown is "unknown exception".
ORV_FRAMEWORK_API std::string currentExceptionMessage();

// Runs call; answers nothing when it returns, else the message of what it
// threw (see currentExceptionMessage).
template <class Call>
std::optional<std::string> guardedCall(Call&& call) {
  try {
    std::forward<Call>(call)();
    return std::nullopt;
  } catch (...) {
    return currentExceptionMessage();
  }
}

}  // namespace orv
