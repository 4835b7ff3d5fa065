#include "AtomicFile.h"

#include "Utf.h"

#include <IniSettingsStore.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace orvini {

namespace {

[[noreturn]] void fail(const fs::path& file, const std::string& what) {
  throw SettingsFileError("Settings file \"" + shown(file) + "\" " + what);
}

fs::path withSuffix(fs::path file, const std::string& suffix) {
  file += suffix;
  return file;
}

// The pid keeps processes apart, the random part a process's own stores.
fs::path tempBeside(const fs::path& target) {
#if defined(_WIN32)
  const unsigned long process = GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(::getpid());
#endif
  return withSuffix(target, "." + std::to_string(process) + "." + std::to_string(std::random_device{}()) + ".tmp");
}

// Names as tempBeside makes them for this file; on Windows, without regard to
// ASCII case, since the file may have been named with other letters.
bool isTempOf(const fs::path::string_type& name, const fs::path::string_type& file) {
  using Char = fs::path::value_type;
  const auto same = [](Char a, Char b) {
#if defined(_WIN32)
    const auto lower = [](Char c) { return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
#else
    return a == b;
#endif
  };
  const std::size_t suffix = 4;  // ".tmp"
  if (name.size() < file.size() + 1 + 3 + suffix || !std::equal(file.begin(), file.end(), name.begin(), same)) return false;
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

void makeFolder(const fs::path& file, const fs::path& target) {
  if (!target.has_parent_path()) return;
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) fail(file, "cannot be written: its folder cannot be made: " + error.message());
}

// Short sleeps between attempts: a save holds the lock for milliseconds.
template <typename Attempt>
bool retryUntil(std::chrono::milliseconds wait, Attempt attempt) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::chrono::microseconds pause(100);
  for (;;) {
    if (attempt()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(1000));
  }
}

[[noreturn]] void lockTimedOut(const fs::path& file, const fs::path& lock, std::chrono::milliseconds wait) {
  fail(file, "cannot be written: another program kept its lock file \"" + shown(lock) + "\" locked for " +
                 std::to_string(wait.count()) + " ms; nothing was changed");
}

#if defined(_WIN32)

std::string reason(DWORD error) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer,
                                static_cast<DWORD>(std::size(buffer)), nullptr);
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' || buffer[length - 1] == L'.' ||
                        buffer[length - 1] == L' '))
    --length;
  const std::string text = utf8FromWide(std::wstring_view(buffer, length)).value_or(std::string());
  return (text.empty() ? std::string("system error") : text) + " (" + std::to_string(error) + ")";
}

[[noreturn]] void failWithLastError(const fs::path& file, const std::string& what) {
  const DWORD error = GetLastError();
  fail(file, what + ": " + reason(error));
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  bool close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
  }

 private:
  HANDLE handle_;
};

class Lock {
 public:
  Lock(const fs::path& file, const fs::path& target, std::chrono::milliseconds wait)
      : path_(withSuffix(target, ".lock")),
        handle_(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_.get() == INVALID_HANDLE_VALUE)
      failWithLastError(file, "cannot be written: its lock file \"" + shown(path_) + "\" cannot be opened");
    DWORD error = ERROR_SUCCESS;
    const bool locked = retryUntil(wait, [&] {
      OVERLAPPED at{};
      error = LockFileEx(handle_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)
                  ? ERROR_SUCCESS
                  : GetLastError();
      return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
    });
    if (!locked) lockTimedOut(file, path_, wait);
    if (error != ERROR_SUCCESS)
      fail(file, "cannot be written: its lock file \"" + shown(path_) + "\" cannot be locked: " + reason(error));
  }
  // Unlocked at once: a lock left to CloseHandle may outlive the handle.
  ~Lock() {
    OVERLAPPED at{};
    UnlockFileEx(handle_.get(), 0, 1, 0, &at);
  }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  fs::path path_;
  Handle handle_;
};

