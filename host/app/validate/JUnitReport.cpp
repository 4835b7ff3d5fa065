#include "JUnitReport.h"

#include "ExitStatus.h"
#include "Text.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

namespace orvhost::validate {
namespace {

// Text for an attribute: valid UTF-8 (a module's messages need not be),
// markup escaped, and characters XML 1.0 cannot hold at all replaced.
std::string attribute(const std::string& text) {
  const std::string valid = orvsgutils::StringUtils::toUtf8(orvsgutils::StringUtils::convert(text.c_str()));
  std::string escaped;
  for (const char c : valid) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\n': escaped += "&#10;"; break;
      case '\t': escaped += "&#9;"; break;
      default: escaped += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
  return escaped;
}

std::size_t counted(const ModuleResult& result, Outcome outcome) {
  return static_cast<std::size_t>(std::count_if(result.checks.begin(), result.checks.end(),
                                                [outcome](const CheckResult& check) { return check.outcome == outcome; }));
}

std::string counts(std::size_t tests, std::size_t failures, std::size_t skipped) {
  return " tests=\"" + std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"0\" skipped=\"" +
         std::to_string(skipped) + "\"";
}

}  // namespace

void writeJUnit(const std::filesystem::path& file, const std::vector<ModuleResult>& results) {
  std::size_t failures = 0;
  std::size_t skipped = 0;
  std::string suites;
  for (const ModuleResult& result : results) {
    const std::size_t failed = counted(result, Outcome::Fail);
    const std::size_t notRun = counted(result, Outcome::Skip);
    failures += failed;
    skipped += notRun;
    const std::string module = attribute(result.module);
    const std::string className = attribute(utf8(orvsgutils::PathUtils::toPath(wide(result.module)).stem()));
    suites += "  <testsuite name=\"" + module + "\"" + counts(checkCount, failed, notRun) + ">\n";
    for (std::size_t index = 0; index < checkCount; ++index) {
      const CheckResult& check = result.checks[index];
      suites += "    <testcase classname=\"" + className + "\" name=\"" + attribute(std::string(checkNames[index])) + "\"";
      if (check.outcome == Outcome::Pass) {
        suites += "/>\n";
        continue;
      }
      const char* element = check.outcome == Outcome::Fail ? "failure" : "skipped";
      suites += ">\n      <" + std::string(element) + " message=\"" + attribute(check.reason) + "\"/>\n    </testcase>\n";
    }
    suites += "  </testsuite>\n";
  }
  const std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"orvhost validate\"" +
                               counts(results.size() * checkCount, failures, skipped) + ">\n" + suites +
                               "</testsuites>\n";
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << document;
  out.close();
  if (!out) {
    const int error = errno;
    throw HostError(ExitStatus::Failure,
                    "the JUnit report \"" + utf8(file) + "\" cannot be written: " +
                        (error != 0 ? std::error_code(error, std::generic_category()).message() : "the system gives no reason"));
  }
}

}  // namespace orvhost::validate
