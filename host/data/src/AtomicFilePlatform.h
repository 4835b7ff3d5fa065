// What the shared save logic (AtomicFile.cpp) and each platform's half
// (AtomicFile_posix.cpp, AtomicFile_win.cpp) share: the pieces common to
// both, and what each platform supplies.
#pragma once

#include "AtomicFile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace orvini {

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& what);
std::filesystem::path withSuffix(std::filesystem::path file, const std::string& suffix);
// "<target>.<pid>.<random>.tmp": the pid keeps processes apart, the random
// part a process's own stores.
std::filesystem::path tempBeside(const std::filesystem::path& target);

class Deadline;
// Ends the taking of lock for file when it failed: not locked within the
// deadline, or failure (the system's reason) on the way; returns otherwise.
void refuseUnlocked(const std::filesystem::path& file, const std::filesystem::path& lock, bool locked,
                    const std::string& failure, const Deadline& deadline);

// One deadline for a whole save: the lock, the read and the replace all wait
// within it, so that a save never waits longer than it was told.
class Deadline {
 public:
  explicit Deadline(std::chrono::milliseconds wait) : wait_(wait), end_(std::chrono::steady_clock::now() + wait) {}

  std::chrono::milliseconds wait() const { return wait_; }
  bool passed() const { return std::chrono::steady_clock::now() >= end_; }

  // Calls attempt until it answers true (then true) or the deadline passes
  // (then false); at least once. Short sleeps between: others hold the file
  // for milliseconds.
  template <typename Attempt>
  bool retry(Attempt attempt) const {
    std::chrono::microseconds pause(100);
    for (;;) {
      if (attempt()) return true;
      if (passed()) return false;
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::microseconds(1000));
    }
  }

 private:
  std::chrono::milliseconds wait_;
  std::chrono::steady_clock::time_point end_;
};

#if defined(_WIN32)
using NativeHandle = void*;  // HANDLE
#else
using NativeHandle = int;
#endif

// An open file of the system's, closed when the object goes.
class OsHandle {
 public:
  explicit OsHandle(NativeHandle handle);
  ~OsHandle();
  OsHandle(const OsHandle&) = delete;
  OsHandle& operator=(const OsHandle&) = delete;

  NativeHandle get() const { return handle_; }
  bool valid() const;
  // Takes another handle, closing its own first.
  void reset(NativeHandle handle);
  // False when the system reports an error closing it.
  bool close();

 private:
  NativeHandle handle_;
};

// Each platform's own, below.

unsigned long processId();
// The folder a user's settings files go under: %APPDATA% (or the Roaming
// folder), $XDG_CONFIG_HOME or ~/.config. Throws SettingsFileError when none
// is known.
std::filesystem::path settingsRoot();
// Whether two characters of a file name name the same (Windows folds ASCII case).
bool sameNameCharacter(std::filesystem::path::value_type a, std::filesystem::path::value_type b);
// Through a link, the file it names; the file itself otherwise.
std::filesystem::path resolved(const std::filesystem::path& file);
// The file's bytes, nullopt when there is none. On Windows, a program that
// has the file open for writing is waited out within the deadline.
std::optional<std::string> readExisting(const std::filesystem::path& file, const Deadline& deadline);
// As readExisting, for a reader that holds no lock of its own: never in the
// middle of a save's replace.
std::optional<std::string> readBetweenSaves(const std::filesystem::path& file, const Deadline& deadline);

// An exclusive lock on "<target>.lock", held while the object lives. The
// lock file it holds is the one at that path: one removed or replaced while
// it was waited for is opened again, within the deadline.
class FileLock {
 public:
  FileLock(const std::filesystem::path& file, const std::filesystem::path& target, const Deadline& deadline);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False once the lock file at the path is another one, or gone: the lock
  // held then keeps no other save out.
  bool stillStands() const;

 private:
  std::filesystem::path file_;
  std::filesystem::path path_;
  OsHandle handle_;
};

// The new contents, written beside the target and then put in its place;
// removed unless that happened.
class NewFile {
 public:
  // Refuses a target that is read-only or not a regular file.
  NewFile(const std::filesystem::path& file, const std::filesystem::path& target);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Creates the file, private from its first byte, and writes and flushes it.
  void write(std::string_view bytes);
  // Puts it in the target's place, waiting within the deadline for programs
  // that keep that from happening (Windows). Answers a warning when it is in
  // place but could not be made durable.
  std::optional<std::string> place(const Deadline& deadline);

 private:
  std::filesystem::path file_;
  std::filesystem::path target_;
  std::filesystem::path path_;
  OsHandle handle_;
  bool replaces_ = false;  // the target exists
  bool placed_ = false;
#if defined(_WIN32)
  unsigned long attributes_ = 0;
#else
  unsigned int uid_ = 0, gid_ = 0, mode_ = 0;
#endif
};

}  // namespace orvini
