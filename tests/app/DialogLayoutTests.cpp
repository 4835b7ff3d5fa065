// The options dialog's geometry: how much room its pages get, where it lies
// on the screen, and how far a page scrolls to show the focused control.
#include "optionsdialog/Layout.h"

#include <gtest/gtest.h>

namespace {

using namespace orvhost::optionsdialog;

TEST(DialogLayout, PagesGetWhatTheyNeedWithinTheRoomLeft) {
  struct Case {
    int content, room, expected;
  };
  for (const Case& c : {Case{300, 500, 300}, Case{900, 500, 500}, Case{900, 10, 20}})
    EXPECT_EQ(pageHeight(c.content, c.room, 20), c.expected) << c.content << " in " << c.room;
}

TEST(DialogLayout, CentresWithinTheWorkAreaOrStartsAtIt) {
  EXPECT_EQ(centre(30, 738, 600), 99);
  EXPECT_EQ(centre(30, 738, 900), 30);
}

TEST(DialogLayout, ScrollsAsLittleAsShowsTheRowWhole) {
  // A view of 100 over 1000, scrolled to 200.
  struct Case {
    Row row;
    int expected;
    const char* what;
  };
  for (const Case& c : {Case{{250, 20}, 200, "in view: stays"}, Case{{190, 20}, 190, "cut at the top"},
                        Case{{295, 20}, 215, "cut at the bottom"}, Case{{500, 20}, 420, "below"},
                        Case{{50, 20}, 50, "above"}, Case{{400, 300}, 400, "taller than the view: its top"}})
    EXPECT_EQ(reveal(200, c.row, 100, 1000), c.expected) << c.what;
}

TEST(DialogLayout, ScrollsWithinTheContent) {
  struct Case {
    int position, content, expected;
  };
  for (const Case& c : {Case{-5, 1000, 0}, Case{950, 1000, 900}, Case{10, 50, 0}})
    EXPECT_EQ(clampScroll(c.position, c.content, 100), c.expected) << c.position << " over " << c.content;
}

}  // namespace
