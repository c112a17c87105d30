#include "sim/RotateFrameKernel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TURNLET_KERNEL_X86 1
#endif

namespace turnlet::sim {
namespace {

constexpr std::uint32_t opaqueBlack = 0xFF000000u;  // BGRA bytes 0, 0, 0, 255
constexpr std::uint32_t alphaMask = 0xFF000000u;
constexpr std::size_t tileSize = 16;  // pixels; 16 BGRA pixels fill one 64-byte cache line
constexpr std::size_t turnedBand = 8;  // target columns per band of a turned, filtered frame
// How far ahead a quarter turn prefetches its source: four tiles, both cache lines that each
// tile's 64-byte run of a source row may straddle.
constexpr std::size_t prefetchTiles = 4;

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

// Source texel of target pixel (dx, dy) on the exact path.
inline const std::uint8_t* exactTexel(const ConstImage& s, std::uint32_t turns, std::size_t dx, std::size_t dy,
                                      std::size_t sw, std::size_t sh) {
  switch (turns) {
    case 0:
      return texel(s, dx, dy);
    case 1:
      return texel(s, sw - 1 - dy, dx);
    case 2:
      return texel(s, sw - 1 - dx, sh - 1 - dy);
    default:
      return texel(s, dy, sh - 1 - dx);
  }
}

RotateFrameKernel::Tap quantise(double coordinate) {
  const auto q = static_cast<std::int64_t>(std::floor(coordinate * 256 + 0.5));
  const std::int64_t index = q >= 0 ? q / 256 : -((255 - q) / 256);
  return {static_cast<std::int32_t>(index), static_cast<std::uint32_t>(q - index * 256)};
}

inline std::size_t clampIndex(std::int64_t i, std::size_t n) {
  return static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, static_cast<std::int64_t>(n) - 1));
}

void fillBlack(const MutableImage& target, std::size_t y, std::size_t x0, std::size_t x1) {
  std::uint8_t* row = pixel(target, 0, y);
  for (std::size_t x = x0; x < x1; ++x) store32(row + x * 4, opaqueBlack);
}

inline std::uint32_t bilinear(std::uint32_t c00, std::uint32_t c10, std::uint32_t c01, std::uint32_t c11,
                              std::uint32_t fx, std::uint32_t fy) {
  const std::uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy), w01 = (256 - fx) * fy, w11 = fx * fy;
  std::uint32_t out = alphaMask;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sum = ((c00 >> shift) & 255) * w00 + ((c10 >> shift) & 255) * w10 +
                              ((c01 >> shift) & 255) * w01 + ((c11 >> shift) & 255) * w11;
    out |= ((sum + 32768) >> 16) << shift;
  }
  return out;
}

// ---- portable exact path ------------------------------------------------------------------

void exactPortable(const ConstImage& s, std::uint32_t turns, const MutableImage& t, PixelRegion r) {
  const std::size_t sw = s.width, sh = s.height;
  if (turns == 0) {
    for (std::size_t y = r.y0; y < r.y1; ++y) {
      const std::uint8_t* from = texel(s, 0, y);
      std::uint8_t* to = pixel(t, 0, y);
      for (std::size_t x = r.x0; x < r.x1; ++x) store32(to + x * 4, load32(from + x * 4) | alphaMask);
    }
    return;
  }
  if (turns == 2) {
    for (std::size_t y = r.y0; y < r.y1; ++y) {
      const std::uint8_t* from = texel(s, 0, sh - 1 - y);
      std::uint8_t* to = pixel(t, 0, y);
      for (std::size_t x = r.x0; x < r.x1; ++x) store32(to + x * 4, load32(from + (sw - 1 - x) * 4) | alphaMask);
    }
    return;
  }
  // Quarter turns: 16 × 16 tiles keep the strided side of the transposition in the L1 cache.
  for (std::size_t tx = r.x0; tx < r.x1; tx += tileSize) {
    const std::size_t ex = std::min(tx + tileSize, r.x1);
    for (std::size_t ty = r.y0; ty < r.y1; ty += tileSize) {
      const std::size_t ey = std::min(ty + tileSize, r.y1);
      for (std::size_t y = ty; y < ey; ++y) {
        std::uint8_t* to = pixel(t, 0, y);
        for (std::size_t x = tx; x < ex; ++x)
          store32(to + x * 4, load32(exactTexel(s, turns, x, y, sw, sh)) | alphaMask);
      }
    }
  }
}

