#include "Session.h"

#include <orv/IPlugin.h>
#include <orvsgutils/PathUtils.h>

#include <algorithm>
#include <cstdio>

namespace orvhost::validate {

Session::Session(std::filesystem::path module) : module_(std::move(module)), before_(FloatEnvironment::current()) {}

Session::~Session() {
  if (plugin != nullptr) destroy();
  unload();
}

void Session::record(std::string_view verb, Check check, const std::string& reason) {
  // A line of its own, whatever the module left unended on the stream.
  std::string line = "\n" + std::string(recordMarker) + std::string(verb) + " " + std::string(nameOf(check));
  if (!reason.empty()) line += ": " + reason;
  for (std::size_t i = 1; i < line.size(); ++i)
    if (line[i] == '\n' || line[i] == '\r') line[i] = ' ';
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  // Before the next call into the module, which may end the process.
  std::fflush(stdout);
}

void Session::load() {
  library_ = std::make_unique<orv::PluginLibrary>(orvsgutils::PathUtils::fromPath(module_));
  everLoaded_ = true;
  watchEnvironment("loading the module");
}

std::pair<int, orv::IPlugin*> Session::destroy() {
  orv::IPlugin* handed = plugin;
  plugin = nullptr;
  importer = nullptr;
  int answer = 0;
  call("destroyPlugin", [&] { answer = library_->destroyFunction()(&handed); });
  return {answer, handed};
}

void Session::watchEnvironment(const std::string& operation) {
  const std::string changes = before_.changesIn(FloatEnvironment::current());
  if (changes.empty()) return;
  note(environment_, operation + ": " + changes);
  // Each change is told once, by the call that made it.
  before_.restore();
}

void Session::note(Findings& findings, const std::string& finding) {
  if (std::find(findings.begin(), findings.end(), finding) == findings.end()) findings.push_back(finding);
}

}  // namespace orvhost::validate
