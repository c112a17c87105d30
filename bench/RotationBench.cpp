// Rotation kernel benchmarks: one thread, cache-cold. Every iteration takes the next frame of a
// pool several times larger than the last-level cache, as live capture does, and writes the next
// target of an equally large pool. Each case reports its median; the summary lines relate it to
// a memcpy of the same bytes and to libyuv doing the same job, measured in the same run; the last
// names the quarter turn that lags a memcpy most across the iPad sizes.

#include <benchmark/benchmark.h>
#include <libyuv/planar_functions.h>
#include <libyuv/rotate_argb.h>
#include <libyuv/scale_argb.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SummaryReporter.h"
#include "sim/capture/MemoryPixelBuffer.h"
#include "sim/gpu/RotateFrameKernel.h"

using namespace turnlet::sim;

namespace {

// Bytes each pool spans; 8 × the 32 MiB L3 of one core complex of the machines we measure on.
std::size_t poolBytes() {
  const char* mib = std::getenv("TURNLET_BENCH_POOL_MIB");
  return (mib && *mib ? std::strtoull(mib, nullptr, 10) : 256) << 20;
}

struct Layout {
  std::size_t width, height;
  std::size_t bytes() const { return width * height * 4; }
  std::string name() const { return std::to_string(width) + "x" + std::to_string(height); }
};

// A ring of frames of one layout, built on first use and kept for the cases that follow.
class Pool {
 public:
  static std::shared_ptr<Pool> of(Layout layout, int role) {
    static std::map<std::tuple<std::size_t, std::size_t, int>, std::shared_ptr<Pool>> pools;
    auto key = std::make_tuple(layout.width, layout.height, role);
    auto& pool = pools[key];
    if (!pool) {
      // Keep only recent pools, so memory stays modest; a case holds its own pools meanwhile.
      if (pools.size() > 6) {
        for (auto it = pools.begin(); it != pools.end();) it = it->first == key ? std::next(it) : pools.erase(it);
      }
      pool = std::make_shared<Pool>(layout);
    }
    return pool;
  }

  explicit Pool(Layout layout) {
    const std::size_t count = std::max<std::size_t>(4, (poolBytes() + layout.bytes() - 1) / layout.bytes());
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < count; ++i) {
      auto frame = MemoryPixelBuffer::make(layout.width, layout.height, layout.width * 4);
      auto* words = reinterpret_cast<std::uint32_t*>(frame->baseAddress());
      for (std::size_t k = 0; k < layout.width * layout.height; ++k)
        words[k] = (state = state * 1664525u + 1013904223u) | 0xFF000000u;
      frames.push_back(std::move(frame));
    }
  }

  MemoryPixelBuffer& next() {
    cursor = (cursor + 1) % frames.size();
    return *frames[cursor];
  }

 private:
  std::vector<std::shared_ptr<MemoryPixelBuffer>> frames;
  std::size_t cursor = 0;
};

enum Role { sources = 0, targets = 1 };

ConstImage input(const MemoryPixelBuffer& b) { return {b.baseAddress(), b.width(), b.height(), b.bytesPerRow()}; }
MutableImage output(MemoryPixelBuffer& b) { return {b.baseAddress(), b.width(), b.height(), b.bytesPerRow()}; }

Layout turned(Layout l, int turns) { return turns % 2 ? Layout{l.height, l.width} : l; }

// The content turns of the rotation program as libyuv's clockwise angles: a quarter turn of the
// program moves the top edge to the left, which is libyuv's 270°.
libyuv::RotationMode libyuvMode(int turns) {
  static const libyuv::RotationMode modes[] = {libyuv::kRotate0, libyuv::kRotate270, libyuv::kRotate180,
                                               libyuv::kRotate90};
  return modes[turns];
}

void memcpyCase(benchmark::State& state, Layout layout) {
  auto from = Pool::of(layout, sources);
  auto to = Pool::of(layout, targets);
  for (auto _ : state) {
    std::memcpy(to->next().baseAddress(), from->next().baseAddress(), layout.bytes());
    benchmark::ClobberMemory();
  }
}

