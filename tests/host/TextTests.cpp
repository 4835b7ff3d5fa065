#include <orv/FilePath.h>
#include <orv/GUID.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using orvsgutils::PathUtils;
using orvsgutils::StringUtils;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(Guid, ParsesEitherCaseAndRoundTripsInUpperCase) {
  const orv::GUID id = orv::GUID::parse(L"{0123abcd-4567-89eF-FeDc-bA9876543210}");
  EXPECT_EQ(id.data1, 0x0123ABCDu);
  EXPECT_EQ(id.data2, 0x4567u);
  EXPECT_EQ(id.data3, 0x89EFu);
  EXPECT_THAT(id.data4, ElementsAre(0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10));
  EXPECT_EQ(id.toString(), L"{0123ABCD-4567-89EF-FEDC-BA9876543210}");

  // Every field keeps its leading zeros.
  const orv::GUID small{0xF, 0xFFFF, 0x0A0, {0x00, 0xFF, 0x01, 0x80, 0x7F, 0x10, 0x0E, 0xE0}};
  EXPECT_EQ(small.toString(), L"{0000000F-FFFF-00A0-00FF-01807F100EE0}");
  EXPECT_EQ(orv::GUID::parse(small.toString().c_str()), small);
}

TEST(Guid, RefusesTextNotInRegistryForm) {
  const wchar_t* const texts[] = {
      L"",
      L"{0123ABCD-4567-89EF-FEDC-BA987654321}",    // one digit short
      L"{0123ABCD-4567-89EF-FEDC-BA98765432100}",  // one digit long
      L"(0123ABCD-4567-89EF-FEDC-BA9876543210)",
      L"{0123ABCD-4567-89EF-FEDC-BA9876543210 ",
      // Each hyphen replaced in turn.
      L"{0123ABCD04567-89EF-FEDC-BA9876543210}",
      L"{0123ABCD-4567089EF-FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF0FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF-FEDC0BA9876543210}",
      // Characters just beside the hex ranges, and ones a lenient number parser takes.
      L"{0123ABCG-4567-89EF-FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF-FEDC-BA987654321g}",
      L"{0123ABCD-4567-89EF-FEDC-BA98765432:0}",
      L"{0123ABCD-4567-89EF-FEDC-BA98765432@0}",
      L"{0123ABCD-4567-89EF-FEDC-BA98765432\uFF10\uFF10}",
      L"{+123ABCD-4567-89EF-FEDC-BA9876543210}",
  };
  for (const wchar_t* text : texts) {
    const std::string shown = StringUtils::toUtf8(text);
    SCOPED_TRACE(shown);
    try {
      orv::GUID::parse(text);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_THAT(error.what(), HasSubstr("\"" + shown + "\""));
    }
  }
  EXPECT_THROW(orv::GUID::parse(nullptr), std::invalid_argument);
}

TEST(FilePath, ExtensionComesFromTheFileNameOnly) {
  const struct {
    const wchar_t *path, *fileName, *ext;
  } cases[] = {
      {L"C:\\parts\\gear.sldprt", L"gear.sldprt", L".sldprt"},
      {L"/x/archive.tar.gz", L"archive.tar.gz", L".gz"},
      {L"noext", L"noext", L""},
      {L"C:\\a.b\\file", L"file", L""},
      {L"C:\\a.b/file", L"file", L""},
      {L"C:/a.b/c\\file.x", L"file.x", L".x"},
      {L".sldprt", L".sldprt", L".sldprt"},
      {L"file.", L"file.", L"."},
      {L"C:\\parts.d\\", L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(StringUtils::toUtf8(c.path));
    const orv::FilePath path(c.path);
    EXPECT_EQ(path.getPath(), c.path);
    EXPECT_EQ(path.getFileName(), c.fileName);
    EXPECT_EQ(path.getExt(), c.ext);
  }
  const orv::FilePath null(nullptr);
  EXPECT_EQ(null.getPath() + null.getFileName() + null.getExt(), L"");
}

// The expected wide texts are the compiler's own encoding of the literals:
// UTF-16 on Windows, UTF-32 on Linux.
TEST(StringUtils, ConvertsWellFormedUtf8BothWays) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"", L""},
      {"\xC2\x80", L"\u0080"},
      {"\xE0\xA0\x80", L"\u0800"},
      {"\xED\x9F\xBF", L"\uD7FF"},
      {"\xF0\x90\x80\x80", L"\U00010000"},
      {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
      {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z", L"a\u00E9\u20AC\U0001F600z"},
  };
  for (const auto& [utf8, wide] : cases) {
    SCOPED_TRACE(utf8);
    EXPECT_EQ(StringUtils::convert(utf8), wide);
    EXPECT_EQ(StringUtils::toUtf8(wide), utf8);
  }
  // The literals cannot vouch for the surrogate pair: check its units.
  const std::wstring emoji = StringUtils::convert("\xF0\x9F\x98\x80");
  const std::vector<unsigned long> units(emoji.begin(), emoji.end());
  const std::vector<unsigned long> expected =
      sizeof(wchar_t) == 2 ? std::vector<unsigned long>{0xD83D, 0xDE00} : std::vector<unsigned long>{0x1F600};
  EXPECT_EQ(units, expected);
  EXPECT_EQ(StringUtils::convert(nullptr), L"");
}

