// The options dialog's geometry: how much room its pages get, where it lies
// on the screen, and how far a page scrolls to show the focused control.
#include "optionsdialog/Layout.h"

#include <gtest/gtest.h>

namespace {

using namespace orvhost::optionsdialog;

TEST(DialogLayout, PageHeightsPlacesAndScrollsAsWrittenDown) {
  const struct {
    int actual, expected;
    const char* what;
  } cases[] = {{pageHeight(300, 500, 20), 300, "a page gets what it needs"},
               {pageHeight(900, 500, 20), 500, "within the room left"},
               {pageHeight(900, 10, 20), 20, "and no less than its minimum"},
               {centre(30, 738, 600), 99, "centred within the work area"},
               {centre(30, 738, 900), 30, "or starting at it"},
               // A view of 100 over 1000, scrolled to 200, scrolls as little as shows the row whole.
               {reveal(200, {250, 20}, 100, 1000), 200, "in view: stays"},
               {reveal(200, {190, 20}, 100, 1000), 190, "cut at the top"},
               {reveal(200, {295, 20}, 100, 1000), 215, "cut at the bottom"},
               {reveal(200, {500, 20}, 100, 1000), 420, "below"},
               {reveal(200, {50, 20}, 100, 1000), 50, "above"},
               {reveal(200, {400, 300}, 100, 1000), 400, "taller than the view: its top"},
               // A view of 100 scrolls within the content.
               {clampScroll(-5, 1000, 100), 0, "not before its start"},
               {clampScroll(950, 1000, 100), 900, "not past its end"},
               {clampScroll(10, 50, 100), 0, "not at all over content shorter than the view"}};
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

}  // namespace
