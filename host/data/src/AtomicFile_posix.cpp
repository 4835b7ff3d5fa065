// The save on Linux and other POSIX systems: flock on the lock file, a new
// file made private and then renamed over the old one, the folder flushed.
#include "AtomicFilePlatform.h"

#include <IniSettingsStore.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace orvini {

namespace {

std::string reason(int error) { return std::generic_category().message(error); }

[[noreturn]] void failWithErrno(const fs::path& file, const std::string& what) {
  const int error = errno;
  fail(file, what + ": " + reason(error));
}

// A lock file takes the settings file's owner and mode: one that root made
// under umask 077 would otherwise lock the file's owner out. Only root may
// give a file away and only its owner change its mode; a lock file that
// cannot be changed locks all the same, so failures are left as they are.
void takeOwnerAndModeOf(int lock, const fs::path& target) {
  struct stat settings {};
  struct stat held {};
  if (::stat(target.c_str(), &settings) != 0 || !S_ISREG(settings.st_mode) || ::fstat(lock, &held) != 0) return;
  if (held.st_uid != settings.st_uid || held.st_gid != settings.st_gid) {
    [[maybe_unused]] const int ignored = ::fchown(lock, settings.st_uid, settings.st_gid);
  }
  const mode_t mode = settings.st_mode & 0666;
  if ((held.st_mode & 07777) != mode) {
    [[maybe_unused]] const int ignored = ::fchmod(lock, mode);
  }
}

void takeOwnerAndMode(const fs::path& file, int fd, uid_t uid, gid_t gid, mode_t mode) {
  // Only root may give a file away; anybody else owns the file anyway.
  if (::fchown(fd, uid, gid) != 0 && errno != EPERM) failWithErrno(file, "cannot be written");
  if (::fchmod(fd, mode) != 0) failWithErrno(file, "cannot be written");
}

}  // namespace

OsHandle::OsHandle(NativeHandle handle) : handle_(handle) {}

OsHandle::~OsHandle() { close(); }

bool OsHandle::valid() const { return handle_ >= 0; }

void OsHandle::reset(NativeHandle handle) {
  close();
  handle_ = handle;
}

bool OsHandle::close() { return handle_ < 0 || ::close(std::exchange(handle_, -1)) == 0; }

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

fs::path settingsRoot() {
  const auto absolute = [](const char* value) { return value != nullptr && value[0] == '/'; };
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); absolute(config)) return config;
  if (const char* home = std::getenv("HOME"); absolute(home)) return fs::path(home) / ".config";
  throw SettingsFileError(
      "No folder for settings files is known: neither XDG_CONFIG_HOME nor HOME is an absolute path");
}

bool sameNameCharacter(fs::path::value_type a, fs::path::value_type b) { return a == b; }

fs::path resolved(const fs::path& file) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(file, error))) return file;
  fs::path target = fs::canonical(file, error);
  if (error) fail(file, "cannot be written: its link leads nowhere: " + error.message());
  return target;
}

std::optional<std::string> readExisting(const fs::path& file, const Deadline&) {
  // Non-blocking, so that a FIFO is refused rather than waited on.
  const OsHandle fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) {
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

// A rename replaces the file in one step: a reader finds the old file or the
// new one, and needs no lock.
std::optional<std::string> readBetweenSaves(const fs::path& file, const Deadline& deadline) {
  return readExisting(file, deadline);
}

FileLock::FileLock(const fs::path& file, const fs::path& target, const Deadline& deadline)
    : file_(file), path_(withSuffix(target, ".lock")), handle_(-1) {
  std::string failure;
  const bool locked = deadline.retry([&] {
    if (!handle_.valid()) {
      // Read-only suffices for flock; non-blocking, so that a FIFO is not
      // waited on; never through a link, which could lead anywhere.
      handle_.reset(::open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0666));
      if (!handle_.valid()) {
        failure =
            errno == ELOOP ? "is a symbolic link, which a lock file may not be" : "cannot be opened: " + reason(errno);
        return true;
      }
      takeOwnerAndModeOf(handle_.get(), target);
    }
    const int error = ::flock(handle_.get(), LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    if (error == EWOULDBLOCK || error == EINTR) return false;
    if (error != 0) {
      failure = "cannot be locked: " + reason(error);
      return true;
    }
    // Removed or replaced while waited for: the one at the path is the lock now.
    if (!stillStands()) {
      handle_.reset(-1);
      return false;
    }
    return true;
  });
  refuseUnlocked(file, path_, locked, failure, deadline);
}

// Closing the lock file releases the lock.
FileLock::~FileLock() = default;

bool FileLock::stillStands() const {
  struct stat held {};
  struct stat atPath {};
  return ::fstat(handle_.get(), &held) == 0 && ::lstat(path_.c_str(), &atPath) == 0 && held.st_dev == atPath.st_dev &&
         held.st_ino == atPath.st_ino;
}

NewFile::NewFile(const fs::path& file, const fs::path& target) : file_(file), target_(target), handle_(-1) {
  struct stat old {};
  replaces_ = ::stat(target.c_str(), &old) == 0;
  if (replaces_) {
    if (!S_ISREG(old.st_mode)) fail(file, "cannot be written: it is not a regular file");
    // The mode bits, not access(2): root could write anyway, yet a file made
    // read-only is meant to stay as it is.
    if ((old.st_mode & S_IWUSR) == 0) fail(file, "is read-only");
    uid_ = old.st_uid;
    gid_ = old.st_gid;
    mode_ = old.st_mode & 07777;
  } else if (errno != ENOENT) {
    failWithErrno(file, "cannot be written");
  }
}

NewFile::~NewFile() {
  handle_.close();
  if (!path_.empty() && !placed_) ::unlink(path_.c_str());
}

void NewFile::write(std::string_view bytes) {
  const fs::path path = tempBeside(target_);
  // Owner-only from its creation, and the file's owner and mode before its
  // first byte: nobody else reads the new contents, nor opens the new file
  // early to read them once written.
  handle_.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, replaces_ ? 0600 : 0666));
  if (!handle_.valid()) failWithErrno(file_, "cannot be written: a new file beside it cannot be made");
  path_ = path;
  if (replaces_) takeOwnerAndMode(file_, handle_.get(), uid_, gid_, mode_);
  while (!bytes.empty()) {
    const ssize_t written = ::write(handle_.get(), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) failWithErrno(file_, "cannot be written");
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::fsync(handle_.get()) != 0) failWithErrno(file_, "cannot be written: flushing to disk failed");
  if (!handle_.close()) failWithErrno(file_, "cannot be written");
}

std::optional<std::string> NewFile::place(const Deadline&) {
  if (::rename(path_.c_str(), target_.c_str()) != 0) failWithErrno(file_, "cannot be replaced");
  placed_ = true;
  // The rename is durable only once the folder is; a file system that cannot
  // flush a folder answers EINVAL and has nothing to flush. The new file is
  // in place all the same: a warning, not a failure.
  const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  const OsHandle directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!directory.valid() || (::fsync(directory.get()) != 0 && errno != EINVAL)) {
    const int error = errno;
    return "was saved, but its folder could not be flushed to disk, so a crash soon could lose the change: " +
           reason(error);
  }
  return std::nullopt;
}

}  // namespace orvini
