// The framework's few calls into the system's module loader.
#pragma once

#include <windows.h>

#include <string>

namespace orv::detail {

// The file of the module that holds address (the framework itself, say).
std::wstring moduleFileOf(const void* address);
// The running program's file.
std::wstring executableFile();
// The folder part of a path, without its trailing separator.
std::wstring folderOf(const std::wstring& path);
// Loads a module; null on failure, with the system's reason in error.
HINSTANCE loadModule(const std::wstring& path, bool resourcesOnly, std::string& error);
void unloadModule(HINSTANCE module);
void* moduleSymbol(HINSTANCE module, const char* name);

}  // namespace orv::detail
