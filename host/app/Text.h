// orvhost's text is UTF-8, from the command line to what it prints; plug-ins
// and the SDK speak wide text. This is the one place where one becomes the
// other.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvhost {

// For showing: wide text as UTF-8 (null: empty). What UTF-8 cannot hold,
// such as a lone surrogate, shows as U+FFFD.
std::string utf8(const std::wstring& text);
std::string utf8(const wchar_t* text);
std::string utf8(const std::filesystem::path& path);

// A command-line argument, kept whole both ways, so that any file name
// reaches the file it names. On Windows the wide command line becomes UTF-8
// in which a lone surrogate, which a Windows file name may hold, is the three
// bytes of its code point, as UTF-8 would write it were it a character; on
// Linux an argument is the file name's own bytes (see PathUtils).
std::string argument(std::wstring_view text);
std::wstring wide(const std::string& argument);

}  // namespace orvhost