void exactCase(benchmark::State& state, Layout layout, int turns, VectorUnit unit) {
  auto from = Pool::of(layout, sources);
  auto to = Pool::of(turned(layout, turns), targets);
  RotateFrameKernel kernel(unit);
  const Layout target = turned(layout, turns);
  const RotateFrameParameters p{std::uint32_t(layout.width), std::uint32_t(layout.height), std::uint32_t(target.width),
                                std::uint32_t(target.height), std::uint32_t(turns)};
  for (auto _ : state) {
    kernel.run(input(from->next()), p, output(to->next()));
    benchmark::ClobberMemory();
  }
}

void libyuvRotateCase(benchmark::State& state, Layout layout, int turns) {
  auto from = Pool::of(layout, sources);
  auto to = Pool::of(turned(layout, turns), targets);
  const Layout target = turned(layout, turns);
  for (auto _ : state) {
    MemoryPixelBuffer& s = from->next();
    MemoryPixelBuffer& d = to->next();
    libyuv::ARGBRotate(s.baseAddress(), int(s.bytesPerRow()), d.baseAddress(), int(target.width * 4), int(layout.width),
                       int(layout.height), libyuvMode(turns));
    benchmark::ClobberMemory();
  }
}

// The picture's columns or rows inside a target, as the program places them.
struct Placement {
  std::size_t x, y, width, height;
};

Placement placement(Layout source, Layout target, int turns) {
  const Layout size = turned(source, turns);
  const double scale = std::min(double(target.width) / size.width, double(target.height) / size.height);
  const double ox = std::floor((target.width - size.width * scale) * 0.5);
  const double oy = std::floor((target.height - size.height * scale) * 0.5);
  auto span = [&](double origin, std::size_t extent, double limit) {
    std::size_t first = extent, last = 0;
    for (std::size_t i = 0; i < extent; ++i) {
      const double point = (i + 0.5 - origin) / scale;
      if (point >= 0 && point < limit) first = std::min(first, i), last = i + 1;
    }
    return std::pair{first, last};
  };
  auto [x0, x1] = span(ox, target.width, size.width);
  auto [y0, y1] = span(oy, target.height, size.height);
  return {x0, y0, x1 - x0, y1 - y0};
}

void linearCase(benchmark::State& state, Layout layout, Layout target, int turns, VectorUnit unit) {
  auto from = Pool::of(layout, sources);
  auto to = Pool::of(target, targets);
  RotateFrameKernel kernel(unit);
  const RotateFrameParameters p{std::uint32_t(layout.width), std::uint32_t(layout.height), std::uint32_t(target.width),
                                std::uint32_t(target.height), std::uint32_t(turns)};
  for (auto _ : state) {
    kernel.run(input(from->next()), p, output(to->next()));
    benchmark::ClobberMemory();
  }
}

// libyuv's way: rotate into an intermediate frame, then scale it bilinearly into the picture
// area of the target, and fill the bars.
void libyuvLinearCase(benchmark::State& state, Layout layout, Layout target, int turns) {
  auto from = Pool::of(layout, sources);
  auto to = Pool::of(target, targets);
  const Layout size = turned(layout, turns);
  auto middle = MemoryPixelBuffer::make(size.width, size.height, size.width * 4);
  const Placement at = placement(layout, target, turns);
  for (auto _ : state) {
    MemoryPixelBuffer& s = from->next();
    MemoryPixelBuffer& d = to->next();
    libyuv::ARGBRotate(s.baseAddress(), int(s.bytesPerRow()), middle->baseAddress(), int(middle->bytesPerRow()),
                       int(layout.width), int(layout.height), libyuvMode(turns));
    const int stride = int(d.bytesPerRow());
    libyuv::ARGBScale(middle->baseAddress(), int(middle->bytesPerRow()), int(size.width), int(size.height),
                      d.baseAddress() + at.y * stride + at.x * 4, stride, int(at.width), int(at.height),
                      libyuv::kFilterBilinear);
    const std::uint32_t black = 0xFF000000u;
    if (at.x > 0) libyuv::ARGBRect(d.baseAddress(), stride, 0, 0, int(at.x), int(target.height), black);
    if (at.x + at.width < target.width)
      libyuv::ARGBRect(d.baseAddress(), stride, int(at.x + at.width), 0, int(target.width - at.x - at.width),
                       int(target.height), black);
    if (at.y > 0) libyuv::ARGBRect(d.baseAddress(), stride, 0, 0, int(target.width), int(at.y), black);
    if (at.y + at.height < target.height)
      libyuv::ARGBRect(d.baseAddress(), stride, 0, int(at.y + at.height), int(target.width),
                       int(target.height - at.y - at.height), black);
    benchmark::ClobberMemory();
  }
}

