#pragma once

// The rotation kernel's texel-exact step: target sizes equal to the turned source, every target
// pixel a source texel with alpha 255. The source is sw × sh texels; the region lies inside the
// target.

#include <cstdint>

#include "sim/gpu/RotateFrameKernel.h"

namespace turnlet::sim::kernel {

void exactPortable(const ConstImage& s, std::uint32_t turns, const MutableImage& t, PixelRegion r);

#if defined(__x86_64__) || defined(__i386__)
void exactAvx2(const ConstImage& s, std::uint32_t turns, const MutableImage& t, PixelRegion r);
#endif

}  // namespace turnlet::sim::kernel