// ---- portable filtered path ---------------------------------------------------------------

void filteredPortable(const ConstImage& s, std::uint32_t turns, const MutableImage& t, PixelRegion r, std::size_t xa,
                      std::size_t xb, const std::vector<RotateFrameKernel::Tap>& columns,
                      const std::vector<RotateFrameKernel::Tap>& rows, const std::vector<std::uint8_t>& rowInside) {
  const bool odd = (turns & 1) != 0;
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    if (!rowInside[y - r.y0] || xa >= xb) {
      fillBlack(t, y, r.x0, r.x1);
      continue;
    }
    fillBlack(t, y, r.x0, xa);
    fillBlack(t, y, xb, r.x1);
    const RotateFrameKernel::Tap rowTap = rows[y - r.y0];
    std::uint8_t* to = pixel(t, 0, y);
    for (std::size_t x = xa; x < xb; ++x) {
      const RotateFrameKernel::Tap columnTap = columns[x - r.x0];
      const auto& tx = odd ? rowTap : columnTap;
      const auto& ty = odd ? columnTap : rowTap;
      const std::size_t x0 = clampIndex(tx.index, s.width), x1 = clampIndex(std::int64_t(tx.index) + 1, s.width);
      const std::size_t y0 = clampIndex(ty.index, s.height), y1 = clampIndex(std::int64_t(ty.index) + 1, s.height);
      store32(to + x * 4, bilinear(load32(texel(s, x0, y0)), load32(texel(s, x1, y0)), load32(texel(s, x0, y1)),
                                   load32(texel(s, x1, y1)), tx.fraction, ty.fraction));
    }
  }
}

// Turned frames (turns 1, 3): a target row samples one pair of source columns and a target
// column one pair of source rows. Bands of eight target columns read sixteen source rows (few
// enough streams for the hardware prefetcher to follow) while the band walks along them.
void filteredTurned(const ConstImage& s, const MutableImage& t, PixelRegion r, std::size_t xa, std::size_t xb,
                    const std::vector<RotateFrameKernel::Tap>& columns, const std::vector<RotateFrameKernel::Tap>& rows,
                    const std::vector<std::uint8_t>& rowInside) {
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    if (!rowInside[y - r.y0] || xa >= xb) {
      fillBlack(t, y, r.x0, r.x1);
    } else {
      fillBlack(t, y, r.x0, xa);
      fillBlack(t, y, xb, r.x1);
    }
  }
  const std::uint8_t* upper[turnedBand];
  const std::uint8_t* lower[turnedBand];
  std::uint32_t fractions[turnedBand];
  for (std::size_t xs = xa; xs < xb; xs += turnedBand) {
    const std::size_t count = std::min(turnedBand, xb - xs);
    for (std::size_t k = 0; k < count; ++k) {
      const RotateFrameKernel::Tap tap = columns[xs + k - r.x0];
      upper[k] = texel(s, 0, clampIndex(tap.index, s.height));
      lower[k] = texel(s, 0, clampIndex(std::int64_t(tap.index) + 1, s.height));
      fractions[k] = tap.fraction;
    }
    for (std::size_t y = r.y0; y < r.y1; ++y) {
      if (!rowInside[y - r.y0]) continue;
      const RotateFrameKernel::Tap tap = rows[y - r.y0];
      const std::size_t c0 = clampIndex(tap.index, s.width) * 4,
                        c1 = clampIndex(std::int64_t(tap.index) + 1, s.width) * 4;
      std::uint8_t* to = pixel(t, xs, y);
      for (std::size_t k = 0; k < count; ++k) {
        store32(to + k * 4, bilinear(load32(upper[k] + c0), load32(upper[k] + c1), load32(lower[k] + c0),
                                     load32(lower[k] + c1), tap.fraction, fractions[k]));
      }
    }
  }
}

