#pragma once

// What the rotation kernel's steps share: pixel addressing, the opaque alpha, and (on x86) the
// 8 × 8 register transposition. Internal to RotateFrameKernel and the files that carry out its
// steps (RotateFrameExact.cpp, RotateFrameFiltered.cpp).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sim/gpu/RotateFrameKernel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TURNLET_KERNEL_X86 1
#endif

namespace turnlet::sim::kernel {

constexpr std::uint32_t opaqueBlack = 0xFF000000u;  // BGRA bytes 0, 0, 0, 255
constexpr std::uint32_t alphaMask = 0xFF000000u;
constexpr std::size_t tileSize = 16;  // pixels; 16 BGRA pixels fill one 64-byte cache line
constexpr std::size_t cacheLineBytes = 64;

inline std::uint32_t load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

inline const std::uint8_t* texel(const ConstImage& image, std::size_t x, std::size_t y) {
  return image.pixels + y * image.bytesPerRow + x * 4;
}

inline std::uint8_t* pixel(const MutableImage& image, std::size_t x, std::size_t y) {
  return image.pixels + y * image.bytesPerRow + x * 4;
}

inline std::size_t clampIndex(std::int64_t i, std::size_t n) {
  return static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, static_cast<std::int64_t>(n) - 1));
}

inline void fillBlack(const MutableImage& target, std::size_t y, std::size_t x0, std::size_t x1) {
  std::uint8_t* row = pixel(target, 0, y);
  for (std::size_t x = x0; x < x1; ++x) store32(row + x * 4, opaqueBlack);
}

#ifdef TURNLET_KERNEL_X86

// Transposes eight rows of eight 32-bit pixels in place.
__attribute__((target("avx2"))) inline void transpose8(__m256i r[8]) {
  const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]), t1 = _mm256_unpackhi_epi32(r[0], r[1]);
  const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]), t3 = _mm256_unpackhi_epi32(r[2], r[3]);
  const __m256i t4 = _mm256_unpacklo_epi32(r[4], r[5]), t5 = _mm256_unpackhi_epi32(r[4], r[5]);
  const __m256i t6 = _mm256_unpacklo_epi32(r[6], r[7]), t7 = _mm256_unpackhi_epi32(r[6], r[7]);
  const __m256i u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
  const __m256i u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
  const __m256i u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
  const __m256i u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);
  r[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
  r[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
  r[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
  r[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
  r[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
  r[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
  r[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
  r[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

#endif  // TURNLET_KERNEL_X86

}  // namespace turnlet::sim::kernel
