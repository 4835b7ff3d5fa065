#include "AtomicFile.h"

#include "Utf.h"

#include <IniSettingsStore.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <system_error>
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
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace orvini {

namespace {

[[noreturn]] void fail(const fs::path& file, const std::string& what) {
  throw SettingsFileError("Settings file \"" + shown(file) + "\" " + what);
}

// The pid keeps processes apart, the random part a process's own stores.
fs::path tempBeside(const fs::path& target) {
#if defined(_WIN32)
  const unsigned long process = GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(::getpid());
#endif
  fs::path temp = target;
  temp += "." + std::to_string(process) + "." + std::to_string(std::random_device{}()) + ".tmp";
  return temp;
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

// The new file, removed unless it took the target's place.
class TempFile {
 public:
  explicit TempFile(const fs::path& target)
      : target_(target),
        path_(tempBeside(target)),
        file_(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (file_.get() == INVALID_HANDLE_VALUE) failed("cannot be written: a new file beside it cannot be made");
  }
  ~TempFile() {
    file_.close();
    if (!placed_) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) failed("cannot be written");
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(file_.get())) failed("cannot be written: flushing to disk failed");
    if (!file_.close()) failed("cannot be written");
  }
  void place() {
    if (!MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      failed("cannot be replaced");
    placed_ = true;
  }

 private:
  [[noreturn]] void failed(const std::string& what) const {
    const DWORD error = GetLastError();
    fail(target_, what + ": " + reason(error));
  }

  fs::path target_;
  fs::path path_;
  Handle file_;
  bool placed_ = false;
};

#else

std::string reason(int error) { return std::generic_category().message(error); }

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

// The new file, removed unless it took the target's place.
class TempFile {
 public:
  // Made as any new file would be; a replaced file's mode is copied later.
  explicit TempFile(const fs::path& target)
      : target_(target),
        path_(tempBeside(target)),
        file_(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)) {
    if (file_.get() < 0) failed("cannot be written: a new file beside it cannot be made");
  }
  ~TempFile() {
    file_.close();
    if (!placed_) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  void write(std::string_view bytes, const struct stat* old) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(file_.get(), bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) failed("cannot be written");
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (old != nullptr) {
      // Only root may give a file away; anybody else owns the file anyway.
      if (::fchown(file_.get(), old->st_uid, old->st_gid) != 0 && errno != EPERM) failed("cannot be written");
      if (::fchmod(file_.get(), old->st_mode & 07777) != 0) failed("cannot be written");
    }
    if (::fsync(file_.get()) != 0) failed("cannot be written: flushing to disk failed");
    if (!file_.close()) failed("cannot be written");
  }
  void place() {
    if (::rename(path_.c_str(), target_.c_str()) != 0) failed("cannot be replaced");
    placed_ = true;
  }

 private:
  [[noreturn]] void failed(const std::string& what) const {
    const int error = errno;
    fail(target_, what + ": " + reason(error));
  }

  fs::path target_;
  fs::path path_;
  Descriptor file_;
  bool placed_ = false;
};

#endif

void makeFolder(const fs::path& file) {
  if (!file.has_parent_path()) return;
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  if (error) fail(file, "cannot be written: its folder cannot be made: " + error.message());
}

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
    if (!ReadFile(handle.get(), buffer, sizeof buffer, &read, nullptr)) {
      const DWORD error = GetLastError();
      fail(file, "cannot be read: " + reason(error));
    }
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

void replaceFile(const fs::path& file, std::string_view bytes) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail(file, "cannot be written: " + reason(error));
    makeFolder(file);
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    fail(file, "cannot be written: it is a folder");
  } else if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    fail(file, "is read-only");
  }
  TempFile temp(file);
  temp.write(bytes);
  temp.place();
}

#else

std::optional<std::string> readFile(const fs::path& file) {
  // Non-blocking, so that a FIFO is refused rather than waited on.
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    const int error = errno;
    if (error == ENOENT) return std::nullopt;
    fail(file, "cannot be read: " + reason(error));
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) {
    const int error = errno;
    fail(file, "cannot be read: " + reason(error));
  }
  if (S_ISDIR(status.st_mode)) fail(file, "cannot be read: it is a folder");
  if (!S_ISREG(status.st_mode)) fail(file, "cannot be read: it is not a regular file");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t read = ::read(fd.get(), buffer, sizeof buffer);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) {
      const int error = errno;
      fail(file, "cannot be read: " + reason(error));
    }
    if (read == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(read));
  }
}

void replaceFile(const fs::path& file, std::string_view bytes) {
  // Through a link, the file it names is replaced and the link stays.
  fs::path target = file;
  std::error_code linkError;
  if (fs::is_symlink(fs::symlink_status(file, linkError))) {
    target = fs::canonical(file, linkError);
    if (linkError) fail(file, "cannot be written: its link leads nowhere: " + linkError.message());
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) fail(file, "cannot be written: it is not a regular file");
    // The mode bits, not access(2): root could write anyway, yet a file made
    // read-only is meant to stay as it is.
    if ((old.st_mode & S_IWUSR) == 0) fail(file, "is read-only");
  } else if (const int error = errno; error != ENOENT) {
    fail(file, "cannot be written: " + reason(error));
  } else {
    makeFolder(target);
  }

  TempFile temp(target);
  temp.write(bytes, exists ? &old : nullptr);
  temp.place();

  // The rename is durable only once the folder is; a file system that cannot
  // flush a folder answers EINVAL and has nothing to flush.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() < 0 || (::fsync(directory.get()) != 0 && errno != EINVAL)) {
    const int error = errno;
    fail(file, "was replaced, but its folder could not be flushed to disk: " + reason(error));
  }
}

#endif

}  // namespace orvini
