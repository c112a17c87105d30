#include "sim/gpu/RotateFrameFiltered.h"

#include <limits>

#include "sim/gpu/RotateFramePixels.h"

namespace turnlet::sim::kernel {
namespace {

using SamplePlan = RotateFrameKernel::SamplePlan;

constexpr std::size_t turnedBand = 8;  // target columns per band of a turned, filtered frame

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

}  // namespace

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

#ifdef TURNLET_KERNEL_X86

namespace {

// AVX2. The blend is separable and exact in integers: Σ_y wy·(Σ_x t·wx) = Σ t·wx·wy. A source
// line is first filtered along a run of target pixels into 16-bit values h = a × (256 − f) + b × f
// (at most 255 × 256), kept as h − 32640 so that they fit signed 16 bits and a signed multiply-add
// of two filtered lines gives Σ + 32768 − 2^23: the rounded result, less 128, in its top 16 bits.
// Each filtered line is made once and serves every target line that samples it.

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

}  // namespace

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

}  // namespace turnlet::sim::kernel
