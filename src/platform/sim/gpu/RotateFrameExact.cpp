#include "sim/gpu/RotateFrameExact.h"

#include "sim/gpu/RotateFramePixels.h"

namespace turnlet::sim::kernel {
namespace {

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

}  // namespace

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

#ifdef TURNLET_KERNEL_X86

namespace {

// Quarter turns transpose: a target row is a source column. They run in bands of 16 target rows,
// left to right in steps of one 16 × 16 tile. A step reads a 64-byte run from each of 16 source
// rows (prefetched a few steps ahead) and transposes it, as four 8 × 8 register blocks, into a
// small window that holds each band row's pixels of this step and the last. Each band row then
// writes the 16 pixels of the window that fill one of its cache lines. Where the target's stride
// is not a multiple of 64 bytes every row's lines start at a different column; writing whole
// lines where they lie, instead of tile columns, lets every line go out with streaming stores at
// every stride: no read of the target first, no line written in two halves at different times.

// How far ahead a quarter turn prefetches its source, in steps: both lines that a 64-byte run of a
// source row may straddle, into the L2 cache only. Prefetched into L1, the four steps in flight
// (up to 128 lines) evict the runs being transposed; all runs of a band share one column, so with
// rows a multiple of 4 KiB apart they even share one L1 set.
constexpr std::size_t prefetchSteps = 4;

// The band rows' pixels of the previous step (columns 0 … 15) and of this one (16 … 31), opaque.
struct TileWindow {
  alignas(cacheLineBytes) std::uint32_t rows[tileSize][2 * tileSize];
};

// Where a step's 16 source runs start: the first at `first`, each next one `next` bytes on.
struct SourceRuns {
  const std::uint8_t* first;
  std::ptrdiff_t next;
  const std::uint8_t* operator[](std::size_t j) const { return first + std::ptrdiff_t(j) * next; }
};

// Whether a run's texels, left to right, are the target column top to bottom or bottom to top.
enum class RunOrder { topDown, bottomUp };

// Transposes the runs (16 texels each) into the window's current columns, run j to column j.
template <RunOrder Order>
__attribute__((target("avx2"))) inline void transposeIntoWindow(SourceRuns runs, TileWindow& window) {
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(alphaMask));
  for (std::size_t jb = 0; jb < tileSize; jb += 8) {
    for (std::size_t mb = 0; mb < tileSize; mb += 8) {
      __m256i r[8];
      for (std::size_t k = 0; k < 8; ++k)
        r[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(runs[jb + k] + mb * 4));
      transpose8(r);
      for (std::size_t m = 0; m < 8; ++m) {
        const std::size_t row = Order == RunOrder::bottomUp ? tileSize - 1 - (mb + m) : mb + m;
        _mm256_store_si256(reinterpret_cast<__m256i*>(&window.rows[row][tileSize + jb]), _mm256_or_si256(r[m], alpha));
      }
    }
  }
}

// One step: prefetches the runs `ahead` bytes on (none at 0), transposes these into the window.
template <RunOrder Order>
__attribute__((target("avx2"))) inline void transposeStep(SourceRuns runs, std::ptrdiff_t ahead, TileWindow& window) {
  if (ahead != 0) {
    for (std::size_t j = 0; j < tileSize; ++j) {
      const char* at = reinterpret_cast<const char*>(runs[j] + ahead);
      _mm_prefetch(at, _MM_HINT_T1);
      _mm_prefetch(at + cacheLineBytes - 1, _MM_HINT_T1);
    }
  }
  transposeIntoWindow<Order>(runs, window);
}

// Writes window row i's 16 pixels that end `end` columns into the current step, ending at `until`.
template <bool Streaming>
__attribute__((target("avx2"))) inline void writeLine(const TileWindow& window, std::size_t i, std::size_t end,
                                                      std::uint8_t* until) {
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&window.rows[i][end]));
  const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&window.rows[i][end + 8]));
  auto* to = reinterpret_cast<__m256i*>(until) - 2;
  if constexpr (Streaming) {
    _mm256_stream_si256(to, a);
    _mm256_stream_si256(to + 1, b);
  } else {
    _mm256_storeu_si256(to, a);
    _mm256_storeu_si256(to + 1, b);
  }
}

// Where the target rows' cache lines lie: all on the tiles' 16-pixel grid (rows a multiple of 64
// bytes apart, or plain stores that need no lines), or each row's at its own column.
enum class TargetLines { onTileGrid, perRow };

