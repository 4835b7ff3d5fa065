#pragma once

#include <ISettingsStore.h>
#include <orv/Export.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Why a settings file could not be read or written. what() names the file
// and gives the reason (the operating system's own where there is one).
class ORV_DATA_API SettingsFileError : public std::runtime_error {
 public:
  explicit SettingsFileError(const std::string& message);
  ~SettingsFileError() override;
};

// A settings store kept in an INI file, the form Windows profile files have:
// "[Section]" lines, then "Key=Value" lines, values as decimal 32-bit
// integers. Sections and keys compare without regard to ASCII letter case and
// ignore blanks around them, as GetPrivateProfileIntW does; the first of
// several equal sections or keys is the one used.
//
// Everything the store does not understand stays as it stands, byte for byte:
// comments, blank lines, other sections, foreign keys, malformed lines. A
// malformed value under a key that is read (not a decimal 32-bit integer)
// reads as "nothing stored" and is reported in warnings().
//
// The file is read when the store is opened, and written only by save() (or
// flush()): to a new file beside it that then takes its place, so that a
// crash at any moment leaves either the old file or the new one, complete. A
// file that could not be read is never written.
//
// Several processes may save the same file at once and every change is kept:
// save() locks the file against other stores' saves, reads it again as it
// stands, applies only this store's own changes and writes the result. A
// change is a write of a value that differs from what the store last read or
// saved for that key, or a removal; of two changes to one key, the later save
// wins. Reading waits for no other reader; on Windows, where a replace is
// not one step, it waits for a save in progress. The Windows profile
// functions take no lock: a change written through WritePrivateProfileStringW
// at the moment of a save can be lost.
//
// Encoding: UTF-8 (a byte-order mark is kept), or UTF-16LE with its
// byte-order mark as Windows writes Unicode profile files; a file is written
// back in the encoding it was read in. New files are UTF-8 without a mark,
// which the Windows profile functions read as ANSI: equal for ASCII texts.
// Line ends are kept per line; new lines take the file's first line end (or
// the platform's, for a new file).
class ORV_DATA_API IniSettingsStore : public ISettingsStore {
 public:
  // A value under one of the store's keys that could not be read, or a save
  // that put the new file in place but could not make that durable.
  struct Warning {
    std::filesystem::path file;
    unsigned int line = 0;  // counting from 1; 0 when no line is meant
    std::string message;    // UTF-8, without the file and line
  };

  // Reads the file. A missing file is an empty store (the file, and its
  // folder, are made on the first save). Throws SettingsFileError when the
  // path names a folder or ends in a path separator, or the file exists but
  // cannot be read, or is not text (it holds NUL bytes, or malformed UTF-16).
  // On Windows a program that has the file open for writing is waited for,
  // 5 seconds at most.
  explicit IniSettingsStore(std::filesystem::path file);
  ~IniSettingsStore() override;

  IniSettingsStore(const IniSettingsStore&) = delete;
  IniSettingsStore& operator=(const IniSettingsStore&) = delete;

  // save(), answering false instead of throwing.
  bool flush() override;
  // False, *out untouched, for a null argument, a missing section or key, or
  // a malformed value (which also adds a warning, once per line).
  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override;
  // Removes every line of the key; false when there was none.
  bool removeValue(const wchar_t* section, const wchar_t* key) override;
  // Replaces the value of the key's first line (keeping the key as spelled in
  // the file), or adds the key at the end of its section, or adds the section
  // at the end of the file. False for a null argument, or for a name that
  // would not read back as itself (empty, a line break, a key holding '=' or
  // starting with ';', '#' or '[').
  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override;

  // Writes the store's changes into the file as it stands now, when anything
  // changed since it was read or last saved; the store then holds the file as
  // saved, other processes' changes included. Throws SettingsFileError,
  // leaving the file as it was and the changes unsaved, when the file is
  // read-only, cannot be read again or is no longer text, the new file cannot
  // be written or put in place, or another process kept the file locked for
  // longer than lockWait(). A new file that is in place but whose folder
  // could not be flushed to disk is saved, with a warning.
  void save();

  // How long save() waits for other processes, all told: for their saves,
  // and on Windows for programs that keep the file from being read or
  // replaced a moment. 5 seconds unless set.
  std::chrono::milliseconds lockWait() const;
  void setLockWait(std::chrono::milliseconds wait);

  const std::filesystem::path& file() const { return file_; }
  // True when a change has not been saved yet.
  bool modified() const;
  const std::vector<Warning>& warnings() const;

  // Where a host keeps its settings file by default:
  // %APPDATA%\<application>\<application>.ini on Windows (the Roaming
  // folder when APPDATA is unset or not absolute),
  // $XDG_CONFIG_HOME/<application>/<application>.ini elsewhere, with
  // ~/.config when XDG_CONFIG_HOME is unset or not absolute. Throws
  // SettingsFileError when neither the variable nor a home folder is known,
  // or when application is not a plain folder name.
  static std::filesystem::path defaultFile(const std::string& application);

 private:
  struct Content;

  std::filesystem::path file_;
  std::unique_ptr<Content> content_;
};
