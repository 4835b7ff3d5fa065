// Reading a settings file whole, and replacing it so that a crash at any
// moment leaves the old file or the new one, complete, and so that writers
// in several processes take turns. Errors throw SettingsFileError with the
// operating system's reason.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvini {

// The file for messages, in UTF-8.
std::string shown(const std::filesystem::path& file);

// nullopt when there is no such file. A path that names a folder, or ends in
// a path separator, is refused. On Windows the file is read without sharing
// its writing, so that a file another program is rewriting is never read
// half-written, and under a shared lock on its lock file, so that it is never
// read in the middle of a save's replace: both are waited for, at most wait.
std::optional<std::string> readFile(const std::filesystem::path& file, std::chrono::milliseconds wait);

// Is handed the file's bytes as they are now (nullopt: there is no file) and
// answers the bytes to put in their place (nullopt: leave the file as it is).
// It may be called again, with the file as it then stands, when the lock was
// lost before the replace.
using Update = std::function<std::optional<std::string>(const std::optional<std::string>& bytes)>;

// Holding the file's lock, reads it, hands it to update and replaces it with
// what that answers. Everything waits within the one lockWait: the lock, and
// on Windows programs that keep the file from being read or replaced.
//
// The lock is an exclusive lock on "<name>.lock" beside the file (flock on
// Linux, LockFileEx of its first byte on Windows); it belongs to the open
// lock file, so a writer that dies releases it. The lock file is checked to
// be still the one at its path once locked and again just before the
// replace: when someone removed or replaced it meanwhile, the save locks the
// new one and starts again. It takes the file's owner and mode (Linux) and is
// never opened through a symbolic link.
//
// The new file is private from its first byte: on Linux it has the file's
// owner and mode before any byte is written. On Windows ReplaceFileW puts it
// in place, keeping the file's ACL, owner and streams.
//
// A link is followed: the file it names is replaced and the link stays. A
// path that names a folder or ends in a path separator is refused before
// anything is made; a missing folder is made; a read-only file is refused;
// leftovers of killed writers ("<name>.<pid>.<n>.tmp") are removed. Answers a
// warning when the new file is in place but could not be made durable.
std::optional<std::string> updateFile(const std::filesystem::path& file, std::chrono::milliseconds lockWait,
                                      const Update& update);

}  // namespace orvini
