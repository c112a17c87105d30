#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "sim/capture/MemoryPixelBuffer.h"

// The rotation tests' reference is the program's own text (render/RotateFramePixel.metal) compiled
// as C++ against stand-ins for the shading language's few types and functions it uses. The sampler
// is the simulated GPU's model: clamp-to-edge bilinear, texel coordinates rounded to 1/256 texel
// (halves up), the blend rounded to nearest; a colour is stored as round(value × 255).
namespace turnlet::testing::shading {

using uint = std::uint32_t;
struct float3 { float r, g, b; };
struct float2 {
  float x = 0, y = 0;
  float2() = default;
  float2(float x, float y) : x(x), y(y) {}
};
inline float2 operator-(float2 a, float2 b) { return {a.x - b.x, a.y - b.y}; }
inline float2 operator*(float2 a, float s) { return {a.x * s, a.y * s}; }
inline float2 operator/(float2 a, float s) { return {a.x / s, a.y / s}; }
inline float2 operator/(float2 a, float2 b) { return {a.x / b.x, a.y / b.y}; }
inline float2 floor(float2 a) { return {std::floor(a.x), std::floor(a.y)}; }
inline float min(float a, float b) { return std::fmin(a, b); }
struct uint2 {
  uint x = 0, y = 0;
  uint2() = default;
  uint2(uint x, uint y) : x(x), y(y) {}
  explicit uint2(float2 f) : x(uint(f.x)), y(uint(f.y)) {}
};
struct float4 {
  float3 rgb;
  float a;
  float4(float r, float g, float b, float a) : rgb{r, g, b}, a(a) {}
  float4(float3 rgb, float a) : rgb(rgb), a(a) {}
};
enum class access { sample };
enum class coord { normalized };
enum class address { clamp_to_edge };
enum class filter { linear };
struct sampler { constexpr sampler(coord, address, filter) {} };

template <typename T, access A>
struct texture2d {
  const sim::MemoryPixelBuffer& pixels;
  static float4 colour(std::uint32_t v) {
    return {float((v >> 16) & 255) / 255, float((v >> 8) & 255) / 255, float(v & 255) / 255, float(v >> 24) / 255};
  }
  float4 read(uint2 s) const {
    if (s.x >= pixels.width() || s.y >= pixels.height()) throw std::out_of_range("read outside the texture");
    return colour(pixels.pixel(s.x, s.y));
  }
  float4 sample(sampler, float2 uv) const {
    const auto w = std::int64_t(pixels.width()), h = std::int64_t(pixels.height());
    // Quantised texel coordinate (1/256 texel, halves up): whole texel and fraction.
    const auto qx = std::int64_t(std::floor((double(uv.x) * double(w) - 0.5) * 256 + 0.5));
    const auto qy = std::int64_t(std::floor((double(uv.y) * double(h) - 0.5) * 256 + 0.5));
    const std::int64_t ix = qx >> 8, fx = qx & 255, iy = qy >> 8, fy = qy & 255;
    auto at = [&](std::int64_t i, std::int64_t j, int channel) -> std::int64_t {
      return (pixels.pixel(std::size_t(std::clamp<std::int64_t>(i, 0, w - 1)), std::size_t(std::clamp<std::int64_t>(j, 0, h - 1))) >> (8 * channel)) & 255;
    };
    std::uint32_t blended = 0;
    for (int c = 0; c < 4; ++c) {
      const std::int64_t sum = at(ix, iy, c) * (256 - fx) * (256 - fy) + at(ix + 1, iy, c) * fx * (256 - fy) +
                               at(ix, iy + 1, c) * (256 - fx) * fy + at(ix + 1, iy + 1, c) * fx * fy;
      blended |= std::uint32_t((sum + 32768) >> 16) << (8 * c);
    }
    return colour(blended);
  }
};

#include "render/RotateFramePixel.metal"

}  // namespace turnlet::testing::shading

namespace turnlet::testing {

// What the rotation program shows at target pixel (x, y) of a dw × dh target, as 32-bit BGRA.
inline std::uint32_t referencePixel(const sim::MemoryPixelBuffer& source, std::uint32_t dw, std::uint32_t dh,
                                    std::uint32_t turns, std::size_t x, std::size_t y) {
  using namespace shading;
  const Parameters p{uint(source.width()), uint(source.height()), dw, dh, turns};
  const float4 c = rotateFramePixel(float2(float(x) + 0.5f, float(y) + 0.5f), texture2d<float, access::sample>{source}, p);
  auto byte = [](float v) { return std::uint32_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  return sim::bgra(byte(c.rgb.b), byte(c.rgb.g), byte(c.rgb.r), byte(c.a));
}

// Deterministic, varied pixels with all four channels in use (alpha too, which must not show).
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
