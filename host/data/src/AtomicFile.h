// Reading a settings file whole, and replacing it so that a crash at any
// moment leaves the old file or the new one, complete. Errors throw
// SettingsFileError with the operating system's reason.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvini {

// The file for messages, in UTF-8.
std::string shown(const std::filesystem::path& file);

// nullopt when there is no such file.
std::optional<std::string> readFile(const std::filesystem::path& file);

// Makes the folder when it is missing. A read-only file is refused.
void replaceFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace orvini