// One band: target rows y … y + 15, columns x0 … x0 + 16 × steps − 1, whose first step reads
// firstRuns.
template <bool Streaming, RunOrder Order, TargetLines Lines>
__attribute__((target("avx2"))) void quarterTurnBand(SourceRuns firstRuns, const MutableImage& t, std::size_t x0,
                                                     std::size_t steps, std::size_t y) {
  const std::ptrdiff_t stepBytes = firstRuns.next * std::ptrdiff_t(tileSize);
  const std::ptrdiff_t ahead = stepBytes * std::ptrdiff_t(prefetchSteps);
  std::uint8_t* const corner = pixel(t, x0, y);
  const std::size_t stride = t.bytesPerRow;
  // After each step row i writes the 16 window pixels that end lineEnd[i] pixels into the step's
  // tile (1 … 16): one whole cache line of the row.
  std::size_t lineEnd[tileSize];
  for (std::size_t i = 0; i < tileSize; ++i)
    lineEnd[i] = Lines == TargetLines::onTileGrid
                     ? tileSize
                     : tileSize - reinterpret_cast<std::uintptr_t>(corner + i * stride) % cacheLineBytes / 4;
  TileWindow window;
  transposeStep<Order>(firstRuns, steps > prefetchSteps ? ahead : 0, window);
  // The first step writes each row up to its first line boundary.
  for (std::size_t i = 0; i < tileSize; ++i) {
    const std::size_t end = Lines == TargetLines::onTileGrid ? tileSize : lineEnd[i];
    if (end < tileSize) {
      std::memcpy(corner + i * stride, &window.rows[i][tileSize], end * 4);
    } else {
      writeLine<Streaming>(window, i, end, corner + i * stride + cacheLineBytes);
    }
  }
  for (std::size_t step = 1; step < steps; ++step) {
    if constexpr (Lines == TargetLines::perRow) {
      for (auto& row : window.rows) std::memcpy(row, row + tileSize, tileSize * 4);
    }
    const SourceRuns runs{firstRuns.first + std::ptrdiff_t(step) * stepBytes, firstRuns.next};
    transposeStep<Order>(runs, step + prefetchSteps < steps ? ahead : 0, window);
    std::uint8_t* const stepEnd = corner + step * cacheLineBytes;
    for (std::size_t i = 0; i < tileSize; ++i) {
      const std::size_t end = Lines == TargetLines::onTileGrid ? tileSize : lineEnd[i];
      writeLine<Streaming>(window, i, end, stepEnd + i * stride + end * 4);
    }
  }
  // The last step's columns after each row's last line boundary.
  if constexpr (Lines == TargetLines::perRow) {
    std::uint8_t* const lastStep = corner + (steps - 1) * cacheLineBytes;
    for (std::size_t i = 0; i < tileSize; ++i) {
      const std::size_t end = lineEnd[i];
      std::memcpy(lastStep + i * stride + end * 4, &window.rows[i][tileSize + end], (tileSize - end) * 4);
    }
  }
}

template <bool Streaming, TargetLines Lines>
__attribute__((target("avx2"))) void quarterTurnAvx2(const ConstImage& s, std::uint32_t turns, const MutableImage& t,
                                                     PixelRegion r) {
  const std::size_t steps = (r.x1 - r.x0) / tileSize;
  const std::size_t fullX = r.x0 + steps * tileSize;
  const std::size_t fullY = r.y0 + (r.y1 - r.y0) / tileSize * tileSize;
  const auto stride = static_cast<std::ptrdiff_t>(s.bytesPerRow);
  for (std::size_t y = r.y0; y < fullY && steps > 0; y += tileSize) {
    // Target (x + j, y + i) is source (sw − 1 − y − i, x + j) for turn 1, read down the source,
    // and (y + i, sh − 1 − x − j) for turn 3, read up it.
    if (turns == 1) {
      const SourceRuns first{texel(s, s.width - tileSize - y, r.x0), stride};
      quarterTurnBand<Streaming, RunOrder::bottomUp, Lines>(first, t, r.x0, steps, y);
    } else {
      const SourceRuns first{texel(s, y, s.height - 1 - r.x0), -stride};
      quarterTurnBand<Streaming, RunOrder::topDown, Lines>(first, t, r.x0, steps, y);
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

}  // namespace

__attribute__((target("avx2"))) void exactAvx2(const ConstImage& s, std::uint32_t turns, const MutableImage& t,
                                               PixelRegion r) {
  // Streaming stores need 32-byte aligned targets; full 64-byte lines keep them from reading
  // the target first. Copies and half turns write tile columns, so only 64-byte aligned rows
  // stream; quarter turns find each row's lines, which needs only whole pixels.
  const bool alignedRows =
      reinterpret_cast<std::uintptr_t>(pixel(t, r.x0, 0)) % cacheLineBytes == 0 && t.bytesPerRow % cacheLineBytes == 0;
  const bool wholePixels = reinterpret_cast<std::uintptr_t>(t.pixels) % 4 == 0 && t.bytesPerRow % 4 == 0;
  if (turns == 0) {
    alignedRows ? copyAvx2<true>(s, t, r) : copyAvx2<false>(s, t, r);
  } else if (turns == 2) {
    alignedRows ? halfTurnAvx2<true>(s, t, r) : halfTurnAvx2<false>(s, t, r);
  } else {
    if (alignedRows) {
      quarterTurnAvx2<true, TargetLines::onTileGrid>(s, turns, t, r);
    } else if (wholePixels) {
      quarterTurnAvx2<true, TargetLines::perRow>(s, turns, t, r);
    } else {
      quarterTurnAvx2<false, TargetLines::onTileGrid>(s, turns, t, r);
    }
  }
  _mm_sfence();
}

#endif  // TURNLET_KERNEL_X86

}  // namespace turnlet::sim::kernel
