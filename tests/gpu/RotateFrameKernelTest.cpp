#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "sim/capture/MemoryPixelBuffer.h"
#include "sim/gpu/RotateFrameKernel.h"
#include "support/RotationReference.h"

using namespace turnlet;
using namespace turnlet::sim;
using turnlet::testing::fillPattern;
using turnlet::testing::referencePixel;

namespace {

std::vector<VectorUnit> availableUnits() {
  std::vector<VectorUnit> units{VectorUnit::portable};
  if (RotateFrameKernel::bestVectorUnit() == VectorUnit::avx2) units.push_back(VectorUnit::avx2);
  return units;
}

const char* unitName(VectorUnit unit) { return unit == VectorUnit::avx2 ? "avx2" : "portable"; }

ConstImage input(const MemoryPixelBuffer& b) { return {b.baseAddress(), b.width(), b.height(), b.bytesPerRow()}; }
MutableImage output(MemoryPixelBuffer& b) { return {b.baseAddress(), b.width(), b.height(), b.bytesPerRow()}; }

// Runs the kernel over the region (clipped to the target) and counts the pixels it shades unlike
// the program text (outside the region: not at all); describes the first.
int mismatches(VectorUnit unit, const MemoryPixelBuffer& source, MutableImage target, std::uint32_t turns,
               PixelRegion region, std::string& first) {
  const std::uint32_t dw = std::uint32_t(target.width), dh = std::uint32_t(target.height);
  const PixelRegion r{region.x0, region.y0, std::min<std::size_t>(region.x1, dw), std::min<std::size_t>(region.y1, dh)};
  RotateFrameKernel(unit).run(input(source), {std::uint32_t(source.width()), std::uint32_t(source.height()), dw, dh, turns},
                              target, r);
  int count = 0;
  for (std::size_t y = 0; y < dh; ++y) {
    for (std::size_t x = 0; x < dw; ++x) {
      std::uint32_t got;
      std::memcpy(&got, target.pixels + y * target.bytesPerRow + x * 4, 4);
      const bool inside = x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
      const std::uint32_t want = inside ? referencePixel(source, dw, dh, turns, x, y) : 0u;
      if (got != want && count++ == 0)
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") " + std::to_string(got) + " want " +
                std::to_string(want);
    }
  }
  return count;
}

}  // namespace

// The simulated GPU's kernel against the program text, every turn and vector unit. Exact: tile
// remainders, tight and padded rows, whole streamed tiles. Filtered: both sides of the sampling
// windows (8, 16, gathered), narrow sources, bars and tails, channels at 0 and 255, viewport
// regions, and a top bar that 32-bit floats round unlike doubles (70 × 50 in 77 × 61; found once).
TEST(RotateFrameKernel, EveryTurnMatchesTheProgramText) {
  struct Case {
    std::size_t sw, sh, dw, dh, pad;
    bool exact = false, extremes = false;
    int region = 0;
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0, true},     {4, 2, 0, 0, 12, true},   {3, 5, 0, 0, 64, true},    {17, 33, 0, 0, 0, true},
      {37, 19, 0, 0, 12, true},  {64, 48, 0, 0, 0, true},  {48, 64, 0, 0, 64, true},  {80, 35, 0, 0, 12, true},
      {4, 2, 4, 4, 20},          {4, 2, 3, 4, 0},          {5, 3, 10, 6, 20},         {8, 5, 3, 8, 0},
      {33, 17, 40, 70, 20},      {40, 30, 120, 90, 12},    {48, 40, 32, 27, 0},       {64, 48, 32, 24, 12},
      {96, 72, 32, 24, 0},       {7, 5, 50, 37, 12},       {15, 12, 11, 9, 0},        {70, 50, 77, 61, 12},
      {64, 96, 128, 192, 0},     {37, 23, 74, 46, 0, false, true},                    {37, 23, 20, 13, 4, false, true},
      {20, 18, 0, 0, 0, true, false, 1}, {64, 48, 70, 66, 0, false, false, 2},
  };
  const PixelRegion regions[] = {{0, 0, 9999, 9999}, {2, 3, 17, 19}, {3, 5, 61, 60}};  // the simulated viewport
  for (VectorUnit unit : availableUnits()) {
    for (const Case& c : cases) {
      auto source = MemoryPixelBuffer::make(c.sw, c.sh, c.sw * 4 + c.pad);
      fillPattern(*source, std::uint32_t(c.sw * 131 + c.dh + c.pad));
      if (c.extremes)
        for (std::size_t i = 0; i < c.sw * c.sh; ++i)
          source->setPixel(i % c.sw, i / c.sw, source->pixel(i % c.sw, i / c.sw) & 0x80808080u ? 0xFF00FF00u : 0x00FF00FFu);
      for (std::uint32_t turns = 0; turns < 4; ++turns) {
        const bool odd = turns % 2 == 1;
        const std::size_t dw = c.exact ? (odd ? c.sh : c.sw) : c.dw, dh = c.exact ? (odd ? c.sw : c.sh) : c.dh;
        auto target = MemoryPixelBuffer::make(dw, dh, c.pad ? dw * 4 + c.pad : 0);
        std::string first;
        EXPECT_EQ(mismatches(unit, *source, output(*target), turns, regions[c.region], first), 0)
            << unitName(unit) << " " << c.sw << "x" << c.sh << " -> " << dw << "x" << dh << " pad " << c.pad
            << " turns " << turns << ": " << first;
      }
    }
  }
}

