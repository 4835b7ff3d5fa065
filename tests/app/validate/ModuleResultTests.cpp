// How the runner reads a check process's records: whatever the module
// itself writes is passed over, and an end after every check was told is
// pinned on the last one (an end in the middle, a crash: Validate.cmake).
#include "validate/ModuleResult.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvhost::validate;

std::string record(const std::string& text, const char* end = "\n") {
  return "\n" + std::string(recordMarker) + text + end;
}

// One letter per check, P, F or S, in the checks' order.
std::string letters(const ModuleResult& result) {
  std::string shown;
  for (const auto& check : result.checks) shown += nameOf(check.outcome).text[0];
  return shown;
}

TEST(ModuleResult, ReadsRecordsAndPinsAnEarlyEnd) {
  std::string allPassed;
  for (std::string_view name : checkNames) allPassed += record("PASS " + std::string(name));
  struct Case {
    const char* what;
    std::string output;
    std::string ending;
    const char* letters;
    std::size_t check;   // whose reason is looked at
    const char* reason;
  } cases[] = {
      {"the module's own output between records", "chatter" + record("PASS entry points") + "no line end" +
           record("FAIL identity: the name is empty", "\r\n") + "more chatter\n", "",
       "PFSSSSSSSSSS", 1, "the name is empty"},
      {"an end after every check was told", allPassed, "status 3", "PPPPPPPPFPPP", 8, "status 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ModuleResult result = resultOf("m", c.output, c.ending);
    ASSERT_EQ(result.checks.size(), checkCount);
    EXPECT_EQ(letters(result), c.letters);
    EXPECT_EQ(result.checks[c.check].reason, c.reason);
  }
}

}  // namespace
