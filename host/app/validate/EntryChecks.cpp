#include "Checks.h"

#include <orv/IPlugin.h>
#include <orvimp/IImporter.h>

#include <string>

namespace orvhost::validate {

Findings checkEntryPoints(Session& session) {
  try {
    session.load();
  } catch (const orv::PluginLoadError& error) {
    using Kind = orv::PluginLoadError::Kind;
    const bool unexported = error.kind() == Kind::NoEntryPoints || error.kind() == Kind::NotAPlugin;
    return {std::string(error.what()) + (unexported ? "; both must be exported undecorated (extern \"C\")" : "")};
  }
  orv::IPlugin* made = nullptr;
  int answer = 0;
  // What a createPlugin that threw left behind is not trusted to be whole.
  if (auto thrown = session.call("createPlugin", [&] { answer = session.library()->createFunction()(&made); }))
    return {*thrown};
  Findings findings;
  if (answer != 0) findings.push_back("createPlugin answered " + std::to_string(answer) + ", not 0");
  if (made == nullptr) {
    findings.push_back("createPlugin made no plug-in");
    return findings;
  }
  session.plugin = made;
  auto* importer = dynamic_cast<orvimp::IImporter*>(made);
  if (importer == nullptr) findings.push_back("the plug-in is no importer (orvimp::IImporter)");
  if (auto thrown = session.call("setParent", [&] { made->setParent(session.library()->handle()); }))
    findings.push_back(*thrown);
  if (findings.empty()) session.importer = importer;
  return findings;
}

Findings checkDestroyPlugin(Session& session) {
  const auto [answer, left] = session.destroy();
  Findings findings;
  if (left != nullptr) findings.push_back("destroyPlugin left the caller's pointer set");
  if (answer != 0) findings.push_back("destroyPlugin answered " + std::to_string(answer) + ", not 0");
  // Unloading runs the module's own clean-up: a crash there is this check's.
  session.unload();
  return findings;
}

}  // namespace orvhost::validate
