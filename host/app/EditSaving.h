// Saving a user's option edits so that only they reach the settings file,
// and telling whether the file then holds them.
//
// A plug-in's savePreferences writes its whole set, and the settings store
// counts the write of a key its file lacked as a change: saving the whole set
// would put every option the user did not touch back as this run read it,
// over what other runs saved in the meantime.
#pragma once

#include "OptionEdits.h"

#include <memory>
#include <string>
#include <vector>

namespace orv {
class IPlugin;
class Preferences;
}  // namespace orv

namespace orvhost {

class Settings;

// An option set from a module, which must have made one: throws
// std::runtime_error when it made none.
std::shared_ptr<orv::Preferences> made(std::shared_ptr<orv::Preferences> set);

// Saves set through plugin into memory before and after applying edits to
// it, and hands settings only the writes that differ: those of the edited
// options. The plug-in still walks its whole set. Nothing reaches the file
// before settings.write(); what the plug-in throws passes through.
void stageEdits(Settings& settings, orv::IPlugin& plugin, const std::shared_ptr<orv::Preferences>& set,
                const std::vector<OptionEdit>& edits);

// Why stored, the set as the file holds it after the save (read back through
// the plug-in), does not hold edit's option as asked holds it; empty when it
// does. Options are matched by name.
std::string unsavedReason(const orv::Preferences& asked, const orv::Preferences& stored, const OptionEdit& edit);

}  // namespace orvhost
