#include "macos/windows/WindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace turnlet::macos {

std::optional<WindowFrame> platformWindowFrame(const WindowFrame& frame) {
  if (!std::isfinite(frame.x) || !std::isfinite(frame.y) || !std::isfinite(frame.width) || !std::isfinite(frame.height))
    return std::nullopt;
  WindowFrame standard = frame;
  if (standard.width < 0) {
    standard.x += standard.width;
    standard.width = -standard.width;
  }
  if (standard.height < 0) {
    standard.y += standard.height;
    standard.height = -standard.height;
  }
  return standard;
}

std::optional<double> platformAlpha(double alpha) {
  if (std::isnan(alpha)) return std::nullopt;
  return std::clamp(alpha, 0.0, 1.0);
}

}  // namespace turnlet::macos
