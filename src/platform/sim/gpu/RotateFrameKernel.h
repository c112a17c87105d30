#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace turnlet::sim {

// BGRA8 images as the kernel sees them: rows bytesPerRow apart.
struct ConstImage {
  const std::uint8_t* pixels = nullptr;
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t bytesPerRow = 0;
};

struct MutableImage {
  std::uint8_t* pixels = nullptr;
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t bytesPerRow = 0;
};

// Half-open rectangle of target pixels.
struct PixelRegion {
  std::size_t x0 = 0;
  std::size_t y0 = 0;
  std::size_t x1 = 0;
  std::size_t y1 = 0;
  bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// The 20-byte parameter block of the rotation program.
struct RotateFrameParameters {
  std::uint32_t sw = 0;
  std::uint32_t sh = 0;
  std::uint32_t dw = 0;
  std::uint32_t dh = 0;
  std::uint32_t turns = 0;
};

enum class VectorUnit { portable, avx2 };

// The simulated GPU's native form of the rotation program's fragment stage `rotateFrame`: it
// shades every target pixel of a region exactly as the program does for a fragment at the
// pixel's centre (rotation, aspect fit, letterbox, alpha 1).
//
// Sizes equal after turning: texel-exact copy; quarter turns as cache-blocked transposition (16 ×
// 16 tiles, each target row written in whole cache lines with streaming stores at any stride).
// The steps live in RotateFrameExact.cpp and RotateFrameFiltered.cpp.
// Otherwise clamp-to-edge bilinear sampling, separated into a filter along source lines and a
// blend of two filtered lines (AVX2), or one pass per pixel (portable). Texel coordinates are
// quantised to 1/256 texel (nearest, halves up), as GPU samplers do with 8 bits of sub-texel
// precision; with fx, fy in 0…256 the result is
//   (Σ texel × weightX × weightY + 32768) >> 16   per channel, weights (256 − f, f),
// which is exact integer arithmetic, so every vector unit gives the same bytes.
//
// The source must hold sw × sh pixels and the target dw × dh (callers check). Not thread-safe:
// it keeps scratch space that grows to the largest frame seen and is reused after that.
class RotateFrameKernel {
 public:
  explicit RotateFrameKernel(VectorUnit unit = bestVectorUnit());

  // avx2 where the processor has it, else portable.
  static VectorUnit bestVectorUnit();

  void run(const ConstImage& source, const RotateFrameParameters& parameters, const MutableImage& target,
           PixelRegion region);
  void run(const ConstImage& source, const RotateFrameParameters& parameters, const MutableImage& target) {
    run(source, parameters, target, PixelRegion{0, 0, target.width, target.height});
  }

  VectorUnit vectorUnit() const { return unit; }

  // Where one target coordinate samples along one source axis: texels index and index + 1
  // (before clamping) with weights (256 − fraction, fraction).
  struct Tap {
    std::int32_t index = 0;
    std::uint32_t fraction = 0;  // 0…256
  };

  // How a run of target pixels samples one source line, in groups of eight pixels: pixel k of a
  // group blends texels base + first[k] and base + second[k] (already clamped to the line) with
  // weights (256 − f, f), or the first texel with itself at (128, 128) when f is 0, so that every
  // weight fits a byte. A group whose texels lie within 8 or 16 of base (reach) reads them as
  // one or two vectors; reach 0 gathers them.
  struct SampleGroup {
    std::int32_t base = 0;
    std::uint32_t reach = 0;
  };
  struct SamplePlan {
    std::vector<SampleGroup> groups;
    std::vector<std::int32_t> first;       // per pixel
    std::vector<std::int32_t> second;      // per pixel
    std::vector<std::uint8_t> weights;     // per pixel, (256 − f, f) once per channel
  };

 private:
  void runExact(const ConstImage& source, const RotateFrameParameters& p, const MutableImage& target,
                PixelRegion region);
  void runFiltered(const ConstImage& source, const RotateFrameParameters& p, const MutableImage& target,
                   PixelRegion region);

  VectorUnit unit;
  std::vector<Tap> columnTaps;  // per target column
  std::vector<Tap> rowTaps;     // per target row
  std::vector<std::uint8_t> rowInside;
  SamplePlan samplePlan;
  std::vector<std::uint16_t> filteredLines;  // two source lines filtered along the target, 4 × 16 bits per pixel
  std::vector<std::uint32_t> bandPixels;     // finished target columns of a turned frame, before transposing
};

}  // namespace turnlet::sim
