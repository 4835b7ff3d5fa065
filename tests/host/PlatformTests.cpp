// The few C runtime pieces the SDK and plug-ins use, as they behave on both
// platforms: the real runtime on Windows, our emulation on Linux.
#include <windows.h>

#include <orv/GUID.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <wchar.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

// Plug-in code sees the same names on both platforms: the system's GUID, as
// the registry keeps it, beside orv::GUID, which must be qualified.
static_assert(sizeof(::GUID) == 16 && !std::is_same_v<::GUID, orv::GUID>);

namespace {

// The runtime's default reaction to a bad argument may end the program; the
// tests want the error code instead.
#if defined(_WIN32)
void ignoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int, std::uintptr_t) {}
class QuietInvalidParameters {
 public:
  QuietInvalidParameters() : old_(_set_invalid_parameter_handler(ignoreInvalidParameter)) {}
  ~QuietInvalidParameters() { _set_invalid_parameter_handler(old_); }
  QuietInvalidParameters(const QuietInvalidParameters&) = delete;
  QuietInvalidParameters& operator=(const QuietInvalidParameters&) = delete;

 private:
  _invalid_parameter_handler old_;
};
#else
class QuietInvalidParameters {};
#endif

int sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

TEST(PlatformWideStrings, WcscpyCopiesWhatFitsAndRefusesTheRest) {
  [[maybe_unused]] QuietInvalidParameters quiet;
  for (const std::wstring& text : {std::wstring(), std::wstring(L"a"), std::wstring(300, L'x')}) {
    SCOPED_TRACE(text.size());
    // Exactly room for the text and its terminator: nothing beyond is touched.
    std::wstring buffer(text.size() + 2, L'#');
    ASSERT_EQ(wcscpy_s(&buffer[0], text.size() + 1, text.c_str()), 0);
    EXPECT_EQ(buffer, text + L'\0' + L'#');
    if (text.empty()) continue;
    // One short: an error and an empty buffer, never a truncated copy.
    buffer.assign(text.size() + 2, L'#');
    EXPECT_EQ(wcscpy_s(&buffer[0], text.size(), text.c_str()), ERANGE);
    EXPECT_EQ(buffer[0], L'\0');
  }
  wchar_t buffer[4] = {L'#', L'#', L'#', L'\0'};
  EXPECT_NE(wcscpy_s(nullptr, 4, L"a"), 0);
  EXPECT_NE(wcscpy_s(buffer, 0, L"a"), 0);
  EXPECT_EQ(buffer[0], L'#');
  EXPECT_NE(wcscpy_s(buffer, 4, nullptr), 0);
  EXPECT_EQ(buffer[0], L'\0');
}

TEST(PlatformWideStrings, WcsicmpIgnoresAsciiCaseAndOrdersFoldedToLower) {
  const struct {
    const wchar_t *a, *b;
    int sign;
  } cases[] = {
      {L"", L"", 0},
      {L"Read Solids 1", L"rEAD sOLIDS 1", 0},
      {L"a", L"B", -1},
      {L"B", L"a", 1},
      {L"abc", L"AB", 1},
      {L"AB", L"abc", -1},
      // Folding to lower case puts these punctuation marks before letters.
      {L"[", L"A", -1},
      {L"a", L"_", 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(sign(_wcsicmp(c.a, c.b)), c.sign) << testing::PrintToString(c.a) << " " << testing::PrintToString(c.b);

  [[maybe_unused]] QuietInvalidParameters quiet;
  EXPECT_EQ(_wcsicmp(nullptr, L"a"), _NLSCMPERROR);
  errno = 0;
  EXPECT_EQ(_wcsicmp(L"a", nullptr), _NLSCMPERROR);
  EXPECT_EQ(errno, EINVAL);
}