// Plans how `count` target pixels with these taps sample a source line of n texels (n ≥ 1).
void planSamples(const RotateFrameKernel::Tap* taps, std::size_t count, std::size_t n,
                 RotateFrameKernel::SamplePlan& plan) {
  const std::size_t groups = (count + 7) / 8;
  plan.groups.resize(groups);
  plan.first.resize(groups * 8);
  plan.second.resize(groups * 8);
  plan.weights.resize(groups * 64);
  const auto texels = static_cast<std::int32_t>(n);
  for (std::size_t g = 0; g < groups; ++g) {
    std::int32_t first[8], second[8];
    std::int32_t lo = std::numeric_limits<std::int32_t>::max(), hi = 0;
    for (std::size_t k = 0; k < 8; ++k) {
      // The last group repeats its last pixel; those results are never stored.
      const RotateFrameKernel::Tap tap = taps[std::min(g * 8 + k, count - 1)];
      first[k] = static_cast<std::int32_t>(clampIndex(tap.index, n));
      second[k] = static_cast<std::int32_t>(clampIndex(std::int64_t(tap.index) + 1, n));
      lo = std::min({lo, first[k], second[k]});
      hi = std::max({hi, first[k], second[k]});
      // Weights (256 − f, f) as bytes; f = 0 blends the texel with itself at (128, 128).
      std::uint8_t w0 = static_cast<std::uint8_t>(256 - tap.fraction), w1 = static_cast<std::uint8_t>(tap.fraction);
      if (tap.fraction == 0) {
        second[k] = first[k];
        w0 = w1 = 128;
      }
      // Byte order of the unpacked texel pairs: pixels 0 1 4 5, then 2 3 6 7.
      const std::size_t slot = g * 8 + (k & 1) + (k & 2) * 2 + (k & 4) / 2;
      for (std::size_t c = 0; c < 4; ++c) {
        plan.weights[slot * 8 + c * 2] = w0;
        plan.weights[slot * 8 + c * 2 + 1] = w1;
      }
    }
    RotateFrameKernel::SampleGroup group{lo, 0};
    // Windows end inside the line: near its end they start earlier.
    if (hi - lo < 8 && texels >= 8) {
      group = {std::min(lo, texels - 8), 8};
    } else if (hi - lo < 16 && texels >= 16) {
      group = {std::min(lo, texels - 16), 16};
    }
    plan.groups[g] = group;
    for (std::size_t k = 0; k < 8; ++k) {
      plan.first[g * 8 + k] = first[k] - group.base;
      plan.second[g * 8 + k] = second[k] - group.base;
    }
  }
}

#ifdef TURNLET_KERNEL_X86

// ---- AVX2 exact path ----------------------------------------------------------------------

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

// One 16 × 16 target tile of a quarter turn. Source row j of the tile (j = target column offset)
// starts at rowStart(j); its 16 texels, read left to right, become target rows in order, or in
// reverse order when `reverse` is set. Results gather in an L1 tile so that each target row gets
// one full cache line, written in one go.
template <bool Streaming>
__attribute__((target("avx2"))) void quarterTile(const std::uint8_t* const rowStart[tileSize], bool reverse,
                                                 std::uint8_t* targetTopLeft, std::size_t targetStride) {
  alignas(64) std::uint32_t tile[tileSize][tileSize];
  for (std::size_t jb = 0; jb < tileSize; jb += 8) {
    for (std::size_t mb = 0; mb < tileSize; mb += 8) {
      __m256i r[8];
      for (std::size_t k = 0; k < 8; ++k)
        r[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rowStart[jb + k] + mb * 4));
      transpose8(r);
      for (std::size_t m = 0; m < 8; ++m) {
        const std::size_t row = reverse ? tileSize - 1 - (mb + m) : mb + m;
        _mm256_store_si256(reinterpret_cast<__m256i*>(&tile[row][jb]), r[m]);
      }
    }
  }
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(alphaMask));
  for (std::size_t i = 0; i < tileSize; ++i) {
    auto* to = reinterpret_cast<__m256i*>(targetTopLeft + i * targetStride);
    const __m256i a = _mm256_or_si256(_mm256_load_si256(reinterpret_cast<const __m256i*>(&tile[i][0])), alpha);
    const __m256i b = _mm256_or_si256(_mm256_load_si256(reinterpret_cast<const __m256i*>(&tile[i][8])), alpha);
    if constexpr (Streaming) {
      _mm256_stream_si256(to, a);
      _mm256_stream_si256(to + 1, b);
    } else {
      _mm256_storeu_si256(to, a);
      _mm256_storeu_si256(to + 1, b);
    }
  }
}

