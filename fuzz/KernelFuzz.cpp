// The rotation kernel over fuzzed sizes, row strides, regions and turns, on buffers allocated to
// the last byte (so ASan sees any read or write past them). Property: every vector unit writes
// the same bytes, and nothing outside the region changes.
#include <cstdint>
#include <cstring>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "sim/gpu/RotateFrameKernel.h"

using namespace turnlet;
using namespace turnlet::sim;

namespace {

// Exactly the bytes an image of this shape covers: the last row ends at its last pixel.
std::size_t extent(std::size_t width, std::size_t height, std::size_t bytesPerRow) {
  return width == 0 || height == 0 ? 0 : bytesPerRow * (height - 1) + width * 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint32_t sw = in.ConsumeIntegralInRange<std::uint32_t>(1, 70);
  const std::uint32_t sh = in.ConsumeIntegralInRange<std::uint32_t>(1, 70);
  const std::uint32_t dw = in.ConsumeIntegralInRange<std::uint32_t>(1, 70);
  const std::uint32_t dh = in.ConsumeIntegralInRange<std::uint32_t>(1, 70);
  const std::uint32_t turns = in.ConsumeIntegralInRange<std::uint32_t>(0, 3);
  const std::size_t sourceRow = sw * 4 + in.ConsumeIntegralInRange<std::size_t>(0, 40);
  const std::size_t targetRow = dw * 4 + 4 * in.ConsumeIntegralInRange<std::size_t>(0, 10);
  PixelRegion region;
  region.x0 = in.ConsumeIntegralInRange<std::size_t>(0, dw);
  region.x1 = in.ConsumeIntegralInRange<std::size_t>(region.x0, dw);
  region.y0 = in.ConsumeIntegralInRange<std::size_t>(0, dh);
  region.y1 = in.ConsumeIntegralInRange<std::size_t>(region.y0, dh);
  const std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>();

  // The source's row padding is left uninitialised on purpose: reading it is a fault too, but
  // ASan cannot see that, so it holds a pattern the result must not depend on.
  std::vector<std::uint8_t> source(extent(sw, sh, sourceRow));
  std::uint32_t state = seed | 1;
  for (auto& byte : source) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  const ConstImage image{source.data(), sw, sh, sourceRow};
  const RotateFrameParameters parameters{sw, sh, dw, dh, turns};

  std::vector<std::uint8_t> results[2];
  const VectorUnit units[2] = {VectorUnit::portable, RotateFrameKernel::bestVectorUnit()};
  for (int u = 0; u < 2; ++u) {
    std::vector<std::uint8_t> target(extent(dw, dh, targetRow), 0x5A);
    RotateFrameKernel kernel(units[u]);
    kernel.run(image, parameters, MutableImage{target.data(), dw, dh, targetRow}, region);
    for (std::size_t y = 0; y < dh; ++y)
      for (std::size_t x = 0; x < dw; ++x) {
        const bool inside = x >= region.x0 && x < region.x1 && y >= region.y0 && y < region.y1;
        if (inside) continue;
        const std::uint8_t* p = &target[y * targetRow + x * 4];
        fuzz::check(p[0] == 0x5A && p[1] == 0x5A && p[2] == 0x5A && p[3] == 0x5A, "pixels outside the region stay");
      }
    results[u] = std::move(target);
  }
  fuzz::check(results[0] == results[1], "every vector unit writes the same bytes");
  return 0;
}
