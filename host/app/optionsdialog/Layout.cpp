#include "Layout.h"

#include <algorithm>

namespace orvhost::optionsdialog {

std::vector<Row> stack(const std::vector<int>& heights) {
  std::vector<Row> rows;
  int top = 0;
  for (const int height : heights) {
    rows.push_back({top, height});
    top += height;
  }
  return rows;
}

int pageHeight(int content, int room, int minimum) { return std::max(std::min(content, room), minimum); }

int clampScroll(int position, int content, int viewport) {
  return std::clamp(position, 0, std::max(0, content - viewport));
}

int reveal(int position, const Row& row, int viewport, int content) {
  int wanted = position;
  if (row.bottom() > position + viewport) wanted = row.bottom() - viewport;
  if (row.top < wanted) wanted = row.top;
  return clampScroll(wanted, content, viewport);
}

int centre(int areaStart, int areaLength, int size) { return areaStart + std::max(0, (areaLength - size) / 2); }

}  // namespace orvhost::optionsdialog
