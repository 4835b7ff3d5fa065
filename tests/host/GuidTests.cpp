#include <orv/GUID.h>

#include <orvsgutils/StringUtils.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using ::testing::HasSubstr;

TEST(Guid, ParsesRegistryFormInEitherCaseAndWritesUpperCase) {
  const wchar_t* const texts[] = {
      L"{0123ABCD-4567-89EF-FEDC-BA9876543210}",
      L"{0123abcd-4567-89ef-fedc-ba9876543210}",
      L"{0123aBcD-4567-89eF-FeDc-bA9876543210}",
  };
  for (const wchar_t* text : texts) {
    SCOPED_TRACE(orvsgutils::StringUtils::toUtf8(text));
    const orv::GUID id = orv::GUID::parse(text);
    EXPECT_EQ(id.data1, 0x0123ABCDu);
    EXPECT_EQ(id.data2, 0x4567u);
    EXPECT_EQ(id.data3, 0x89EFu);
    const std::uint8_t tail[8] = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(id.data4[i], tail[i]) << "data4[" << i << "]";
    EXPECT_EQ(id.toString(), L"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
  }
}

TEST(Guid, ToStringPadsAndRoundTrips) {
  EXPECT_EQ(orv::GUID().toString(), L"{00000000-0000-0000-0000-000000000000}");

  orv::GUID id;
  id.data1 = 0xF;
  id.data2 = 0xFFFF;
  id.data3 = 0x0A0;
  const std::uint8_t tail[8] = {0x00, 0xFF, 0x01, 0x80, 0x7F, 0x10, 0x0E, 0xE0};
  for (int i = 0; i < 8; ++i) id.data4[i] = tail[i];
  EXPECT_EQ(id.toString(), L"{0000000F-FFFF-00A0-00FF-01807F100EE0}");
  EXPECT_EQ(orv::GUID::parse(id.toString().c_str()), id);
}

TEST(Guid, RefusesTextNotInRegistryForm) {
  const wchar_t* const texts[] = {
      L"",
      L"{0123ABCD-4567-89EF-FEDC-BA987654321}",    // one digit short
      L"{0123ABCD-4567-89EF-FEDC-BA98765432100}",  // one digit long
      L"0123ABCD-4567-89EF-FEDC-BA9876543210",     // no braces
      L"(0123ABCD-4567-89EF-FEDC-BA9876543210)",
      L"{0123ABCD-4567-89EF-FEDC-BA9876543210 ",
      L" 0123ABCD-4567-89EF-FEDC-BA9876543210}",
      L"{0123ABCD04567-89EF-FEDC-BA9876543210}",  // each hyphen replaced
      L"{0123ABCD-4567089EF-FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF0FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF-FEDC0BA9876543210}",
      L"{0123ABC-D4567-89EF-FEDC-BA9876543210}",  // hyphen one place early
      L"{0123ABCG-4567-89EF-FEDC-BA9876543210}",  // non-hex digits
      L"{0123ABCD-4567-89EF-FEDC-BA987654321g}",
      L"{0x23ABCD-4567-89EF-FEDC-BA9876543210}",
      L"{+123ABCD-4567-89EF-FEDC-BA9876543210}",
      L"{ 123ABCD-4567-89EF-FEDC-BA9876543210}",
      L"{0123ABCD-4567-89EF-FEDC-BA98765432\uFF10\uFF10}",  // full-width zeros
      L"{0123ABCD-4567-89EF-FEDC-BA98765432:0}",             // just past '9'
      L"{0123ABCD-4567-89EF-FEDC-BA98765432@0}",             // just before 'A'
  };
  for (const wchar_t* text : texts) {
    const std::string shown = orvsgutils::StringUtils::toUtf8(text);
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
