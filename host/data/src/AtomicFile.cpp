// The save's steps, the same on every platform; what differs lies in
// AtomicFile_posix.cpp and AtomicFile_win.cpp.
#include "AtomicFile.h"

#include "AtomicFilePlatform.h"

#include <IniSettingsStore.h>

#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace orvini {

std::string shown(const fs::path& file) { return file.u8string(); }

void fail(const fs::path& file, const std::string& what) {
  throw SettingsFileError("Settings file \"" + shown(file) + "\" " + what);
}

fs::path withSuffix(fs::path file, const std::string& suffix) {
  file += suffix;
  return file;
}

void refuseUnlocked(const fs::path& file, const fs::path& lock, bool locked, const std::string& failure,
                    const Deadline& deadline) {
  if (!locked)
    fail(file, "cannot be written: another program kept its lock file \"" + shown(lock) + "\" locked for " +
                   std::to_string(deadline.wait().count()) + " ms");
  if (!failure.empty()) fail(file, "cannot be written: its lock file \"" + shown(lock) + "\" " + failure);
}

fs::path tempBeside(const fs::path& target) {
  return withSuffix(target, "." + std::to_string(processId()) + "." + std::to_string(std::random_device{}()) + ".tmp");
}

namespace {

// Names as tempBeside makes them for this file.
bool isTempOf(const fs::path::string_type& name, const fs::path::string_type& file) {
  const std::size_t suffix = 4;  // ".tmp"
  if (name.size() < file.size() + 1 + 3 + suffix ||
      !std::equal(file.begin(), file.end(), name.begin(), sameNameCharacter))
    return false;
  if (name.compare(name.size() - suffix, suffix, fs::path(".tmp").native()) != 0) return false;
  // ".<digits>.<digits>" between them.
  int numbers = 0;
  bool digits = false;
  for (std::size_t i = file.size(); i < name.size() - suffix; ++i) {
    if (name[i] == '.') {
      if (i > file.size() && !digits) return false;
      ++numbers;
      digits = false;
    } else if (name[i] >= '0' && name[i] <= '9' && numbers > 0) {
      digits = true;
    } else {
      return false;
    }
  }
  return numbers == 2 && digits;
}

// What killed writers left: only one holding the lock writes, so any such
// file found then is nobody's.
void removeLeftovers(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (isTempOf(it->path().filename().native(), target.filename().native())) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

// A folder is no settings file: refused before anything is made for it, or
// a save would make the folder and a lock file in it first.
void refuseFolder(const fs::path& file, const std::string& action) {
  if (!file.has_filename())
    fail(file, "cannot be " + action + ": its name ends in a path separator, so it names a folder, not a file");
  std::error_code error;
  if (fs::is_directory(fs::status(file, error))) fail(file, "cannot be " + action + ": it is a folder");
}

// A read-only file is refused before its lock file is made: in a read-only
// folder, making that would fail first and take the blame.
void refuseReadOnly(const fs::path& file, const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
    fail(file, "is read-only");
}

void makeFolder(const fs::path& file, const fs::path& target) {
  if (!target.has_parent_path()) return;
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) fail(file, "cannot be written: its folder cannot be made: " + error.message());
}

}  // namespace

std::optional<std::string> readFile(const fs::path& file, std::chrono::milliseconds wait) {
  refuseFolder(file, "read");
  return readBetweenSaves(file, Deadline(wait));
}

std::optional<std::string> updateFile(const fs::path& file, std::chrono::milliseconds lockWait, const Update& update) {
  refuseFolder(file, "written");
  const fs::path target = resolved(file);
  const Deadline deadline(lockWait);
  refuseReadOnly(file, target);
  makeFolder(file, target);
  for (;;) {
    const FileLock lock(file, target, deadline);
    removeLeftovers(target);
    const std::optional<std::string> bytes = update(readExisting(file, deadline));
    if (!bytes) return std::nullopt;
    NewFile next(file, target);
    next.write(*bytes);
    // Someone removed or replaced the lock file while this save held it: a
    // save that came since may have locked the new one. Lock that, and start
    // again from the file as it then stands.
    if (!lock.stillStands()) {
      if (deadline.passed())
        fail(file, "cannot be written: its lock file \"" + shown(withSuffix(target, ".lock")) +
                       "\" was removed or replaced while this save held it");
      continue;
    }
    return next.place(deadline);
  }
}

}  // namespace orvini
