// The options dialog's geometry as plain arithmetic, apart from any window,
// so that it holds in whatever unit the caller measures (dialog units for
// rows, pixels for scrolling and the screen).
#pragma once

#include <vector>

namespace orvhost::optionsdialog {

// A row of a page: one control and its label.
struct Row {
  int top = 0;
  int height = 0;
  int bottom() const { return top + height; }
};

// Rows of the given heights, one under the other from 0.
std::vector<Row> stack(const std::vector<int>& heights);

// The height the pages get: all of content when it fits in room, else what
// room leaves, but never less than minimum (a screen too small for even
// that gets a dialog that does not fit, rather than no page at all).
int pageHeight(int content, int room, int minimum);

// A scroll position kept to what a viewport over content can show.
int clampScroll(int position, int content, int viewport);

// The scroll position that shows row whole, moving as little as it can from
// position; a row taller than the viewport shows its top.
int reveal(int position, const Row& row, int viewport, int content);

// Where a window of size starts along one axis of an area: centred, and
// kept at the area's start when it is larger.
int centre(int areaStart, int areaLength, int size);

}  // namespace orvhost::optionsdialog