benchmark::internal::Benchmark* configure(benchmark::internal::Benchmark* b) {
  return b->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
}

// The rotation and libyuv agree on what each turn shows (alpha aside: both frames are opaque).
void checkAgreement() {
  const Layout layout{40, 24};
  auto source = MemoryPixelBuffer::make(layout.width, layout.height, layout.width * 4);
  auto* words = reinterpret_cast<std::uint32_t*>(source->baseAddress());
  for (std::size_t k = 0; k < layout.width * layout.height; ++k)
    words[k] = std::uint32_t(k * 2654435761u) | 0xFF000000u;
  for (int turns = 0; turns < 4; ++turns) {
    const Layout t = turned(layout, turns);
    auto ours = MemoryPixelBuffer::make(t.width, t.height, t.width * 4);
    auto theirs = MemoryPixelBuffer::make(t.width, t.height, t.width * 4);
    RotateFrameKernel().run(
        input(*source), {40, 24, std::uint32_t(t.width), std::uint32_t(t.height), std::uint32_t(turns)}, output(*ours));
    libyuv::ARGBRotate(source->baseAddress(), 160, theirs->baseAddress(), int(t.width * 4), 40, 24, libyuvMode(turns));
    if (std::memcmp(ours->baseAddress(), theirs->baseAddress(), t.bytes()) != 0)
      std::printf("warning: turns=%d differs from libyuv's %d°\n", turns, int(libyuvMode(turns)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  checkAgreement();
  // Every current iPad's pixel size. The quarter turns, whose cost depends on how the row strides
  // fall on the cache lines, run at each; the other turns and the portable kernel at three.
  struct Size {
    Layout layout;
    bool everyCase;
  };
  const Size sizes[] = {{{2732, 2048}, true},  {{2752, 2064}, false}, {{2388, 1668}, false},
                        {{2420, 1668}, false}, {{2360, 1640}, true},  {{2266, 1488}, false},
                        {{2160, 1620}, false}, {{2224, 1668}, false}, {{2048, 1536}, true}};
  const VectorUnit unit = RotateFrameKernel::bestVectorUnit();
  for (const auto& [size, everyCase] : sizes) {
    configure(benchmark::RegisterBenchmark(("memcpy/" + size.name()).c_str(), memcpyCase, size));
    for (int turns = 0; turns < 4; ++turns) {
      if (!everyCase && turns % 2 == 0) continue;
      const std::string suffix = "/turns=" + std::to_string(turns) + "/" + size.name();
      configure(benchmark::RegisterBenchmark(("exact" + suffix).c_str(), exactCase, size, turns, unit));
      configure(benchmark::RegisterBenchmark(("libyuv_rotate" + suffix).c_str(), libyuvRotateCase, size, turns));
    }
    if (everyCase)
      configure(benchmark::RegisterBenchmark(("exact_portable/turns=1/" + size.name()).c_str(), exactCase, size, 1,
                                             VectorUnit::portable));
  }
  struct LinearCase {
    Layout source, target;
    int turns;
  };
  const LinearCase linear[] = {{{1024, 1366}, {2048, 2732}, 0}, {{2732, 2048}, {1366, 1024}, 1}};
  configure(benchmark::RegisterBenchmark("memcpy/1366x1024", memcpyCase, Layout{1366, 1024}));
  configure(benchmark::RegisterBenchmark("memcpy/2048x2732", memcpyCase, Layout{2048, 2732}));
  for (const LinearCase& c : linear) {
    const std::string suffix = "/turns=" + std::to_string(c.turns) + "/" + c.source.name() + "->" + c.target.name();
    configure(benchmark::RegisterBenchmark(("linear" + suffix).c_str(), linearCase, c.source, c.target, c.turns, unit));
    configure(benchmark::RegisterBenchmark(("linear_portable" + suffix).c_str(), linearCase, c.source, c.target, c.turns,
                                           VectorUnit::portable));
    configure(benchmark::RegisterBenchmark(("libyuv_rotate_scale" + suffix).c_str(), libyuvLinearCase, c.source,
                                           c.target, c.turns));
  }

  turnlet::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nkernel vector unit: %s; pools of %zu MiB per side\n", unit == VectorUnit::avx2 ? "avx2" : "portable",
              poolBytes() >> 20);
  // The quarter turn furthest behind a memcpy of its bytes, for the last line.
  struct Worst {
    double ratio = 0, ours = 0, theirs = 0;
    int turns = 0;
    std::string size;
  } worst;
  for (const auto& [size, everyCase] : sizes) {
    const double copy = reporter.median("memcpy/" + size.name());
    if (std::isnan(copy)) continue;  // filtered out of this run
    std::printf("summary: memcpy %s: %.2f ms\n", size.name().c_str(), copy);
    for (int turns = 0; turns < 4; ++turns) {
      const std::string suffix = "/turns=" + std::to_string(turns) + "/" + size.name();
      const double ours = reporter.median("exact" + suffix), theirs = reporter.median("libyuv_rotate" + suffix);
      if (std::isnan(ours)) continue;
      std::printf("summary: exact turns=%d %s: %.2f ms, %.2fx libyuv (%.2f ms), %.2fx memcpy\n", turns,
                  size.name().c_str(), ours, ours / theirs, theirs, ours / copy);
      if (turns % 2 == 1 && ours / copy > worst.ratio) worst = {ours / copy, ours, theirs, turns, size.name()};
    }
    const double portable = reporter.median("exact_portable/turns=1/" + size.name());
    if (std::isnan(portable)) continue;
    std::printf("summary: exact portable turns=1 %s: %.2f ms, %.2fx memcpy\n", size.name().c_str(), portable,
                portable / copy);
  }
  for (const LinearCase& c : linear) {
    const std::string suffix = "/turns=" + std::to_string(c.turns) + "/" + c.source.name() + "->" + c.target.name();
    const double ours = reporter.median("linear" + suffix), theirs = reporter.median("libyuv_rotate_scale" + suffix);
    const double copy = reporter.median("memcpy/" + c.target.name());
    if (std::isnan(ours)) continue;
    std::printf(
        "summary: linear turns=%d %s -> %s: %.2f ms, %.2fx libyuv rotate+scale (%.2f ms), %.2fx memcpy of the target\n",
        c.turns, c.source.name().c_str(), c.target.name().c_str(), ours, ours / theirs, theirs, ours / copy);
  }
  if (worst.ratio > 0)
    std::printf("summary: worst quarter turn: exact turns=%d %s: %.2f ms, %.2fx memcpy, %.2fx libyuv (%.2f ms, %s)\n",
                worst.turns, worst.size.c_str(), worst.ours, worst.ratio, worst.ours / worst.theirs, worst.theirs,
                worst.ours < worst.theirs ? "faster than libyuv" : "not faster than libyuv");
  benchmark::Shutdown();
  return 0;
}
