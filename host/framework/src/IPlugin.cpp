#include <orv/IPlugin.h>

#include <orv/Preferences.h>

namespace orv {

IPlugin::IPlugin(const wchar_t* id) : id_(GUID::parse(id)) {}

IPlugin::~IPlugin() = default;

const GUID& IPlugin::id() const { return id_; }

std::shared_ptr<Preferences> IPlugin::loadPreferences(std::shared_ptr<ISettingsStore>) {
  return std::make_shared<Preferences>();
}

void IPlugin::savePreferences(std::shared_ptr<ISettingsStore>, std::shared_ptr<Preferences>) {}

std::shared_ptr<Preferences> IPlugin::defaultPreferences() { return std::make_shared<Preferences>(); }

void IPlugin::setParent(HINSTANCE module) { parent_ = module; }

void IPlugin::version(std::wstring& out) const { out = version_; }

void IPlugin::addReleaseDate(const wchar_t* date) { releaseDate_ = date ? date : L""; }

void IPlugin::addVersion(const wchar_t* version) { version_ = version ? version : L""; }

}  // namespace orv