template <bool Streaming>
__attribute__((target("avx2"))) void quarterTurnAvx2(const ConstImage& s, std::uint32_t turns, const MutableImage& t,
                                                     PixelRegion r) {
  const std::size_t sw = s.width, sh = s.height;
  const std::size_t fullX = r.x0 + (r.x1 - r.x0) / tileSize * tileSize;
  const std::size_t fullY = r.y0 + (r.y1 - r.y0) / tileSize * tileSize;
  const std::uint8_t* rows[tileSize];
  const std::size_t bands = (fullX - r.x0) / tileSize;
  // One band of sixteen target rows at a time, written left to right or right to left in whole
  // cache lines: sixteen write streams whose pages stay in the TLB. The tiles of a band read one
  // 64-byte run of each source row, walking down the source (turn 1 left to right, turn 3 right
  // to left, so that both read downward), with a prefetch a few tiles ahead.
  for (std::size_t y = r.y0; y < fullY; y += tileSize) {
    for (std::size_t step = 0; step < bands; ++step) {
      if (turns == 1) {
        // target (x + j, y + i) = source (sw − 1 − y − i, x + j)
        const std::size_t x = r.x0 + step * tileSize;
        if (step + prefetchTiles < bands)
          for (std::size_t j = 0; j < tileSize; ++j) {
            const char* at =
                reinterpret_cast<const char*>(texel(s, sw - tileSize - y, x + prefetchTiles * tileSize + j));
            _mm_prefetch(at, _MM_HINT_T0);
            _mm_prefetch(at + 63, _MM_HINT_T0);
          }
        for (std::size_t j = 0; j < tileSize; ++j) rows[j] = texel(s, sw - tileSize - y, x + j);
        quarterTile<Streaming>(rows, true, pixel(t, x, y), t.bytesPerRow);
      } else {
        // target (x + j, y + i) = source (y + i, sh − 1 − x − j)
        const std::size_t x = r.x0 + (bands - 1 - step) * tileSize;
        if (step + prefetchTiles < bands)
          for (std::size_t j = 0; j < tileSize; ++j) {
            const char* at = reinterpret_cast<const char*>(texel(s, y, sh - 1 - (x - prefetchTiles * tileSize) - j));
            _mm_prefetch(at, _MM_HINT_T0);
            _mm_prefetch(at + 63, _MM_HINT_T0);
          }
        for (std::size_t j = 0; j < tileSize; ++j) rows[j] = texel(s, y, sh - 1 - x - j);
        quarterTile<Streaming>(rows, false, pixel(t, x, y), t.bytesPerRow);
      }
    }
  }
  // Edges narrower than a tile.
  exactPortable(s, turns, t, PixelRegion{fullX, r.y0, r.x1, r.y1});
  exactPortable(s, turns, t, PixelRegion{r.x0, fullY, fullX, r.y1});
}

template <bool Streaming>
__attribute__((target("avx2"))) void halfTurnAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r) {
  const std::size_t sw = s.width, sh = s.height;
  const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(alphaMask));
  const std::size_t full = r.x0 + (r.x1 - r.x0) / tileSize * tileSize;
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    const std::uint8_t* from = texel(s, 0, sh - 1 - y);
    std::uint8_t* to = pixel(t, 0, y);
    for (std::size_t x = r.x0; x < full; x += tileSize) {
      // target x … x + 15 = source sw − 1 − x … sw − 16 − x
      const std::uint8_t* last = from + (sw - tileSize - x) * 4;
      const __m256i hi = _mm256_or_si256(
          _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(last + 32)), reverse), alpha);
      const __m256i lo = _mm256_or_si256(
          _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(last)), reverse), alpha);
      auto* out = reinterpret_cast<__m256i*>(to + x * 4);
      if constexpr (Streaming) {
        _mm256_stream_si256(out, hi);
        _mm256_stream_si256(out + 1, lo);
      } else {
        _mm256_storeu_si256(out, hi);
        _mm256_storeu_si256(out + 1, lo);
      }
    }
    for (std::size_t x = full; x < r.x1; ++x) store32(to + x * 4, load32(from + (sw - 1 - x) * 4) | alphaMask);
  }
}

