#include "macos/windows/ColumnLayout.h"

#include <algorithm>

namespace turnlet::macos {

std::optional<double> ColumnLayout::fixedWidth(const Placement& at) const {
  if (at.sideInset) return std::max(0.0, content.width - 2 * *at.sideInset);
  if (at.size) return at.size->width;
  return std::nullopt;
}

Rect ColumnLayout::place(const Placement& at, Size natural) {
  Size size = at.size.value_or(Size{std::max(0.0, natural.width), std::max(0.0, natural.height)});
  double x = (content.width - size.width) / 2;
  if (auto width = fixedWidth(at)) {
    size.width = *width;
    x = (content.width - size.width) / 2;
  }
  const double topEdge = used + at.top;
  used = topEdge + size.height;
  return Rect({x, content.height - used}, size);
}

}  // namespace turnlet::macos
