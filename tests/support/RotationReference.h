#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sim/MemoryPixelBuffer.h"

namespace turnlet::testing {

// What the rotation program shows at target pixel (x, y), written out pixel by pixel the slow
// way: the fit, the black outside, the integer table for equal sizes, and otherwise clamp-to-edge
// bilinear sampling with coordinates rounded to 1/256 texel and the blend rounded to nearest.
inline std::uint32_t referencePixel(const sim::MemoryPixelBuffer& source, std::uint32_t dw, std::uint32_t dh,
                                    std::uint32_t turns, std::size_t x, std::size_t y) {
  const double sw = double(source.width()), sh = double(source.height());
  const bool odd = turns % 2 == 1;
  const double sizeX = odd ? sh : sw, sizeY = odd ? sw : sh;
  const std::uint32_t black = 0xFF000000u;
  if (sizeX == 0 || sizeY == 0) return black;
  const double scale = std::min(dw / sizeX, dh / sizeY);
  const double originX = std::floor((dw - sizeX * scale) * 0.5), originY = std::floor((dh - sizeY * scale) * 0.5);
  const double pointX = (x + 0.5 - originX) / scale, pointY = (y + 0.5 - originY) / scale;
  if (pointX < 0 || pointY < 0 || pointX >= sizeX || pointY >= sizeY) return black;
  if (dw == sizeX && dh == sizeY) {
    const auto dx = static_cast<std::size_t>(pointX), dy = static_cast<std::size_t>(pointY);
    const std::size_t w = source.width(), h = source.height();
    std::size_t sx = dx, sy = dy;
    if (turns == 1) sx = w - 1 - dy, sy = dx;
    if (turns == 2) sx = w - 1 - dx, sy = h - 1 - dy;
    if (turns == 3) sx = dy, sy = h - 1 - dx;
    return source.pixel(sx, sy) | black;
  }
  const double rx = pointX / sizeX, ry = pointY / sizeY;
  double u = rx, v = ry;
  if (turns == 1) u = 1 - ry, v = rx;
  if (turns == 2) u = 1 - rx, v = 1 - ry;
  if (turns == 3) u = ry, v = 1 - rx;
  auto quantised = [](double t, std::int64_t& index, std::int64_t& fraction) {
    const auto q = static_cast<std::int64_t>(std::floor(t * 256 + 0.5));
    index = static_cast<std::int64_t>(std::floor(q / 256.0));
    fraction = q - index * 256;
  };
  std::int64_t ix, fx, iy, fy;
  quantised(u * sw - 0.5, ix, fx);
  quantised(v * sh - 0.5, iy, fy);
  auto at = [&](std::int64_t i, std::int64_t j) {
    const auto cx = std::clamp<std::int64_t>(i, 0, std::int64_t(source.width()) - 1);
    const auto cy = std::clamp<std::int64_t>(j, 0, std::int64_t(source.height()) - 1);
    return source.pixel(std::size_t(cx), std::size_t(cy));
  };
  const std::uint32_t c[4] = {at(ix, iy), at(ix + 1, iy), at(ix, iy + 1), at(ix + 1, iy + 1)};
  const std::int64_t w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
  std::uint32_t out = black;
  for (int channel = 0; channel < 3; ++channel) {
    std::int64_t sum = 0;
    for (int k = 0; k < 4; ++k) sum += std::int64_t((c[k] >> (8 * channel)) & 255) * w[k];
    out |= std::uint32_t((sum + 32768) >> 16) << (8 * channel);
  }
  return out;
}

// Deterministic, varied pixel values with all four channels in use (alpha too, which the
// rotation must replace).
inline void fillPattern(sim::MemoryPixelBuffer& buffer, std::uint32_t seed) {
  std::uint32_t state = seed * 2654435761u + 1;
  for (std::size_t y = 0; y < buffer.height(); ++y) {
    for (std::size_t x = 0; x < buffer.width(); ++x) {
      state = state * 1664525u + 1013904223u;
      buffer.setPixel(x, y, state);
    }
  }
}

}  // namespace turnlet::testing