template <bool Streaming>
__attribute__((target("avx2"))) void copyAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r) {
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(alphaMask));
  const std::size_t full = r.x0 + (r.x1 - r.x0) / tileSize * tileSize;
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    const std::uint8_t* from = texel(s, 0, y);
    std::uint8_t* to = pixel(t, 0, y);
    for (std::size_t x = r.x0; x < full; x += tileSize) {
      const __m256i a = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + x * 4)), alpha);
      const __m256i b = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + x * 4 + 32)), alpha);
      auto* out = reinterpret_cast<__m256i*>(to + x * 4);
      if constexpr (Streaming) {
        _mm256_stream_si256(out, a);
        _mm256_stream_si256(out + 1, b);
      } else {
        _mm256_storeu_si256(out, a);
        _mm256_storeu_si256(out + 1, b);
      }
    }
    for (std::size_t x = full; x < r.x1; ++x) store32(to + x * 4, load32(from + x * 4) | alphaMask);
  }
}

__attribute__((target("avx2"))) void exactAvx2(const ConstImage& s, std::uint32_t turns, const MutableImage& t,
                                               PixelRegion r) {
  // Streaming stores need 32-byte aligned targets; full 64-byte lines keep them from reading
  // the target first.
  const bool streaming = (reinterpret_cast<std::uintptr_t>(pixel(t, r.x0, 0)) % 64) == 0 && t.bytesPerRow % 64 == 0;
  if (turns == 0) {
    streaming ? copyAvx2<true>(s, t, r) : copyAvx2<false>(s, t, r);
  } else if (turns == 2) {
    streaming ? halfTurnAvx2<true>(s, t, r) : halfTurnAvx2<false>(s, t, r);
  } else {
    streaming ? quarterTurnAvx2<true>(s, turns, t, r) : quarterTurnAvx2<false>(s, turns, t, r);
  }
  _mm_sfence();
}

// ---- AVX2 filtered path -------------------------------------------------------------------
//
// The blend is separable and exact in integers: Σ_y wy·(Σ_x t·wx) = Σ t·wx·wy. A source line is
// first filtered along a run of target pixels into 16-bit values h = a × (256 − f) + b × f (at
// most 255 × 256), kept as h − 32640 so that they fit signed 16 bits and a signed multiply-add of
// two filtered lines gives Σ + 32768 − 2^23: the rounded result, less 128, in its top 16 bits. Each filtered line is made once and serves every target line that
// samples it.

using SamplePlan = RotateFrameKernel::SamplePlan;

// Filters one source line (texel 0 at `line`) along a plan: four 16-bit channels per pixel.
__attribute__((target("avx2"))) void filterLine(const std::uint8_t* line, const SamplePlan& plan, std::uint16_t* out) {
  const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i seven = _mm256_set1_epi32(7);
  const __m256i offset = _mm256_set1_epi16(128);
  const RotateFrameKernel::SampleGroup* groups = plan.groups.data();
  const std::int32_t* firsts = plan.first.data();
  const std::int32_t* seconds = plan.second.data();
  const std::uint8_t* weights = plan.weights.data();
  const std::size_t groupCount = plan.groups.size();
  for (std::size_t g = 0; g < groupCount; ++g) {
    const RotateFrameKernel::SampleGroup group = groups[g];
    const std::uint8_t* at = line + std::size_t(group.base) * 4;
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(firsts + g * 8));
    const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(seconds + g * 8));
    __m256i a, b;
    if (group.reach == 8) {
      const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      a = _mm256_permutevar8x32_epi32(w, first);
      b = _mm256_permutevar8x32_epi32(w, second);
    } else if (group.reach == 16) {
      const __m256i w0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      const __m256i w1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
      a = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(w0, first), _mm256_permutevar8x32_epi32(w1, first),
                             _mm256_cmpgt_epi32(first, seven));
      b = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(w0, second), _mm256_permutevar8x32_epi32(w1, second),
                             _mm256_cmpgt_epi32(second, seven));
    } else {
      a = _mm256_i32gather_epi32(reinterpret_cast<const int*>(at), first, 4);
      b = _mm256_i32gather_epi32(reinterpret_cast<const int*>(at), second, 4);
    }
    // Texel pairs interleaved by channel: pixels 0 1 | 4 5, then 2 3 | 6 7. Bytes flipped and read
    // as signed are t − 128, so (a − 128) × (256 − f) + (b − 128) × f = h − 32768; + 128 gives the
    // offset that blendPixels relies on.
    const __m256i pairs0 = _mm256_xor_si256(_mm256_unpacklo_epi8(a, b), flip);
    const __m256i pairs1 = _mm256_xor_si256(_mm256_unpackhi_epi8(a, b), flip);
    const __m256i w0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + g * 64));
    const __m256i w1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + g * 64 + 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + g * 32),
                        _mm256_add_epi16(_mm256_maddubs_epi16(w0, pairs0), offset));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + g * 32 + 16),
                        _mm256_add_epi16(_mm256_maddubs_epi16(w1, pairs1), offset));
  }
}