// The new file, removed unless it took the target's place.
class TempFile {
 public:
  // With the replaced file's attributes, so that a hidden file stays hidden.
  TempFile(const fs::path& file, const fs::path& target, DWORD attributes)
      : file_(file),
        target_(target),
        path_(tempBeside(target)),
        handle_(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr)) {
    if (handle_.get() == INVALID_HANDLE_VALUE)
      failWithLastError(file_, "cannot be written: a new file beside it cannot be made");
  }
  ~TempFile() {
    handle_.close();
    if (!placed_) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_.get(), bytes.data(), chunk, &written, nullptr)) failWithLastError(file_, "cannot be written");
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_.get())) failWithLastError(file_, "cannot be written: flushing to disk failed");
    if (!handle_.close()) failWithLastError(file_, "cannot be written");
  }
  // A program reading the file without sharing its deletion keeps it from
  // being replaced for that moment; under Wine, any program that has it open.
  void place(std::chrono::milliseconds wait) {
    DWORD error = ERROR_SUCCESS;
    retryUntil(wait, [&] {
      error = MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                  ? ERROR_SUCCESS
                  : GetLastError();
      return error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION;
    });
    if (error != ERROR_SUCCESS) fail(file_, "cannot be replaced: " + reason(error));
    placed_ = true;
  }

 private:
  fs::path file_;
  fs::path target_;
  fs::path path_;
  Handle handle_;
  bool placed_ = false;
};

// Through a link, the file it names; the file itself otherwise. Asked of
// every existing file, since Wine shows a Unix link as a plain file.
fs::path resolved(const fs::path& file) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return file;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const Handle handle(CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) {
    if (link) failWithLastError(file, "cannot be written: its link leads nowhere");
    return file;
  }
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) {
      if (link) failWithLastError(file, "cannot be written: where its link leads cannot be found");
      return file;
    }
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) break;
  }
  // "\\?\C:\..." as a plain path; a network path keeps its prefix.
  if (path.size() > 6 && path.compare(0, 4, L"\\\\?\\") == 0 && path[5] == L':') path.erase(0, 4);
  return path;
}

void placeFile(const fs::path& file, const fs::path& target, std::string_view bytes, std::chrono::milliseconds wait,
               std::optional<std::string>*) {
  constexpr DWORD kept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail(file, "cannot be written: " + reason(error));
    attributes = FILE_ATTRIBUTE_NORMAL;
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    fail(file, "cannot be written: it is a folder");
  } else if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    fail(file, "is read-only");
  } else {
    attributes &= kept;
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  }
  TempFile temp(file, target, attributes);
  temp.write(bytes);
  temp.place(wait);
}

#else

std::string reason(int error) { return std::generic_category().message(error); }

[[noreturn]] void failWithErrno(const fs::path& file, const std::string& what) {
  const int error = errno;
  fail(file, what + ": " + reason(error));
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool close() { return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// Held while the descriptor is open.
class Lock {
 public:
  Lock(const fs::path& file, const fs::path& target, std::chrono::milliseconds wait)
      : path_(withSuffix(target, ".lock")),
        // Read-only suffices for flock; non-blocking, so a FIFO is not waited on.
        fd_(::open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666)) {
    if (fd_.get() < 0) failWithErrno(file, "cannot be written: its lock file \"" + shown(path_) + "\" cannot be opened");
    int error = 0;
    const bool locked = retryUntil(wait, [&] {
      error = ::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
      return error != EWOULDBLOCK && error != EINTR;
    });
    if (!locked) lockTimedOut(file, path_, wait);
    if (error != 0)
      fail(file, "cannot be written: its lock file \"" + shown(path_) + "\" cannot be locked: " + reason(error));
  }

 private:
  fs::path path_;
  Descriptor fd_;
};

// The new file, removed unless it took the target's place.
class TempFile {
 public:
  // Made as any new file would be; a replaced file's mode is copied later.
  TempFile(const fs::path& file, const fs::path& target)
      : file_(file),
        target_(target),
        path_(tempBeside(target)),
        fd_(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)) {
    if (fd_.get() < 0) failWithErrno(file_, "cannot be written: a new file beside it cannot be made");
  }
  ~TempFile() {
    fd_.close();
    if (!placed_) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void write(std::string_view bytes, const struct stat* old) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_.get(), bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) failWithErrno(file_, "cannot be written");
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (old != nullptr) {
      // Only root may give a file away; anybody else owns the file anyway.
      if (::fchown(fd_.get(), old->st_uid, old->st_gid) != 0 && errno != EPERM) failWithErrno(file_, "cannot be written");
      if (::fchmod(fd_.get(), old->st_mode & 07777) != 0) failWithErrno(file_, "cannot be written");
    }
    if (::fsync(fd_.get()) != 0) failWithErrno(file_, "cannot be written: flushing to disk failed");
    if (!fd_.close()) failWithErrno(file_, "cannot be written");
  }
  void place() {
    if (::rename(path_.c_str(), target_.c_str()) != 0) failWithErrno(file_, "cannot be replaced");
    placed_ = true;
  }

 private:
  fs::path file_;
  fs::path target_;
  fs::path path_;
  Descriptor fd_;
  bool placed_ = false;
};