TEST(StringUtils, ReplacesMalformedUtf8) {
  // How many U+FFFD a malformed run gives is the converter's choice: count a run as one.
  const auto collapsed = [](std::wstring text) {
    const auto bothReplacements = [](wchar_t a, wchar_t b) { return a == b && a == L'\uFFFD'; };
    text.erase(std::unique(text.begin(), text.end(), bothReplacements), text.end());
    return text;
  };
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"a\xC3", L"a\uFFFD"},                  // truncated at the end
      {"\xE2\x82Z", L"\uFFFDZ"},              // truncated before ASCII
      {"\xF0\x9F\xC3\xA9", L"\uFFFD\u00E9"},  // truncated before a 2-byte character
      {"\xC0\xAFx", L"\uFFFDx"},              // overlong 2-byte
      {"\xE0\x9F\xBFx", L"\uFFFDx"},          // overlong 3-byte
      {"\xF0\x8F\xBF\xBFx", L"\uFFFDx"},      // overlong 4-byte
      {"\xED\xA0\x80x", L"\uFFFDx"},          // surrogate
      {"\xF4\x90\x80\x80x", L"\uFFFDx"},      // beyond U+10FFFF
      {"a\x80z", L"a\uFFFDz"},                // lone continuation
      {"x\xFF", L"x\uFFFD"},                  // never valid
  };
  for (const auto& [utf8, wide] : cases) EXPECT_EQ(collapsed(StringUtils::convert(utf8)), wide) << utf8;
  // A single stray byte is a single replacement.
  EXPECT_EQ(StringUtils::convert("a\x80z"), L"a\uFFFDz");
}

TEST(StringUtils, ReplacesUnpairedSurrogatesInWideText) {
  const auto unit = [](unsigned value) { return std::wstring(1, static_cast<wchar_t>(value)); };
  const std::pair<std::wstring, const char*> cases[] = {
      {unit(0xDFFF), "\xEF\xBF\xBD"},                             // low alone
      {L"a" + unit(0xDBFF), "a\xEF\xBF\xBD"},                     // high at the end
      {unit(0xD83D) + L"z", "\xEF\xBF\xBDz"},                     // high, then no low
      {unit(0xDE00) + unit(0xD83D), "\xEF\xBF\xBD\xEF\xBF\xBD"},  // pair reversed
  };
  for (const auto& [wide, utf8] : cases) EXPECT_EQ(StringUtils::toUtf8(wide), utf8) << testing::PrintToString(wide);
  if constexpr (sizeof(wchar_t) == 4) {
    EXPECT_EQ(StringUtils::toUtf8(unit(0x110000)), "\xEF\xBF\xBD");
  }
}

// A path keeps every byte on its way through wide text: a Linux file name
// need not be UTF-8. Bytes that are not become U+DC80..U+DCFF and come back.
TEST(PathUtils, PathsKeepEveryByteThroughWideText) {
  const auto escaped = [](unsigned byte) { return std::wstring(1, static_cast<wchar_t>(0xDC00 + byte)); };
  const std::pair<std::string, std::wstring> cases[] = {
      {"caf\xC3\xA9", L"caf\u00E9"},
      {"\xF0\x9F\x98\x80", L"\U0001F600"},
      // Latin-1; truncated; overlong; a surrogate; beyond U+10FFFF.
      {"caf\xE9.sldprt", L"caf" + escaped(0xE9) + L".sldprt"},
      {"\xE2\x82Z", escaped(0xE2) + escaped(0x82) + L"Z"},
      {"\xC0\xAF", escaped(0xC0) + escaped(0xAF)},
      {"\xED\xA0\x80", escaped(0xED) + escaped(0xA0) + escaped(0x80)},
      {"\xF4\x90\x80\x80", escaped(0xF4) + escaped(0x90) + escaped(0x80) + escaped(0x80)},
      {"\xFF\xC3\xA9", escaped(0xFF) + L"\u00E9"},
  };
  for (const auto& [bytes, wide] : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(PathUtils::fromBytes(bytes), wide);
    EXPECT_EQ(PathUtils::toBytes(wide), bytes);
#if !defined(_WIN32)
    EXPECT_EQ(PathUtils::fromPath(bytes), wide);
    EXPECT_EQ(PathUtils::toPath(wide).native(), bytes);
#endif
  }
  // Every byte alone and after a lead byte that it may or may not continue.
  for (unsigned byte = 1; byte < 256; ++byte) {
    const std::string alone(1, static_cast<char>(byte));
    for (const std::string& bytes : {alone, "\xE2" + alone})
      EXPECT_EQ(PathUtils::toBytes(PathUtils::fromBytes(bytes)), bytes) << byte;
  }
  // Wide text that bytes cannot carry.
  EXPECT_EQ(PathUtils::toBytes(escaped(0x7F) + escaped(0x100)), "\xEF\xBF\xBD\xEF\xBF\xBD");
}