// Eight finished pixels at `x` of two filtered lines blended with weights (256 − f, f).
// Eight pixels at `x` of two filtered lines, the lines' values interleaved for multiply-add.
struct FilteredPairs {
  __m256i v[4];
};

__attribute__((target("avx2"))) inline FilteredPairs pairsAt(const std::uint16_t* upper, const std::uint16_t* lower,
                                                             std::size_t x) {
  const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + x * 4));
  const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + x * 4 + 16));
  const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + x * 4));
  const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + x * 4 + 16));
  return {{_mm256_unpacklo_epi16(a0, b0), _mm256_unpackhi_epi16(a0, b0), _mm256_unpacklo_epi16(a1, b1),
           _mm256_unpackhi_epi16(a1, b1)}};
}

// The eight finished pixels for weights (256 − f, f) in every 32-bit lane of `weights`.
__attribute__((target("avx2"))) inline __m256i blendPixels(const FilteredPairs& pairs, __m256i weights) {
  __m256i sums[4];
  for (int k = 0; k < 4; ++k) sums[k] = _mm256_srai_epi32(_mm256_madd_epi16(pairs.v[k], weights), 16);  // result − 128
  // Filtered lines hold pixels 0 1 | 4 5, then 2 3 | 6 7, which packing puts back in order.
  const __m256i bytes = _mm256_packs_epi16(_mm256_packs_epi32(sums[0], sums[1]), _mm256_packs_epi32(sums[2], sums[3]));
  return _mm256_or_si256(_mm256_xor_si256(bytes, _mm256_set1_epi8(static_cast<char>(0x80))),
                         _mm256_set1_epi32(static_cast<int>(alphaMask)));
}

__attribute__((target("avx2"))) inline __m256i verticalWeights(std::uint32_t f) {
  return _mm256_set1_epi32(static_cast<int>((f << 16) | (256 - f)));
}

template <bool Streaming>
__attribute__((target("avx2"))) inline void storePixels(std::uint8_t* to, __m256i pixels) {
  if constexpr (Streaming) {
    _mm256_stream_si256(reinterpret_cast<__m256i*>(to), pixels);
  } else {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), pixels);
  }
}

__attribute__((target("avx2"))) inline void storeSome(std::uint8_t* to, __m256i pixels, std::size_t count) {
  alignas(32) std::uint32_t rest[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(rest), pixels);
  std::memcpy(to, rest, count * 4);
}

// `count` finished pixels of two filtered lines; filtered lines hold whole groups of eight.
template <bool Streaming>
__attribute__((target("avx2"))) void blendLines(const std::uint16_t* upper, const std::uint16_t* lower, std::uint32_t f,
                                                std::uint8_t* to, std::size_t count) {
  const __m256i weights = verticalWeights(f);
  std::size_t x = 0;
  for (; x + 8 <= count; x += 8) storePixels<Streaming>(to + x * 4, blendPixels(pairsAt(upper, lower, x), weights));
  if (x < count) storeSome(to + x * 4, blendPixels(pairsAt(upper, lower, x), weights), count - x);
}

// Two target lines that sample the same two filtered lines, with their own weights.
template <bool Streaming>
__attribute__((target("avx2"))) void blendLinesTwice(const std::uint16_t* upper, const std::uint16_t* lower,
                                                     std::uint32_t f, std::uint32_t g, std::uint8_t* to,
                                                     std::uint8_t* toNext, std::size_t count) {
  const __m256i weights = verticalWeights(f), nextWeights = verticalWeights(g);
  std::size_t x = 0;
  for (; x + 8 <= count; x += 8) {
    const FilteredPairs pairs = pairsAt(upper, lower, x);
    storePixels<Streaming>(to + x * 4, blendPixels(pairs, weights));
    storePixels<Streaming>(toNext + x * 4, blendPixels(pairs, nextWeights));
  }
  if (x < count) {
    const FilteredPairs pairs = pairsAt(upper, lower, x);
    storeSome(to + x * 4, blendPixels(pairs, weights), count - x);
    storeSome(toNext + x * 4, blendPixels(pairs, nextWeights), count - x);
  }
}


