#include "Checks.h"

#include "Text.h"

#include <orv/GUID.h>
#include <orv/IPlugin.h>

#include <string>

namespace orvhost::validate {
namespace {

struct Field {
  const char* operation;
  const char* empty;  // what an empty answer is
  std::wstring (*read)(const orv::IPlugin& plugin);
};

constexpr Field fields[] = {
    {"getName", "the name is empty",
     [](const orv::IPlugin& plugin) {
       const wchar_t* name = plugin.getName();
       return std::wstring(name != nullptr ? name : L"");
     }},
    // The SDK holds the identity as a GUID, always in registry form; one
    // left all zero identifies nothing.
    {"id", "the identity is the nil GUID",
     [](const orv::IPlugin& plugin) {
       const orv::GUID& id = plugin.id();
       return id == orv::GUID{} ? std::wstring() : id.toString();
     }},
    {"version", "the version is empty (addVersion)",
     [](const orv::IPlugin& plugin) {
       std::wstring version;
       plugin.version(version);
       return version;
     }},
    {"releaseDate", "the release date is empty (addReleaseDate)",
     [](const orv::IPlugin& plugin) { return plugin.releaseDate(); }},
};

}  // namespace

Findings checkIdentity(Session& session) {
  Findings findings;
  for (const Field& field : fields) {
    std::wstring answer;
    if (auto thrown = session.call(field.operation, [&] { answer = field.read(*session.plugin); }))
      findings.push_back(*thrown);
    else if (answer.empty())
      findings.push_back(field.empty);
  }
  return findings;
}

}  // namespace orvhost::validate