fs::path resolved(const fs::path& file) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(file, error))) return file;
  fs::path target = fs::canonical(file, error);
  if (error) fail(file, "cannot be written: its link leads nowhere: " + error.message());
  return target;
}

void placeFile(const fs::path& file, const fs::path& target, std::string_view bytes, std::chrono::milliseconds,
               std::optional<std::string>* warning) {
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) fail(file, "cannot be written: it is not a regular file");
    // The mode bits, not access(2): root could write anyway, yet a file made
    // read-only is meant to stay as it is.
    if ((old.st_mode & S_IWUSR) == 0) fail(file, "is read-only");
  } else if (errno != ENOENT) {
    failWithErrno(file, "cannot be written");
  }

  TempFile temp(file, target);
  temp.write(bytes, exists ? &old : nullptr);
  temp.place();

  // The rename is durable only once the folder is; a file system that cannot
  // flush a folder answers EINVAL and has nothing to flush. The new file is
  // in place all the same: a warning, not a failure.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() < 0 || (::fsync(directory.get()) != 0 && errno != EINVAL)) {
    const int error = errno;
    *warning = "was saved, but its folder could not be flushed to disk, so a crash soon could lose the change: " +
               reason(error);
  }
}

#endif

}  // namespace

std::string shown(const fs::path& file) { return file.u8string(); }

#if defined(_WIN32)

std::optional<std::string> readFile(const fs::path& file) {
  Handle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      fail(file, "cannot be read: it is a folder");
    fail(file, "cannot be read: " + reason(error));
  }
  if (GetFileType(handle.get()) != FILE_TYPE_DISK) fail(file, "cannot be read: it is not a file on disk");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(handle.get(), buffer, sizeof buffer, &read, nullptr)) failWithLastError(file, "cannot be read");
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

#else

std::optional<std::string> readFile(const fs::path& file) {
  // Non-blocking, so that a FIFO is refused rather than waited on.
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    failWithErrno(file, "cannot be read");
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) failWithErrno(file, "cannot be read");
  if (S_ISDIR(status.st_mode)) fail(file, "cannot be read: it is a folder");
  if (!S_ISREG(status.st_mode)) fail(file, "cannot be read: it is not a regular file");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t read = ::read(fd.get(), buffer, sizeof buffer);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) failWithErrno(file, "cannot be read");
    if (read == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(read));
  }
}

#endif

std::optional<std::string> updateFile(const fs::path& file, std::chrono::milliseconds lockWait, const Update& update) {
  const fs::path target = resolved(file);
  makeFolder(file, target);
  const Lock lock(file, target, lockWait);
  removeLeftovers(target);
  const std::optional<std::string> bytes = update(readFile(file));
  std::optional<std::string> warning;
  if (bytes) placeFile(file, target, *bytes, lockWait, &warning);
  return warning;
}

}  // namespace orvini
