// The command line reaches the file system whole: what argument() makes of
// a wide text, wide() gives back, whatever file names may hold.
#include "Text.h"

#include <gtest/gtest.h>

#include <string>

TEST(CommandLineText, KeepsEveryFileNameWhole) {
  const std::wstring names[] = {
      L"part.sldprt", L"modul\u00e9-\u65e5\u672c", L"smile-\U0001F600",
#if defined(_WIN32)
      // Windows file names are UTF-16 code units, paired or not.
      L"lone-\xD800.sldprt", L"\xDC00", L"\xDBFF\xDBFF-\xDFFF",
#else
      // Linux file names are bytes, carried as U+DC80..U+DCFF when no UTF-8.
      L"\xDC80", L"latin1-\xDCE9.sldprt",
#endif
  };
  for (const std::wstring& name : names) EXPECT_EQ(orvhost::wide(orvhost::argument(name)), name);
#if defined(_WIN32)
  EXPECT_EQ(orvhost::argument(L"\xD800"), "\xED\xA0\x80") << "a lone surrogate as its code point";
  EXPECT_EQ(orvhost::wide("\xC0\xAF|\xF8|\xE2\x82"), L"\xFFFD\xFFFD|\xFFFD|\xFFFD") << "malformed bytes";
#endif
}
