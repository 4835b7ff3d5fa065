// One module under test, in the child process that checks it: the module and
// the importer it made, every call into them guarded and watched, and the
// records the runner reads.
#pragma once

#include "CheckList.h"
#include "FloatEnvironment.h"

#include <orv/PluginCall.h>
#include <orv/PluginLibrary.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvimp {
class IImporter;
}

namespace orvhost::validate {

// What a check found wrong; nothing when it passes.
using Findings = std::vector<std::string>;

class Session {
 public:
  // Takes the floating-point environment as it is before the module loads.
  explicit Session(std::filesystem::path module);
  // Destroys a plug-in still alive and unloads the module, in that order.
  ~Session();

  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Writes one record for the runner (see recordMarker).
  static void record(std::string_view verb, Check check, const std::string& reason = {});

  // Runs call, which calls into the module, guarded: what it throws is kept
  // for "nothing thrown", and a floating-point environment it leaves changed
  // is kept for its check and put back. Answers nothing when call returned,
  // else "OPERATION threw: MESSAGE".
  template <class Call>
  std::optional<std::string> call(const char* operation, Call&& call) {
    std::optional<std::string> failure = orv::guardedCall(std::forward<Call>(call));
    if (failure) {
      failure = std::string(operation) + " threw: " + *failure;
      note(thrown_, *failure);
    }
    watchEnvironment(operation);
    return failure;
  }

  // After operation took share by value: share has as many owners as before
  // the call. Call it in the call's own full expression, while the copy made
  // for the argument still lives, so that a callee that did not release it
  // is seen.
  template <class T>
  void released(const char* operation, const char* argument, const std::shared_ptr<T>& share, long before) {
    if (share.use_count() != before)
      note(kept_, std::string(operation) + " kept a share of its " + argument + ": owners " + std::to_string(before) +
                      " before the call, " + std::to_string(share.use_count()) + " after it");
  }

  // Loads the module, noting a floating-point environment that loading
  // changed. Throws orv::PluginLoadError.
  void load();
  // Hands the plug-in to the module's destroyPlugin with a pointer of ours;
  // answers what destroyPlugin returned and left in it, and forgets the plug-in.
  std::pair<int, orv::IPlugin*> destroy();
  // Unloads the module; everything it made must be gone.
  void unload() { library_.reset(); }

  const std::filesystem::path& module() const { return module_; }
  const orv::PluginLibrary* library() const { return library_.get(); }
  bool everLoaded() const { return everLoaded_; }

  // The plug-in createPlugin made (kept until destroy), and it as an
  // importer once entry points found it whole.
  orv::IPlugin* plugin = nullptr;
  orvimp::IImporter* importer = nullptr;
  // What the checks learn for the checks after them.
  std::optional<std::pair<std::wstring, std::wstring>> filterTexts;  // dialog filter, group list
  std::vector<std::wstring> extensions;                              // ".ext" of each "*.ext" pattern
  std::optional<std::wstring> acceptedPath;

  // The findings of the checks that span every call.
  const Findings& thrown() const { return thrown_; }
  const Findings& kept() const { return kept_; }
  const Findings& environment() const { return environment_; }

 private:
  void watchEnvironment(const std::string& operation);
  // Adds finding unless an earlier call found the same.
  static void note(Findings& findings, const std::string& finding);

  std::filesystem::path module_;
  FloatEnvironment before_;
  std::unique_ptr<orv::PluginLibrary> library_;
  bool everLoaded_ = false;
  Findings thrown_;
  Findings kept_;
  Findings environment_;
};

}  // namespace orvhost::validate
