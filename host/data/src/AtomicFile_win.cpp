// The save on Windows: LockFileEx on the lock file, the file read without
// sharing its writing, the new file put in its place by ReplaceFileW; other
// programs that keep the file from being read or replaced are waited out.
#include "AtomicFilePlatform.h"

#include "Utf.h"

#include <IniSettingsStore.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <iterator>
#include <memory>
#include <utility>

namespace fs = std::filesystem;

namespace orvini {

namespace {

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

// Another program's hold, not a lack of rights, is what a wait ran out on:
// its name for the user.
[[noreturn]] void heldTooLong(const fs::path& file, const std::string& action, const Deadline& deadline) {
  fail(file, "cannot be " + action + ": another program kept it open for " + std::to_string(deadline.wait().count()) +
                 " ms");
}

// An open that shares nothing fails with a sharing violation only while
// another handle has the file open.
bool heldOpen(const fs::path& file) {
  const OsHandle probe(
      CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

// What the replace is kept from while another program has the file open.
bool keptByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
}

}  // namespace

OsHandle::OsHandle(NativeHandle handle) : handle_(handle) {}

OsHandle::~OsHandle() { close(); }

bool OsHandle::valid() const { return handle_ != INVALID_HANDLE_VALUE; }

void OsHandle::reset(NativeHandle handle) {
  close();
  handle_ = handle;
}

bool OsHandle::close() {
  const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
  return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
}

unsigned long processId() { return GetCurrentProcessId(); }

// File names compare without ASCII case: the file may have been named with
// other letters.
bool sameNameCharacter(fs::path::value_type a, fs::path::value_type b) {
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  return lower(a) == lower(b);
}

// Asked of every existing file, since Wine shows a Unix link as a plain file.
// Absolute in any case: Wine's ReplaceFileW takes the folder for a file of its
// own from the path, and finds none in a bare file name.
fs::path resolved(const fs::path& file) {
  std::error_code error;
  const fs::path absolute = fs::absolute(file, error);
  const fs::path plain = error ? file : absolute;
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return plain;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const OsHandle handle(CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) {
    if (link) failWithLastError(file, "cannot be written: its link leads nowhere");
    return plain;
  }
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) {
      if (link) failWithLastError(file, "cannot be written: where its link leads cannot be found");
      return plain;
    }
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) break;
  }
  // "\\?\C:\..." as a plain path; a network path keeps its prefix.
  if (path.size() > 6 && path.compare(0, 4, L"\\\\?\\") == 0 && path[5] == L':') path.erase(0, 4);
  return path;
}

