#include "SystemModules.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#if defined(_WIN32)
#include "PeImports.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>
#else
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

struct LocalFreer {
  void operator()(wchar_t* text) const { LocalFree(text); }
};

// The system's text for code with its inserts filled: the module's path for
// %1, empty texts for any other. The text comes from the system alone; the
// path, capped so that no path makes it too long to format, is only ever an
// argument.
std::string systemMessage(DWORD code, const std::wstring& path) {
  constexpr std::size_t shownPath = 1024;
  const std::wstring shown = path.size() <= shownPath ? path : L"..." + path.substr(path.size() - shownPath);
  // A text may name inserts up to %99, and a width or precision of * in one
  // takes the next insert too: every one of them must point at a text.
  static const wchar_t empty[] = L"";
  std::vector<DWORD_PTR> inserts(99 + 2, reinterpret_cast<DWORD_PTR>(empty));
  inserts[0] = reinterpret_cast<DWORD_PTR>(shown.c_str());
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr, code, 0,
      reinterpret_cast<LPWSTR>(&buffer), 0, reinterpret_cast<va_list*>(inserts.data()));
  const std::unique_ptr<wchar_t, LocalFreer> text(buffer);
  std::wstring message = length ? std::wstring(text.get(), length) : L"";
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) message = L"system error";
  return orvsgutils::StringUtils::toUtf8(message) + " (error " + std::to_string(code) + ")";
}

// The absolute form of path, however long; empty on failure.
std::wstring fullPathOf(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  // The current directory may change between the two calls: try again then.
  while (size != 0) {
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length < size) {
      full.resize(length);
      return length == 0 ? std::wstring() : full;
    }
    size = length;
  }
  return {};
}

std::wstring systemFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return {};
  folder.resize(length);
  return folder;
}

// The host's own folder: framework's, where the host libraries and the C++
// runtime that plug-ins share lie. It need not be the program's.
const std::wstring& hostFolder() {
  static const std::wstring folder = folderOf(moduleFileOf(reinterpret_cast<const void*>(&systemFolder)));
  return folder;
}

bool sameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool startsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() && sameText(text.substr(0, prefix.size()), prefix);
}

bool isFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Where a module loaded with the flags below finds the libraries it needs:
// its own folder, the program's, the host's and the system's.
std::vector<std::wstring> searchedFolders(const std::wstring& module) {
  std::vector<std::wstring> folders;
  for (const std::wstring& folder : {folderOf(module), folderOf(executableFile()), hostFolder(), systemFolder()}) {
    bool known = folder.empty();
    for (const std::wstring& listed : folders) known = known || sameText(listed, folder);
    if (!known) folders.push_back(folder);
  }
  return folders;
}

ImportTable importsOf(const std::wstring& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  if (!in) return {{}, "it cannot be opened"};
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return {{}, "it cannot be read"};
  return importedLibraries(bytes.data(), bytes.size());
}

std::wstring fileNameOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"/\\");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

struct MissingLibrary {
  std::wstring name;
  std::wstring neededBy;
};

// A library that module imports, or one found beside it imports in turn, and
// that none of folders holds. The system's libraries are the system's affair.
// The first import table that could not be read whole goes to unreadable.
bool findMissing(const std::wstring& module, const std::vector<std::wstring>& folders, std::vector<std::wstring>& seen,
                 MissingLibrary& missing, std::wstring& unreadable) {
  const std::wstring system = systemFolder();
  const ImportTable imports = importsOf(module);
  if (!imports.error.empty() && unreadable.empty())
    unreadable = fileNameOf(module) + L": " + orvsgutils::StringUtils::convert(imports.error.c_str());
  for (const std::string& import : imports.libraries) {
    const std::wstring name = orvsgutils::StringUtils::convert(import.c_str());
    // API sets are names the system resolves, not files.
    if (startsWith(name, L"api-ms-") || startsWith(name, L"ext-ms-")) continue;
    // A library loaded already is taken by its name.
    if (GetModuleHandleW(name.c_str()) != nullptr) continue;
    std::wstring found;
    for (const std::wstring& folder : folders) {
      if (isFile(folder + L"\\" + name)) {
        found = folder;
        break;
      }
    }
    if (found.empty()) {
      missing = {name, module};
      return true;
    }
    const std::wstring file = found + L"\\" + name;
    bool known = sameText(found, system);
    for (const std::wstring& listed : seen) known = known || sameText(listed, file);
    if (known) continue;
    seen.push_back(file);
    if (findMissing(file, folders, seen, missing, unreadable)) return true;
  }
  return false;
}

// Why a module's libraries could not all be found, or nothing when the files
// do not tell.
std::string missingLibraryReport(const std::wstring& module) {
  const std::vector<std::wstring> folders = searchedFolders(module);
  std::vector<std::wstring> seen;
  MissingLibrary missing;
  std::wstring unreadable;
  if (!findMissing(module, folders, seen, missing, unreadable))
    return unreadable.empty()
               ? std::string()
               : orvsgutils::StringUtils::toUtf8(L"; the libraries it needs could not all be named: " + unreadable);
  std::wstring report = L": it needs " + missing.name;
  if (!sameText(missing.neededBy, module)) report += L" (for " + fileNameOf(missing.neededBy) + L")";
  report += L", which is in none of the folders searched:";
  for (std::size_t i = 0; i < folders.size(); ++i) report += (i == 0 ? L" " : L"; ") + folders[i];
  return orvsgutils::StringUtils::toUtf8(report);
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
  // The search flags below take absolute paths only.
  const std::wstring full = fullPathOf(path);
  if (full.empty()) {
    error = systemMessage(GetLastError(), path);
    return nullptr;
  }
  // A module's libraries come from its own folder, the program's, the host's
  // and the system's, never from the current directory or PATH, where anyone
  // could have put a library of the same name. Resources need no code run.
  static const bool hostFolderAdded = !hostFolder().empty() && AddDllDirectory(hostFolder().c_str()) != nullptr;
  (void)hostFolderAdded;
  const DWORD flags = resourcesOnly ? LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE
                                    : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
  // No error boxes from the system loader: the caller reports the failure.
  // The thread's own mode, so that other threads keep theirs.
  DWORD oldMode = 0;
  const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode) != FALSE;
  HMODULE module = LoadLibraryExW(full.c_str(), nullptr, flags);
  const DWORD code = GetLastError();
  if (quiet) SetThreadErrorMode(oldMode, nullptr);
  if (module == nullptr) {
    error = systemMessage(code, full);
    if (code == ERROR_MOD_NOT_FOUND && !resourcesOnly) error += missingLibraryReport(full);
  }
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
  return orvsgutils::PathUtils::fromBytes(info.dli_fname);
}

std::wstring executableFile() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  buffer[static_cast<std::size_t>(length)] = '\0';
  return orvsgutils::PathUtils::fromBytes(buffer.data());
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
    // The caller shows the path already; the loader's message may start with it.
    const std::string prefix = absolute.native() + ": ";
    if (error.compare(0, prefix.size(), prefix) == 0) error.erase(0, prefix.size());
  }
  return static_cast<HINSTANCE>(module);
}

void unloadModule(HINSTANCE module) { orvCloseLibrary(module); }

void* moduleSymbol(HINSTANCE module, const char* name) { return dlsym(module, name); }

#endif

}  // namespace orv::detail
