#include "macos/ColumnLayout.h"

#include <algorithm>

namespace turnlet::macos {

Rect ColumnLayout::place(const Placement& at, Size natural) {
  Size size = at.size.value_or(natural);
  double x = (content.width - size.width) / 2;
  if (at.sideInset) {
    size.width = std::max(0.0, content.width - 2 * *at.sideInset);
    x = *at.sideInset;
  }
  const double topEdge = used + at.top;
  used = topEdge + size.height;
  return Rect({x, content.height - used}, size);
}

}  // namespace turnlet::macos