// Rows of a frame turned by 0 or 2: each target row blends two source rows filtered along the
// target's columns; two filtered rows are kept, by parity, for the target rows that follow.
__attribute__((target("avx2"))) void filteredRowsAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r,
                                                      std::size_t xa, std::size_t xb,
                                                      const std::vector<RotateFrameKernel::Tap>& columns,
                                                      const std::vector<RotateFrameKernel::Tap>& rows,
                                                      const std::vector<std::uint8_t>& rowInside, SamplePlan& plan,
                                                      std::vector<std::uint16_t>& lines) {
  const std::size_t count = xb - xa;
  planSamples(columns.data() + (xa - r.x0), count, s.width, plan);
  const std::size_t stride = plan.groups.size() * 32;
  lines.resize(2 * stride);
  std::size_t held[2] = {std::numeric_limits<std::size_t>::max(), std::numeric_limits<std::size_t>::max()};
  auto filtered = [&](std::size_t row) {
    std::uint16_t* line = lines.data() + (row & 1) * stride;
    if (held[row & 1] != row) {
      filterLine(texel(s, 0, row), plan, line);
      held[row & 1] = row;
    }
    return line;
  };
  const bool streaming = reinterpret_cast<std::uintptr_t>(pixel(t, xa, 0)) % 32 == 0 && t.bytesPerRow % 32 == 0;
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    if (!rowInside[y - r.y0]) {
      fillBlack(t, y, r.x0, r.x1);
      continue;
    }
    const RotateFrameKernel::Tap tap = rows[y - r.y0];
    const std::size_t r0 = clampIndex(tap.index, s.height), r1 = clampIndex(std::int64_t(tap.index) + 1, s.height);
    const std::uint16_t* upper = filtered(r0);
    const std::uint16_t* lower = filtered(r1);
    fillBlack(t, y, r.x0, xa);
    fillBlack(t, y, xb, r.x1);
    // Enlarged, the next target row usually samples the same two source rows.
    if (y + 1 < r.y1 && rowInside[y + 1 - r.y0]) {
      const RotateFrameKernel::Tap next = rows[y + 1 - r.y0];
      if (clampIndex(next.index, s.height) == r0 && clampIndex(std::int64_t(next.index) + 1, s.height) == r1) {
        fillBlack(t, y + 1, r.x0, xa);
        fillBlack(t, y + 1, xb, r.x1);
        if (streaming) {
          blendLinesTwice<true>(upper, lower, tap.fraction, next.fraction, pixel(t, xa, y), pixel(t, xa, y + 1), count);
        } else {
          blendLinesTwice<false>(upper, lower, tap.fraction, next.fraction, pixel(t, xa, y), pixel(t, xa, y + 1),
                                 count);
        }
        ++y;
        continue;
      }
    }
    if (streaming) {
      blendLines<true>(upper, lower, tap.fraction, pixel(t, xa, y), count);
    } else {
      blendLines<false>(upper, lower, tap.fraction, pixel(t, xa, y), count);
    }
  }
  _mm_sfence();
}