std::optional<std::string> readExisting(const fs::path& file, const Deadline& deadline) {
  OsHandle handle(INVALID_HANDLE_VALUE);
  DWORD error = ERROR_SUCCESS;
  // Writing is not shared: a file that another program is rewriting in place
  // is waited for, never read half-written.
  const bool opened = deadline.retry([&] {
    handle.reset(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    error = handle.valid() ? ERROR_SUCCESS : GetLastError();
    return error != ERROR_SHARING_VIOLATION;
  });
  if (!opened) heldTooLong(file, "read", deadline);
  if (error != ERROR_SUCCESS) {
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

// ReplaceFileW is not one atomic step (under Wine the file is gone for a
// moment), so a reader that holds no lock could find no file, or fail: it
// takes a shared lock on the lock file, when there is one, and so reads
// between saves. Readers do not keep one another waiting.
std::optional<std::string> readBetweenSaves(const fs::path& file, const Deadline& deadline) {
  fs::path target = file;
  try {
    target = resolved(file);
  } catch (const SettingsFileError&) {
    // A link that leads nowhere: there is no file to read, and no save to wait for.
  }
  const fs::path path = withSuffix(target, ".lock");
  const OsHandle lock(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
  if (!lock.valid()) return readExisting(file, deadline);
  OVERLAPPED at{};
  DWORD error = ERROR_SUCCESS;
  const bool shared = deadline.retry([&] {
    error = LockFileEx(lock.get(), LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) ? ERROR_SUCCESS : GetLastError();
    return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
  });
  if (!shared)
    fail(file, "cannot be read: another program kept its lock file \"" + shown(path) + "\" locked for " +
                   std::to_string(deadline.wait().count()) + " ms");
  if (error != ERROR_SUCCESS) return readExisting(file, deadline);
  // Unlocked at once, read or not: a lock left to CloseHandle may outlive the handle.
  struct Unlock {
    HANDLE handle;
    ~Unlock() {
      OVERLAPPED at{};
      UnlockFileEx(handle, 0, 1, 0, &at);
    }
  } const unlock{lock.get()};
  return readExisting(file, deadline);
}

FileLock::FileLock(const fs::path& file, const fs::path& target, const Deadline& deadline)
    : file_(file), path_(withSuffix(target, ".lock")), handle_(INVALID_HANDLE_VALUE) {
  std::string failure;
  const bool locked = deadline.retry([&] {
    if (!handle_.valid()) {
      // A link itself, never where it leads.
      handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
      if (!handle_.valid()) {
        const DWORD error = GetLastError();
        // A lock file deleted while another save holds it lingers, refusing
        // every open and even its attributes, until that save closes it.
        if (error == ERROR_ACCESS_DENIED && GetFileAttributesW(path_.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_ACCESS_DENIED)
          return false;
        failure = "cannot be opened: " + reason(error);
        return true;
      }
      BY_HANDLE_FILE_INFORMATION information{};
      if (GetFileInformationByHandle(handle_.get(), &information) &&
          (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        failure = "is a symbolic link, which a lock file may not be";
        return true;
      }
    }
    OVERLAPPED at{};
    const DWORD error = LockFileEx(handle_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)
                            ? ERROR_SUCCESS
                            : GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return false;
    if (error != ERROR_SUCCESS) {
      failure = "cannot be locked: " + reason(error);
      return true;
    }
    // Removed or replaced while waited for: the one at the path is the lock now.
    if (!stillStands()) {
      UnlockFileEx(handle_.get(), 0, 1, 0, &at);
      handle_.reset(INVALID_HANDLE_VALUE);
      return false;
    }
    return true;
  });
  refuseUnlocked(file, path_, locked, failure, deadline);
}

// Unlocked at once: a lock left to CloseHandle may outlive the handle.
FileLock::~FileLock() {
  OVERLAPPED at{};
  UnlockFileEx(handle_.get(), 0, 1, 0, &at);
}

// The same file is the same volume and file index.
bool FileLock::stillStands() const {
  const OsHandle atPath(CreateFileW(path_.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION held{};
  BY_HANDLE_FILE_INFORMATION found{};
  return atPath.valid() && GetFileInformationByHandle(handle_.get(), &held) &&
         GetFileInformationByHandle(atPath.get(), &found) && held.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
         held.nFileIndexHigh == found.nFileIndexHigh && held.nFileIndexLow == found.nFileIndexLow;
}

NewFile::NewFile(const fs::path& file, const fs::path& target)
    : file_(file), target_(target), handle_(INVALID_HANDLE_VALUE), attributes_(FILE_ATTRIBUTE_NORMAL) {
  // With the replaced file's attributes, so that a hidden file stays hidden.
  constexpr DWORD kept =
      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
      fail(file, "cannot be written: " + reason(error));
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) fail(file, "cannot be written: it is a folder");
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) fail(file, "is read-only");
  replaces_ = true;
  if ((attributes & kept) != 0) attributes_ = attributes & kept;
}

NewFile::~NewFile() {
  handle_.close();
  if (!path_.empty() && !placed_) DeleteFileW(path_.c_str());
}

void NewFile::write(std::string_view bytes) {
  const fs::path path = tempBeside(target_);
  handle_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes_, nullptr));
  if (!handle_.valid()) failWithLastError(file_, "cannot be written: a new file beside it cannot be made");
  path_ = path;
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle_.get(), bytes.data(), chunk, &written, nullptr))
      failWithLastError(file_, "cannot be written");
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(handle_.get())) failWithLastError(file_, "cannot be written: flushing to disk failed");
  if (!handle_.close()) failWithLastError(file_, "cannot be written");
}

std::optional<std::string> NewFile::place(const Deadline& deadline) {
  // The old file goes to a name of the leftovers' kind, removed below or by
  // the next save: Wine would otherwise move it to a temporary file of its
  // own, and leave that behind whenever the replace fails.
  const fs::path old = tempBeside(target_);
  DWORD error = ERROR_SUCCESS;
  const bool done = deadline.retry([&] {
    // ReplaceFileW keeps the file's ACL, owner and streams, which a move
    // would drop; a move only where there is no file to replace, or no
    // longer one (the old one went to its other name, the new one not in).
    error =
        ReplaceFileW(target_.c_str(), path_.c_str(), old.c_str(), 0, nullptr, nullptr) ? ERROR_SUCCESS : GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
      error = MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                  ? ERROR_SUCCESS
                  : GetLastError();
    return !keptByAnother(error);
  });
  // Failed after the old file went: it comes back.
  if (error != ERROR_SUCCESS) MoveFileExW(old.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH);
  DeleteFileW(old.c_str());
  if (!done && (error == ERROR_SHARING_VIOLATION || heldOpen(target_))) heldTooLong(file_, "replaced", deadline);
  if (error != ERROR_SUCCESS) fail(file_, "cannot be replaced: " + reason(error));
  placed_ = true;
  return std::nullopt;
}

fs::path settingsRoot() {
  std::wstring appData(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
    const bool fits = length < appData.size();
    appData.resize(length);
    if (fits) break;
  }
  if (fs::path(appData).is_absolute()) return appData;
  // The folder APPDATA names when it is set.
  wchar_t* roaming = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &roaming);
  const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owner(roaming, CoTaskMemFree);
  if (FAILED(result))
    throw SettingsFileError(
        "No folder for settings files is known: APPDATA is not an absolute path, and the "
        "Roaming folder cannot be found: " +
        reason(static_cast<DWORD>(result)));
  if (!fs::path(roaming).is_absolute())
    throw SettingsFileError(
        "No folder for settings files is known: neither APPDATA nor the Roaming folder is an "
        "absolute path");
  return roaming;
}

}  // namespace orvini
