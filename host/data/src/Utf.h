// The strict Unicode conversions the INI settings store needs: it must tell
// text from other bytes, so nothing here guesses.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvini {

// The code point at s[i] into c, moving i past it; false, with i moved one
// byte on, for a malformed sequence.
bool nextUtf8(std::string_view s, std::size_t& i, char32_t& c);
// s with each malformed sequence replaced by U+FFFD, for messages.
std::string validUtf8(std::string_view s);

// nullopt for an unpaired surrogate or a value beyond U+10FFFF.
std::optional<std::string> utf8FromWide(std::wstring_view text);

// nullopt, with the reason in *why, for an odd length, an unpaired surrogate
// or a NUL character; offsets in the reason count from start, where the
// bytes begin in the file.
std::optional<std::string> utf8FromUtf16Le(std::string_view bytes, std::size_t start, std::string* why);
// Malformed UTF-8 becomes U+FFFD.
std::string utf16LeFromUtf8(std::string_view text);

}  // namespace orvini
