#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/MemoryPixelBuffer.h"
#include "sim/RotateFrameKernel.h"
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

// Runs the kernel and counts the pixels that differ from the reference; reports the first one.
int mismatches(VectorUnit unit, const MemoryPixelBuffer& source, MemoryPixelBuffer& target, std::uint32_t turns,
               std::string& first) {
  RotateFrameKernel kernel(unit);
  const RotateFrameParameters p{std::uint32_t(source.width()), std::uint32_t(source.height()),
                                std::uint32_t(target.width()), std::uint32_t(target.height()), turns};
  kernel.run(input(source), p, output(target));
  int count = 0;
  for (std::size_t y = 0; y < target.height(); ++y) {
    for (std::size_t x = 0; x < target.width(); ++x) {
      const std::uint32_t want = referencePixel(source, p.dw, p.dh, turns, x, y);
      if (target.pixel(x, y) != want && count++ == 0) {
        char text[160];
        std::snprintf(text, sizeof text, "target (%zu, %zu): got %08x, want %08x", x, y, target.pixel(x, y), want);
        first = text;
      }
    }
  }
  return count;
}

}  // namespace

// Equal sizes after turning: every turn, odd sizes (tile remainders on both axes), tight rows,
// padded rows (the unaligned store path) and a 64-pixel-wide target (whole streamed tiles).
TEST(RotateFrameKernel, ExactPathMatchesReferenceForEveryTurnSizeAndRowPadding) {
  struct Size {
    std::size_t w, h;
  };
  const Size sizes[] = {{1, 1}, {4, 2}, {3, 5}, {17, 33}, {37, 19}, {64, 48}, {48, 64}, {80, 35}};
  const std::size_t paddings[] = {0, 12, 64};  // bytes past width × 4
  for (VectorUnit unit : availableUnits()) {
    for (const Size& size : sizes) {
      for (std::size_t pad : paddings) {
        auto source = MemoryPixelBuffer::make(size.w, size.h, size.w * 4 + pad);
        fillPattern(*source, std::uint32_t(size.w * 131 + size.h + pad));
        for (std::uint32_t turns = 0; turns < 4; ++turns) {
          const bool odd = turns % 2 == 1;
          const std::size_t tw = odd ? size.h : size.w, th = odd ? size.w : size.h;
          for (std::size_t targetPad : {std::size_t{0}, pad}) {
            auto target = MemoryPixelBuffer::make(tw, th, targetPad ? tw * 4 + targetPad : 0);
            std::string first;
            EXPECT_EQ(mismatches(unit, *source, *target, turns, first), 0)
                << unitName(unit) << " " << size.w << "x" << size.h << " pad " << pad << " target pad " << targetPad
                << " turns " << turns << ": " << first;
          }
        }
      }
    }
  }
}

// Sizes that differ after turning: enlarged, shrunk, bars on either axis, odd remainders, every
// turn; the vector path must give the same bytes as the reference's exact integer blend.
TEST(RotateFrameKernel, FilteredPathMatchesReferenceBytes) {
  struct Case {
    std::size_t sw, sh, dw, dh;
  };
  const Case cases[] = {
      {4, 2, 4, 4},     {4, 2, 3, 4},     {5, 3, 10, 6},     {8, 5, 3, 8},       {33, 17, 40, 70},
      {17, 33, 66, 34}, {64, 48, 24, 18}, {37, 29, 101, 53}, {64, 96, 128, 192}, {96, 64, 36, 27},
  };
  for (VectorUnit unit : availableUnits()) {
    for (const Case& c : cases) {
      auto source = MemoryPixelBuffer::make(c.sw, c.sh, c.sw * 4 + 20);
      fillPattern(*source, std::uint32_t(c.sw * 7 + c.dh));
      for (std::uint32_t turns = 0; turns < 4; ++turns) {
        auto target = MemoryPixelBuffer::make(c.dw, c.dh);
        std::string first;
        EXPECT_EQ(mismatches(unit, *source, *target, turns, first), 0)
            << unitName(unit) << " " << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " turns " << turns
            << ": " << first;
      }
    }
  }
}

