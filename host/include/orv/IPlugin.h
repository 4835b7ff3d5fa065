#pragma once

#include <orv/Export.h>
#include <orv/GUID.h>

#include <windows.h>

#include <memory>
#include <string>

class ISettingsStore;

namespace orv {

class Preferences;

// The base of every plug-in the host loads. It keeps what all plug-ins share:
// identity, version, release date and the module handle the host gives it.
// The virtual operations stand in this order; plug-ins built against the SDK
// rely on it, so it never changes.
class ORV_FRAMEWORK_API IPlugin {
 public:
  virtual ~IPlugin();

  // The plug-in's display name: static text, never freed by the caller.
  virtual const wchar_t* getName() const = 0;
  // Reserved for future host queries; plug-ins answer false.
  virtual bool reservedQuery() const = 0;
  virtual const GUID& id() const;

  // A plug-in without options answers an empty set and saves nothing.
  virtual std::shared_ptr<Preferences> loadPreferences(std::shared_ptr<ISettingsStore> store);
  virtual void savePreferences(std::shared_ptr<ISettingsStore> store, std::shared_ptr<Preferences> preferences);
  virtual std::shared_ptr<Preferences> defaultPreferences();

  virtual void setParent(HINSTANCE module);
  virtual void version(std::wstring& out) const;

  // Both copy their text; a null text records an empty one.
  void addReleaseDate(const wchar_t* date);
  void addVersion(const wchar_t* version);

  const std::wstring& releaseDate() const { return releaseDate_; }
  HINSTANCE parent() const { return parent_; }

  IPlugin(const IPlugin&) = delete;
  IPlugin& operator=(const IPlugin&) = delete;

 protected:
  // Throws std::invalid_argument when id is not a GUID in registry form.
  explicit IPlugin(const wchar_t* id);

 private:
  GUID id_;
  std::wstring version_;
  std::wstring releaseDate_;
  HINSTANCE parent_ = nullptr;
};

}  // namespace orv
