#include "SystemModules.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#if !defined(_WIN32)
#include <StringTableResource.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>
#endif

namespace orv::detail {

std::wstring folderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"/\\");
  return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

#if defined(_WIN32)

namespace {
std::wstring moduleFileName(HMODULE module) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

std::string systemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : L"";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) message = L"system error";
  return orvsgutils::StringUtils::toUtf8(message) + " (error " + std::to_string(code) + ")";
}
}  // namespace

std::wstring moduleFileOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module))
    return {};
  return moduleFileName(module);
}

std::wstring executableFile() { return moduleFileName(nullptr); }

HINSTANCE loadModule(const std::wstring& path, bool resourcesOnly, std::string& error) {
  std::wstring full(MAX_PATH, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  full = length > 0 && length < full.size() ? full.substr(0, length) : path;
  // Resources need no code run; a plug-in's own folder is searched first for
  // the libraries it needs, as the host does for its plug-in folders.
  const DWORD flags =
      resourcesOnly ? LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE : LOAD_WITH_ALTERED_SEARCH_PATH;
  // No error boxes from the system loader: the caller reports the failure.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExW(full.c_str(), nullptr, flags);
  const DWORD code = GetLastError();
  SetErrorMode(oldMode);
  if (module == nullptr) error = systemMessage(code);
  return module;
}

void unloadModule(HINSTANCE module) {
  if (module) FreeLibrary(module);
}

void* moduleSymbol(HINSTANCE module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

#else

std::wstring moduleFileOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  return orvsgutils::StringUtils::convert(info.dli_fname);
}

std::wstring executableFile() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  buffer[static_cast<std::size_t>(length)] = '\0';
  return orvsgutils::StringUtils::convert(buffer.data());
}

HINSTANCE loadModule(const std::wstring& path, bool resourcesOnly, std::string& error) {
  // dlopen searches the library folders for a name without a slash; the
  // caller means the file at that path.
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(orvsgutils::PathUtils::toPath(path), ignored);
  if (absolute.empty()) {
    error = "no such file";
    return nullptr;
  }
  void* module = resourcesOnly ? static_cast<void*>(orvOpenStringLibrary(absolute.c_str()))
                               : dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    error = reason ? reason : "dlopen failed";
  }
  return static_cast<HINSTANCE>(module);
}

void unloadModule(HINSTANCE module) { orvCloseLibrary(module); }

void* moduleSymbol(HINSTANCE module, const char* name) { return dlsym(module, name); }

#endif

}  // namespace orv::detail