// The sampler's numbers: between two texels the blend lands on the rounded mean, and
// clamp-to-edge repeats the edge texels instead of fading to black.
TEST(RotateFrameKernel, FilteredPathBlendsNeighboursAndClampsAtEdges) {
  auto source = MemoryPixelBuffer::make(2, 1);
  source->setPixel(0, 0, bgra(0, 100, 200));
  source->setPixel(1, 0, bgra(255, 101, 0));
  auto target = MemoryPixelBuffer::make(4, 2);
  // Target columns sample source x = -0.25, 0.25, 0.75, 1.25.
  const std::uint32_t want[] = {bgra(0, 100, 200), bgra(64, 100, 150), bgra(191, 101, 50), bgra(255, 101, 0)};
  for (VectorUnit unit : availableUnits()) {
    RotateFrameKernel(unit).run(input(*source), {2, 1, 4, 2, 0}, output(*target));
    for (std::size_t x = 0; x < 4; ++x)
      EXPECT_EQ(std::pair(target->pixel(x, 1), referencePixel(*source, 4, 2, 0, x, 1)), std::pair(want[x], want[x]))
          << unitName(unit) << " column " << x << " (kernel, program)";
  }
}

// Quarter turns write each target row in whole cache lines found from where the row starts, so
// the line boundaries fall at every column: target strides of every 4-byte phase, a region whose
// left edge is off the 16-pixel grid, and a target starting off a pixel boundary (no whole lines
// to find; plain stores). Bands of several steps, so that lines span two steps.
TEST(RotateFrameKernel, QuarterTurnsMatchWhereverTargetLinesFall) {
  struct Case {
    const char* name;
    std::size_t pad;         // bytes past the row's pixels
    PixelRegion region;      // clipped to the target
    std::size_t byteOffset;  // of the target's first pixel within its buffer
  };
  const Case cases[] = {
      {"tight rows", 0, {0, 0, 999, 999}, 0},
      {"rows 4 bytes apart", 4, {0, 0, 999, 999}, 0},
      {"rows 40 bytes apart", 40, {0, 0, 999, 999}, 0},
      {"region off the grid", 20, {5, 3, 47, 69}, 0},
      {"region at column 19", 0, {19, 0, 999, 999}, 0},
      {"target off a pixel", 8, {0, 0, 999, 999}, 2},
  };
  constexpr std::size_t sw = 70, sh = 50;  // turned: 50 × 70, three steps a band
  auto source = MemoryPixelBuffer::make(sw, sh, sw * 4 + 28);
  fillPattern(*source, 7);
  for (VectorUnit unit : availableUnits()) {
    for (const Case& c : cases) {
      for (std::uint32_t turns : {1u, 3u}) {
        const std::size_t stride = sh * 4 + c.pad;
        std::vector<std::uint8_t> bytes(stride * sw + c.byteOffset, 0);
        const MutableImage target{bytes.data() + c.byteOffset, sh, sw, stride};
        std::string first;
        EXPECT_EQ(mismatches(unit, *source, target, turns, c.region, first), 0)
            << unitName(unit) << " " << c.name << " turns " << turns << ": " << first;
      }
    }
  }
}
