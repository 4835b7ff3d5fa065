#include <orv/PluginCall.h>

#include <cstring>
#include <exception>

namespace orv {
namespace {

// Enough for any message worth reading; a text without a terminator, or a
// pointer into nowhere's end, is not read past it.
constexpr std::size_t longestMessage = 4096;

std::string messageOf(const std::exception& error) {
  const char* text = nullptr;
  try {
    text = error.what();
  } catch (...) {
    return "an exception whose what() throws";
  }
  if (text == nullptr) return "an exception whose what() is null";
  const std::size_t length = strnlen(text, longestMessage);
  return std::string(text, length) + (length == longestMessage ? "..." : "");
}

}  // namespace

std::string currentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& error) {
    return messageOf(error);
  } catch (...) {
    return "unknown exception";
  }
}

}  // namespace orv