// Eight neighbouring target pixels read their texels as one vector of 8, two of 16, or gathered,
// depending on how far they reach; enlarged rows share filtered lines two by two; turned frames
// go through bands of 16 target columns. Scales on either side of each limit, sources narrower
// than a window, picture widths that leave tails of every length, tight and padded targets.
TEST(RotateFrameKernel, FilteredPathMatchesReferenceAcrossSamplingWindowsAndBands) {
  struct Case {
    std::size_t sw, sh, dw, dh;
    const char* what;
  };
  const Case cases[] = {
      {40, 30, 120, 90, "enlarged 3x, whole-texel taps"},
      {48, 40, 32, 27, "shrunk 1.5x, windows of 16"},
      {64, 48, 32, 24, "shrunk 2x, windows of exactly 16"},
      {96, 72, 32, 24, "shrunk 3x, gathered"},
      {7, 5, 50, 37, "narrower than a window"},
      {15, 12, 11, 9, "narrower than two windows"},
      {70, 50, 77, 61, "bars and tails"},
  };
  for (VectorUnit unit : availableUnits()) {
    for (const Case& c : cases) {
      auto source = MemoryPixelBuffer::make(c.sw, c.sh, c.sw * 4 + 12);
      fillPattern(*source, std::uint32_t(c.sw * 31 + c.dw));
      for (std::uint32_t turns = 0; turns < 4; ++turns) {
        for (std::size_t targetPad : {std::size_t{0}, std::size_t{20}}) {
          auto target = MemoryPixelBuffer::make(c.dw, c.dh, targetPad ? c.dw * 4 + targetPad : 0);
          std::string first;
          EXPECT_EQ(mismatches(unit, *source, *target, turns, first), 0)
              << unitName(unit) << " " << c.what << " turns " << turns << " target pad " << targetPad << ": " << first;
        }
      }
    }
  }
}

// Channels at 0 and 255 push the filtered values to both ends of their 16-bit range.
TEST(RotateFrameKernel, FilteredPathKeepsExtremeChannelValues) {
  auto source = MemoryPixelBuffer::make(37, 23);
  std::uint32_t state = 7;
  for (std::size_t y = 0; y < 23; ++y) {
    for (std::size_t x = 0; x < 37; ++x) {
      state = state * 1664525u + 1013904223u;
      std::uint32_t value = 0;
      for (int c = 0; c < 4; ++c) value |= ((state >> (c + 11)) & 1 ? 255u : 0u) << (8 * c);
      source->setPixel(x, y, value);
    }
  }
  const std::size_t sizes[][2] = {{74, 46}, {20, 13}, {100, 31}};
  for (VectorUnit unit : availableUnits()) {
    for (const auto& size : sizes) {
      for (std::uint32_t turns = 0; turns < 4; ++turns) {
        auto target = MemoryPixelBuffer::make(size[0], size[1]);
        std::string first;
        EXPECT_EQ(mismatches(unit, *source, *target, turns, first), 0)
            << unitName(unit) << " " << size[0] << "x" << size[1] << " turns " << turns << ": " << first;
      }
    }
  }
}

// A linear ramp enlarged twice: between two texels the blend lands on the rounded mean, and
// clamp-to-edge repeats the edge texels instead of fading to black.
TEST(RotateFrameKernel, FilteredPathBlendsNeighboursAndClampsAtEdges) {
  auto source = MemoryPixelBuffer::make(2, 1);
  source->setPixel(0, 0, bgra(0, 100, 200));
  source->setPixel(1, 0, bgra(255, 101, 0));
  auto target = MemoryPixelBuffer::make(4, 2);
  for (VectorUnit unit : availableUnits()) {
    RotateFrameKernel kernel(unit);
    kernel.run(input(*source), {2, 1, 4, 2, 0}, output(*target));
    // Target columns sample source x = -0.25, 0.25, 0.75, 1.25.
    EXPECT_EQ(target->pixel(0, 0), bgra(0, 100, 200)) << unitName(unit);
    EXPECT_EQ(target->pixel(1, 0), bgra(64, 100, 150)) << unitName(unit);  // 3/4 left, 1/4 right
    EXPECT_EQ(target->pixel(2, 0), bgra(191, 101, 50)) << unitName(unit);  // 1/4 left, 3/4 right
    EXPECT_EQ(target->pixel(3, 1), bgra(255, 101, 0)) << unitName(unit);
  }
}