// Frames turned by 1 or 3: a target column blends two source rows filtered along the target's
// rows. Bands of up to 16 target columns (ending on 16-pixel boundaries) are finished column by
// column into a scratch band, then transposed 8 × 8 into target rows, so that each target row of
// a full band receives one whole 64-byte line.
__attribute__((target("avx2"))) void filteredTurnedAvx2(const ConstImage& s, const MutableImage& t, PixelRegion r,
                                                        std::size_t xa, std::size_t xb,
                                                        const std::vector<RotateFrameKernel::Tap>& columns,
                                                        const std::vector<RotateFrameKernel::Tap>& rows,
                                                        const std::vector<std::uint8_t>& rowInside, SamplePlan& plan,
                                                        std::vector<std::uint16_t>& lines,
                                                        std::vector<std::uint32_t>& band) {
  std::size_t ya = r.y1, yb = r.y0;
  for (std::size_t y = r.y0; y < r.y1; ++y) {
    if (!rowInside[y - r.y0]) {
      fillBlack(t, y, r.x0, r.x1);
      continue;
    }
    ya = std::min(ya, y);
    yb = y + 1;
    fillBlack(t, y, r.x0, xa);
    fillBlack(t, y, xb, r.x1);
  }
  if (ya >= yb) return;
  const std::size_t count = yb - ya;
  planSamples(rows.data() + (ya - r.y0), count, s.width, plan);
  const std::size_t height = plan.groups.size() * 8;  // whole groups; the rows past count are never stored
  const std::size_t stride = plan.groups.size() * 32;
  lines.resize(2 * stride);
  band.resize(tileSize * height);
  std::size_t held[2] = {std::numeric_limits<std::size_t>::max(), std::numeric_limits<std::size_t>::max()};
  auto filtered = [&](std::size_t row) {
    std::uint16_t* line = lines.data() + (row & 1) * stride;
    if (held[row & 1] != row) {
      filterLine(texel(s, 0, row), plan, line);
      held[row & 1] = row;
    }
    return line;
  };
  const bool alignedRows = reinterpret_cast<std::uintptr_t>(t.pixels) % 64 == 0 && t.bytesPerRow % 64 == 0;
  for (std::size_t bx = xa; bx < xb;) {
    const std::size_t be = std::min(xb, (bx / tileSize + 1) * tileSize);
    const std::size_t width = be - bx;
    for (std::size_t x = bx; x < be; ++x) {
      const RotateFrameKernel::Tap tap = columns[x - r.x0];
      const std::size_t r0 = clampIndex(tap.index, s.height), r1 = clampIndex(std::int64_t(tap.index) + 1, s.height);
      const std::uint16_t* upper = filtered(r0);
      const std::uint16_t* lower = filtered(r1);
      auto* to = reinterpret_cast<std::uint8_t*>(band.data() + (x - bx) * height);
      if (x + 1 < be) {
        const RotateFrameKernel::Tap next = columns[x + 1 - r.x0];
        if (clampIndex(next.index, s.height) == r0 && clampIndex(std::int64_t(next.index) + 1, s.height) == r1) {
          blendLinesTwice<false>(upper, lower, tap.fraction, next.fraction, to, to + height * 4, height);
          ++x;
          continue;
        }
      }
      blendLines<false>(upper, lower, tap.fraction, to, height);
    }
    const bool streaming = alignedRows && width == tileSize;
    for (std::size_t y = 0; y < count; y += 8) {
      const std::size_t rowsHere = std::min<std::size_t>(8, count - y);
      for (std::size_t kb = 0; kb < width; kb += 8) {
        __m256i v[8];
        for (std::size_t k = 0; k < 8; ++k)
          v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(band.data() + (kb + k) * height + y));
        transpose8(v);
        const std::size_t columnsHere = std::min<std::size_t>(8, width - kb);
        for (std::size_t m = 0; m < rowsHere; ++m) {
          std::uint8_t* to = pixel(t, bx + kb, ya + y + m);
          if (streaming) {
            _mm256_stream_si256(reinterpret_cast<__m256i*>(to), v[m]);
          } else if (columnsHere == 8) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), v[m]);
          } else {
            alignas(32) std::uint32_t rest[8];
            _mm256_store_si256(reinterpret_cast<__m256i*>(rest), v[m]);
            std::memcpy(to, rest, columnsHere * 4);
          }
        }
      }
    }
    bx = be;
  }
  _mm_sfence();
}

#endif  // TURNLET_KERNEL_X86

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
  if (region.x0 >= region.x1 || region.y0 >= region.y1) return;
  RotateFrameParameters p = parameters;
  p.turns &= 3;
  const Fit fit = fitFor(p);
  if (fit.empty) {
    for (std::size_t y = region.y0; y < region.y1; ++y) fillBlack(target, y, region.x0, region.x1);
  } else if (fit.exact) {
    // Pixels past dw × dh (a target larger than the program was told) lie outside the picture.
    const PixelRegion inside{region.x0, region.y0, std::min<std::size_t>(region.x1, p.dw),
                             std::min<std::size_t>(region.y1, p.dh)};
    if (inside.x0 < inside.x1 && inside.y0 < inside.y1) runExact(source, p, target, inside);
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
