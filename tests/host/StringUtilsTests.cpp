#include <orvsgutils/StringUtils.h>

#include <gtest/gtest.h>

#include <string>

using orvsgutils::StringUtils;

namespace {

std::string hex(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += std::to_string(static_cast<unsigned long>(c)) + " ";
  return out;
}

}  // namespace

// The expected wide texts come from the compiler's own encoding of the
// literals: UTF-16 on Windows, UTF-32 on Linux.
TEST(StringUtils, ConvertsWellFormedUtf8) {
  struct Case {
    const char* utf8;
    std::wstring wide;
  };
  const Case cases[] = {
      {"", L""},
      {"Read Solids 123 {}~", L"Read Solids 123 {}~"},
      {"\x7F", L"\x7F"},
      {"\xC2\x80", L"\u0080"},
      {"\xC3\xA9", L"\u00E9"},
      {"\xDF\xBF", L"\u07FF"},
      {"\xE0\xA0\x80", L"\u0800"},
      {"\xE2\x82\xAC", L"\u20AC"},
      {"\xED\x9F\xBF", L"\uD7FF"},
      {"\xEE\x80\x80", L"\uE000"},
      {"\xEF\xBF\xBD", L"\uFFFD"},
      {"\xF0\x90\x80\x80", L"\U00010000"},
      {"\xF0\x9F\x98\x80", L"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
      {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z", L"a\u00E9\u20AC\U0001F600z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const std::wstring wide = StringUtils::convert(c.utf8);
    EXPECT_EQ(wide, c.wide) << hex(wide);
    EXPECT_EQ(StringUtils::toUtf8(wide), c.utf8);
  }

  const std::wstring emoji = StringUtils::convert("\xF0\x9F\x98\x80");
  if constexpr (sizeof(wchar_t) == 2) {
    ASSERT_EQ(emoji.size(), 2u);
    EXPECT_EQ(static_cast<unsigned>(emoji[0]), 0xD83Du);
    EXPECT_EQ(static_cast<unsigned>(emoji[1]), 0xDE00u);
  } else {
    ASSERT_EQ(emoji.size(), 1u);
    EXPECT_EQ(static_cast<unsigned long>(emoji[0]), 0x1F600ul);
  }

  EXPECT_EQ(StringUtils::convert(nullptr), L"");
}

// How many U+FFFD a malformed run gives is the converter's choice; what
// must hold is that only U+FFFD stands for it and what follows survives.
TEST(StringUtils, ReplacesMalformedUtf8) {
  struct Case {
    const char* what;
    const char* utf8;
    const wchar_t* before;
    const wchar_t* after;
  };
  const Case cases[] = {
      {"truncated 2-byte at end", "a\xC3", L"a", L""},
      {"truncated 3-byte at end", "\xE2\x82", L"", L""},
      {"truncated 3-byte before ASCII", "\xE2\x82Z", L"", L"Z"},
      {"truncated 4-byte before ASCII", "\xF0\x9F\x98Z", L"", L"Z"},
      {"truncated 4-byte before 2-byte", "\xF0\x9F\xC3\xA9", L"", L"\u00E9"},
      {"overlong 2-byte", "\xC0\xAFx", L"", L"x"},
      {"overlong 2-byte C1", "\xC1\xBFx", L"", L"x"},
      {"overlong 3-byte", "\xE0\x80\xAFx", L"", L"x"},
      {"overlong 3-byte just below U+0800", "\xE0\x9F\xBFx", L"", L"x"},
      {"overlong 4-byte", "\xF0\x8F\xBF\xBFx", L"", L"x"},
      {"lone continuation", "a\x80z", L"a", L"z"},
      {"lone continuation BF", "\xBF", L"", L""},
      {"surrogate U+D800", "\xED\xA0\x80x", L"", L"x"},
      {"surrogate U+DFFF", "\xED\xBF\xBFx", L"", L"x"},
      {"U+110000", "\xF4\x90\x80\x80x", L"", L"x"},
      {"lead F5", "\xF5\x80\x80\x80x", L"", L"x"},
      {"byte FE", "\xFEx", L"", L"x"},
      {"byte FF", "x\xFF", L"x", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring wide = StringUtils::convert(c.utf8);
    const std::wstring before = c.before;
    const std::wstring after = c.after;
    ASSERT_GT(wide.size(), before.size() + after.size()) << hex(wide);
    EXPECT_EQ(wide.substr(0, before.size()), before) << hex(wide);
    EXPECT_EQ(wide.substr(wide.size() - after.size()), after) << hex(wide);
    for (std::size_t i = before.size(); i < wide.size() - after.size(); ++i)
      EXPECT_EQ(static_cast<unsigned long>(wide[i]), 0xFFFDul) << hex(wide);
  }
  // A single stray byte is a single replacement.
  EXPECT_EQ(StringUtils::convert("a\x80z"), L"a\uFFFDz");
}

TEST(StringUtils, ReplacesUnpairedSurrogatesInWideText) {
  struct Case {
    const char* what;
    std::wstring wide;
    const char* utf8;
  };
  const Case cases[] = {
      {"high alone", std::wstring(1, static_cast<wchar_t>(0xD800)), "\xEF\xBF\xBD"},
      {"low alone", std::wstring(1, static_cast<wchar_t>(0xDFFF)), "\xEF\xBF\xBD"},
      {"high at end", L"a" + std::wstring(1, static_cast<wchar_t>(0xDBFF)), "a\xEF\xBF\xBD"},
      {"high then ASCII", std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"z", "\xEF\xBF\xBDz"},
      {"pair reversed",
       std::wstring{static_cast<wchar_t>(0xDE00), static_cast<wchar_t>(0xD83D)},
       "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StringUtils::toUtf8(c.wide), c.utf8);
  }
  if constexpr (sizeof(wchar_t) == 4) {
    EXPECT_EQ(StringUtils::toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
  }
}