// The simulated viewport shades only part of the target; nothing outside it is touched.
TEST(RotateFrameKernel, RegionLimitsTheShadedPixels) {
  auto source = MemoryPixelBuffer::make(20, 18);
  fillPattern(*source, 5);
  for (VectorUnit unit : availableUnits()) {
    auto target = MemoryPixelBuffer::make(18, 20);
    RotateFrameKernel kernel(unit);
    kernel.run(input(*source), {20, 18, 18, 20, 1}, output(*target), PixelRegion{2, 3, 17, 19});
    for (std::size_t y = 0; y < 20; ++y) {
      for (std::size_t x = 0; x < 18; ++x) {
        const bool inside = x >= 2 && x < 17 && y >= 3 && y < 19;
        EXPECT_EQ(target->pixel(x, y), inside ? referencePixel(*source, 18, 20, 1, x, y) : 0u)
            << unitName(unit) << " (" << x << ", " << y << ")";
      }
    }
  }
}

// A region that cuts the bars and the picture of a filtered frame: the pixels inside are the
// reference's, the ones outside are untouched.
TEST(RotateFrameKernel, RegionLimitsTheFilteredPixels) {
  auto source = MemoryPixelBuffer::make(64, 48);
  fillPattern(*source, 11);
  const PixelRegion region{3, 5, 61, 60};
  for (VectorUnit unit : availableUnits()) {
    for (std::uint32_t turns = 0; turns < 4; ++turns) {
      auto target = MemoryPixelBuffer::make(70, 66);
      RotateFrameKernel kernel(unit);
      kernel.run(input(*source), {64, 48, 70, 66, turns}, output(*target), region);
      int wrong = 0;
      for (std::size_t y = 0; y < 66; ++y) {
        for (std::size_t x = 0; x < 70; ++x) {
          const bool inside = x >= region.x0 && x < region.x1 && y >= region.y0 && y < region.y1;
          const std::uint32_t want = inside ? referencePixel(*source, 70, 66, turns, x, y) : 0u;
          if (target->pixel(x, y) != want && wrong++ == 0)
            ADD_FAILURE() << unitName(unit) << " turns " << turns << " (" << x << ", " << y << ")";
        }
      }
      EXPECT_EQ(wrong, 0) << unitName(unit) << " turns " << turns;
    }
  }
}

// Degenerate programs stay inside the buffers: an empty source draws black, and a target larger
// than the parameters say shows black past dw × dh.
TEST(RotateFrameKernel, DegenerateParametersDrawBlack) {
  auto source = MemoryPixelBuffer::make(4, 2);
  fillPattern(*source, 9);
  auto target = MemoryPixelBuffer::make(3, 5);
  for (VectorUnit unit : availableUnits()) {
    RotateFrameKernel kernel(unit);
    kernel.run(input(*source), {0, 0, 3, 5, 1}, output(*target));
    for (std::size_t y = 0; y < 5; ++y)
      for (std::size_t x = 0; x < 3; ++x) EXPECT_EQ(target->pixel(x, y), 0xFF000000u);
    kernel.run(input(*source), {4, 2, 2, 4, 1}, output(*target));
    EXPECT_EQ(target->pixel(0, 0), source->pixel(3, 0) | 0xFF000000u);
    EXPECT_EQ(target->pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(target->pixel(0, 4), 0xFF000000u);
  }
}
