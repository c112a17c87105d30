#pragma once

// The rotation kernel's filtered step: target sizes that differ from the turned source, shaded by
// clamp-to-edge bilinear sampling (see RotateFrameKernel.h for the arithmetic). Every function
// shades the region's rows: target columns [xa, xb) from the source, the rest of the region and
// the rows outside the picture (rowInside 0) opaque black. Taps are indexed from the region's
// first column and row.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/gpu/RotateFrameKernel.h"

namespace turnlet::sim::kernel {

// Portable, one pass per pixel; turns 0 and 2.
void filteredPortable(const ConstImage& s, std::uint32_t turns, const MutableImage& t, PixelRegion r, std::size_t xa,
                      std::size_t xb, const std::vector<RotateFrameKernel::Tap>& columns,
                      const std::vector<RotateFrameKernel::Tap>& rows, const std::vector<std::uint8_t>& rowInside);

// Portable, turns 1 and 3.
void filteredTurned(const ConstImage& s, const MutableImage& t, PixelRegion r, std::size_t xa, std::size_t xb,
                    const std::vector<RotateFrameKernel::Tap>& columns, const std::vector<RotateFrameKernel::Tap>& rows,
                    const std::vector<std::uint8_t>& rowInside);

#if defined(__x86_64__) || defined(__i386__)

// AVX2, turns 0 and 2; plan and lines are scratch that grows to the largest frame.
void filteredRowsAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r, std::size_t xa, std::size_t xb,
                      const std::vector<RotateFrameKernel::Tap>& columns,
                      const std::vector<RotateFrameKernel::Tap>& rows, const std::vector<std::uint8_t>& rowInside,
                      RotateFrameKernel::SamplePlan& plan, std::vector<std::uint16_t>& lines);

// AVX2, turns 1 and 3; band is scratch as well.
void filteredTurnedAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r, std::size_t xa, std::size_t xb,
                        const std::vector<RotateFrameKernel::Tap>& columns,
                        const std::vector<RotateFrameKernel::Tap>& rows, const std::vector<std::uint8_t>& rowInside,
                        RotateFrameKernel::SamplePlan& plan, std::vector<std::uint16_t>& lines,
                        std::vector<std::uint32_t>& band);

#endif

}  // namespace turnlet::sim::kernel
