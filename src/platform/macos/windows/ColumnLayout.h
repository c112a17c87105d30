#pragma once

#include <optional>

#include "platform/AppWindow.h"
#include "platform/Geometry.h"

namespace turnlet::macos {

// Stacks a window's controls top to bottom in one column, as AppKit frames them: the origin at the
// content's bottom left, y growing upward. Each control starts `top` points below the previous
// one (or the content's top); it is centred at its given size, or at its natural size when none
// is given, or stretched to `sideInset` from both edges (never narrower than nothing). A natural
// size AppKit reports as missing (a negative metric) counts as nothing.
class ColumnLayout final {
 public:
  explicit ColumnLayout(Size content) : content(content) {}

  // The width a control gets whatever its natural size (its given width, or the stretched one);
  // absent when it keeps its natural width. A wrapping label breaks its lines at this width.
  std::optional<double> fixedWidth(const Placement& at) const;
  // The next control's frame; later calls place the controls below it.
  Rect place(const Placement& at, Size natural);

 private:
  Size content;
  double used = 0;  // points from the content's top to the last control's bottom
};

}  // namespace turnlet::macos
