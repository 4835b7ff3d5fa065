#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

using orv::IPreferenceUI;
using orv::Preferences;

TEST(Preferences, AddKeepsOrderAndShares) {
  Preferences set;
  EXPECT_EQ(set.count(), 0u);
  const auto solids = std::make_shared<orvsg::BoolValue>(L"Read Solids", true);
  const auto solidsUI = std::make_shared<orv::CheckBoxPrefUI>(L"Read solid bodies", false);
  const auto level = std::make_shared<orvsg::IntValue>(L"Set Tessellation Level", 2);
  const auto levelUI = std::make_shared<orv::ComboBoxPrefUI>(L"Tessellation level", true);

  set.add(solids, solidsUI);
  set.add(level, levelUI);
  ASSERT_EQ(set.count(), 2u);
  EXPECT_EQ(solids.use_count(), 2);
  EXPECT_EQ(solidsUI.use_count(), 2);
  EXPECT_EQ(level.use_count(), 2);
  EXPECT_EQ(levelUI.use_count(), 2);

  EXPECT_EQ(set.getValue(0), solids);
  EXPECT_EQ(set.getUI(0), solidsUI);
  EXPECT_EQ(set.getValue(1), level);
  EXPECT_EQ(set.getUI(1), levelUI);

  // Adding the same option twice is two entries.
  set.add(solids, solidsUI);
  EXPECT_EQ(set.count(), 3u);
  EXPECT_EQ(set.getValue(2), solids);
  EXPECT_EQ(solids.use_count(), 3);
}

TEST(Preferences, IndexNotBelowCountIsOutOfRange) {
  Preferences set;
  EXPECT_THROW(set.getValue(0), std::out_of_range);
  EXPECT_THROW(set.getUI(0), std::out_of_range);
  set.add(std::make_shared<orvsg::IntValue>(L"n", 0), std::make_shared<orv::CheckBoxPrefUI>(L"n", false));
  EXPECT_NO_THROW(set.getValue(0));
  EXPECT_THROW(set.getValue(1), std::out_of_range);
  EXPECT_THROW(set.getUI(1), std::out_of_range);
  EXPECT_THROW(set.getValue(UINT_MAX), std::out_of_range);
  EXPECT_THROW(set.getUI(UINT_MAX), std::out_of_range);
}

TEST(Preferences, RefusesNullValueOrWidget) {
  Preferences set;
  const auto value = std::make_shared<orvsg::BoolValue>(L"v", false);
  const auto widget = std::make_shared<orv::CheckBoxPrefUI>(L"w", false);
  EXPECT_THROW(set.add(nullptr, widget), std::invalid_argument);
  EXPECT_THROW(set.add(value, nullptr), std::invalid_argument);
  EXPECT_THROW(set.add(nullptr, nullptr), std::invalid_argument);
  EXPECT_EQ(set.count(), 0u);
  EXPECT_EQ(value.use_count(), 1);
  EXPECT_EQ(widget.use_count(), 1);
}

TEST(PreferenceWidgets, KeepTypeLabelCopyAndFlag) {
  using Make = std::function<std::shared_ptr<IPreferenceUI>(const wchar_t*, bool)>;
  struct Case {
    const char* name;
    Make make;
    IPreferenceUI::UITYPE type;
  };
  const Case cases[] = {
      {"check box", [](const wchar_t* l, bool a) { return std::make_shared<orv::CheckBoxPrefUI>(l, a); },
       IPreferenceUI::CHECKBOX},
      {"combo box", [](const wchar_t* l, bool a) { return std::make_shared<orv::ComboBoxPrefUI>(l, a); },
       IPreferenceUI::COMBOBOX},
      {"colour buttons", [](const wchar_t* l, bool a) { return std::make_shared<orv::ColorBtnGrpPrefUI>(l, a); },
       IPreferenceUI::COLORBUTTONGROUP},
  };
  // The host stores these numbers: they must not move.
  EXPECT_EQ(static_cast<int>(IPreferenceUI::CHECKBOX), 0);
  EXPECT_EQ(static_cast<int>(IPreferenceUI::COMBOBOX), 1);
  EXPECT_EQ(static_cast<int>(IPreferenceUI::COLORBUTTONGROUP), 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool advanced : {false, true}) {
      wchar_t label[] = L"Read solid bodies";
      const auto widget = c.make(label, advanced);
      std::wmemset(label, L'#', std::wcslen(label));
      EXPECT_EQ(widget->getType(), c.type);
      EXPECT_STREQ(widget->getDisplayName(), L"Read solid bodies");
      EXPECT_EQ(widget->isAdvanced(), advanced);
      EXPECT_TRUE(widget->canShow());
    }
    EXPECT_STREQ(c.make(nullptr, false)->getDisplayName(), L"");
  }
}

TEST(PreferenceWidgets, ComboBoxKeepsCopiesOfOptionsInOrder) {
  orv::ComboBoxPrefUI combo(L"Reading mode", false);
  EXPECT_TRUE(combo.options().empty());
  wchar_t text[32];
  for (const wchar_t* entry : {L"Tessellation only", L"Exact geometry only", L"Tessellation and exact geometry"}) {
    std::wcscpy(text, entry);
    combo.addOption(text);
  }
  std::wcscpy(text, L"overwritten");
  combo.addOption(nullptr);
  combo.addOption(L"Tessellation only");
  ASSERT_EQ(combo.options().size(), 5u);
  EXPECT_EQ(combo.options()[0], L"Tessellation only");
  EXPECT_EQ(combo.options()[1], L"Exact geometry only");
  EXPECT_EQ(combo.options()[2], L"Tessellation and exact geometry");
  EXPECT_EQ(combo.options()[3], L"");
  EXPECT_EQ(combo.options()[4], L"Tessellation only");
}
