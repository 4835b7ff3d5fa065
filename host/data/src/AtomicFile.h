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

// nullopt when there is no such file.
std::optional<std::string> readFile(const std::filesystem::path& file);

// Is handed the file's bytes as they are now (nullopt: there is no file) and
// answers the bytes to put in their place (nullopt: leave the file as it is).
using Update = std::function<std::optional<std::string>(const std::optional<std::string>& bytes)>;

// Holding the file's lock, reads it, hands it to update and replaces it with
// what that answers. The lock is an exclusive lock on "<name>.lock" beside
// the file (flock on Linux, LockFileEx of its first byte on Windows), waited
// for at most lockWait; it belongs to the open lock file, so a writer that
// dies releases it. On Windows, a file that another program keeps from being
// replaced is tried again for as long. A link is followed: the file it names is replaced and the
// link stays. The folder is made when it is missing, a read-only file is
// refused, and leftovers of killed writers ("<name>.<pid>.<n>.tmp") are
// removed. Answers a warning when the new file is in place but could not be
// made durable.
std::optional<std::string> updateFile(const std::filesystem::path& file, std::chrono::milliseconds lockWait,
                                      const Update& update);

}  // namespace orvini
