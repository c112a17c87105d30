#include "sim/Compositor.h"

#include <algorithm>

namespace turnlet::sim {

std::shared_ptr<MemoryPixelBuffer> Compositor::draw(DisplayID display) {
  const auto size = displays.currentModePixelSize(display);
  if (!displays.isOnline(display) || !size || !size->width || !size->height) return nullptr;
  auto picture = MemoryPixelBuffer::make(size->width, size->height);
  drawInto(display, *picture);
  return picture;
}

bool Compositor::drawInto(DisplayID display, MemoryPixelBuffer& target) {
  const auto size = displays.currentModePixelSize(display);
  if (!displays.isOnline(display) || !size || size->width != target.width() || size->height != target.height())
    return false;
  const std::uint32_t shift = animateBackground ? pictures++ : 0;
  const std::uint32_t colour = 0xFF000000u | ((display * 0x3A5F17u + shift) & 0xFFFFFFu);
  for (std::size_t y = 0; y < target.height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(target.baseAddress() + y * target.bytesPerRow());
    std::fill_n(row, target.width(), colour);
  }
  return true;
}

}  // namespace turnlet::sim
