#include "sim/gpu/RotateFrameKernel.h"

#include <algorithm>
#include <cmath>

#include "sim/gpu/RotateFrameExact.h"
#include "sim/gpu/RotateFrameFiltered.h"
#include "sim/gpu/RotateFramePixels.h"

namespace turnlet::sim {

using namespace kernel;

namespace {

// The rotated source fitted into the target, in 32-bit floats with the program's order of
// operations, so that a letterbox edge or a texel coordinate rounds as the program's does.
struct Fit {
  float sizeX = 0;
  float sizeY = 0;
  float scale = 0;
  float originX = 0;
  float originY = 0;
  bool empty = true;
  bool exact = false;
};

Fit fitFor(const RotateFrameParameters& p) {
  Fit fit;
  const bool odd = (p.turns & 1) != 0;
  const std::uint32_t sizeX = odd ? p.sh : p.sw;
  const std::uint32_t sizeY = odd ? p.sw : p.sh;
  if (sizeX == 0 || sizeY == 0) return fit;
  fit.empty = false;
  fit.sizeX = float(sizeX);
  fit.sizeY = float(sizeY);
  fit.scale = std::min(float(p.dw) / fit.sizeX, float(p.dh) / fit.sizeY);
  fit.originX = std::floor((float(p.dw) - fit.sizeX * fit.scale) * 0.5f);
  fit.originY = std::floor((float(p.dh) - fit.sizeY * fit.scale) * 0.5f);
  fit.exact = p.dw == sizeX && p.dh == sizeY;
  return fit;
}

RotateFrameKernel::Tap quantise(double coordinate) {
  const auto q = static_cast<std::int64_t>(std::floor(coordinate * 256 + 0.5));
  const std::int64_t index = q >= 0 ? q / 256 : -((255 - q) / 256);
  return {static_cast<std::int32_t>(index), static_cast<std::uint32_t>(q - index * 256)};
}

// The texel coordinate sampled at fraction r of a source axis length texels long, read from
// either end; texel centres sit at half-integers.
// The normalised coordinate in floats, as the program computes it; the sampler's part in double.
double texelCoordinate(float r, double length, bool reversed) { return double(reversed ? 1 - r : r) * length - 0.5; }

}  // namespace

RotateFrameKernel::RotateFrameKernel(VectorUnit unit) : unit(unit) {
  if (unit == VectorUnit::avx2 && bestVectorUnit() != VectorUnit::avx2) this->unit = VectorUnit::portable;
}

VectorUnit RotateFrameKernel::bestVectorUnit() {
#ifdef TURNLET_KERNEL_X86
  return __builtin_cpu_supports("avx2") ? VectorUnit::avx2 : VectorUnit::portable;
#else
  return VectorUnit::portable;
#endif
}

void RotateFrameKernel::run(const ConstImage& source, const RotateFrameParameters& parameters,
                            const MutableImage& target, PixelRegion region) {
  region.x1 = std::min(region.x1, target.width);
  region.y1 = std::min(region.y1, target.height);
  if (region.empty()) return;
  RotateFrameParameters p = parameters;
  p.turns &= 3;
  const Fit fit = fitFor(p);
  if (fit.empty) {
    for (std::size_t y = region.y0; y < region.y1; ++y) fillBlack(target, y, region.x0, region.x1);
  } else if (fit.exact) {
    // Pixels past dw × dh (a target larger than the program was told) lie outside the picture.
    const PixelRegion inside{region.x0, region.y0, std::min<std::size_t>(region.x1, p.dw),
                             std::min<std::size_t>(region.y1, p.dh)};
    if (!inside.empty()) runExact(source, p, target, inside);
    for (std::size_t y = region.y0; y < region.y1; ++y) {
      if (y >= inside.y1 || inside.x0 >= inside.x1) {
        fillBlack(target, y, region.x0, region.x1);
      } else {
        fillBlack(target, y, std::max(region.x0, inside.x1), region.x1);
      }
    }
  } else {
    runFiltered(source, p, target, region);
  }
}

void RotateFrameKernel::runExact(const ConstImage& source, const RotateFrameParameters& p, const MutableImage& target,
                                 PixelRegion region) {
  // On this path every pixel is inside the picture; alpha is set while writing.
  const ConstImage s{source.pixels, p.sw, p.sh, source.bytesPerRow};
#ifdef TURNLET_KERNEL_X86
  if (unit == VectorUnit::avx2) {
    exactAvx2(s, p.turns, target, region);
  } else {
    exactPortable(s, p.turns, target, region);
  }
#else
  exactPortable(s, p.turns, target, region);
#endif
}

void RotateFrameKernel::runFiltered(const ConstImage& source, const RotateFrameParameters& p,
                                    const MutableImage& target, PixelRegion region) {
  const Fit fit = fitFor(p);
  const ConstImage s{source.pixels, p.sw, p.sh, source.bytesPerRow};
  const bool odd = (p.turns & 1) != 0;
  const std::size_t width = region.x1 - region.x0, height = region.y1 - region.y0;

  // Taps along target columns and rows; the picture's columns are one contiguous run [xa, xb).
  columnTaps.resize(width);
  rowTaps.resize(height);
  rowInside.resize(height);
  std::size_t xa = region.x1, xb = region.x0;
  for (std::size_t x = region.x0; x < region.x1; ++x) {
    const float point = (float(x) + 0.5f - fit.originX) / fit.scale;
    const float r = point / fit.sizeX;
    if (point >= 0 && point < fit.sizeX) {
      xa = std::min(xa, x);
      xb = x + 1;
    }
    // Target columns run along the source's x axis for turns 0 and 2, along its y axis for 1 and
    // 3, backwards from turn 2 on.
    columnTaps[x - region.x0] = quantise(texelCoordinate(r, odd ? p.sh : p.sw, p.turns >= 2));
  }
  for (std::size_t y = region.y0; y < region.y1; ++y) {
    const float point = (float(y) + 0.5f - fit.originY) / fit.scale;
    const float r = point / fit.sizeY;
    rowInside[y - region.y0] = point >= 0 && point < fit.sizeY;
    // Target rows run along the other source axis, backwards for turns 1 and 2.
    rowTaps[y - region.y0] = quantise(texelCoordinate(r, odd ? p.sw : p.sh, p.turns == 1 || p.turns == 2));
  }

#ifdef TURNLET_KERNEL_X86
  if (unit == VectorUnit::avx2 && xa < xb) {
    if (odd) {
      filteredTurnedAvx2(s, target, region, xa, xb, columnTaps, rowTaps, rowInside, samplePlan, filteredLines,
                         bandPixels);
    } else {
      filteredRowsAvx2(s, target, region, xa, xb, columnTaps, rowTaps, rowInside, samplePlan, filteredLines);
    }
    return;
  }
#endif
  if (odd) {
    filteredTurned(s, target, region, xa, xb, columnTaps, rowTaps, rowInside);
    return;
  }
  filteredPortable(s, p.turns, target, region, xa, xb, columnTaps, rowTaps, rowInside);
}

}  // namespace turnlet::sim
