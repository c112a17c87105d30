#include "sim/world/Compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "sim/gpu/SimGpuView.h"

namespace turnlet::sim {

namespace {

constexpr std::uint32_t opaque = 0xFF000000u;

// Alpha 0…1 as a weight 0…256.
std::uint32_t weight(double alpha) {
  if (!(alpha > 0)) return 0;
  return static_cast<std::uint32_t>(std::lround(std::min(alpha, 1.0) * 256));
}

std::uint32_t colour(const Color& c) {
  auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return bgra(channel(c.blue), channel(c.green), channel(c.red));
}

inline std::uint32_t blend(std::uint32_t over, std::uint32_t under, std::uint32_t a) {
  const std::uint32_t rb = ((over & 0xFF00FFu) * a + (under & 0xFF00FFu) * (256 - a)) >> 8;
  const std::uint32_t g = ((over & 0x00FF00u) * a + (under & 0x00FF00u) * (256 - a)) >> 8;
  return (rb & 0xFF00FFu) | (g & 0x00FF00u) | opaque;
}

bool overlaps(const Rect& a, const Rect& b) {
  return !a.isEmpty() && a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

inline std::uint32_t* row(MemoryPixelBuffer& b, std::size_t y) {
  return reinterpret_cast<std::uint32_t*>(b.baseAddress() + y * b.bytesPerRow());
}
inline const std::uint32_t* row(const MemoryPixelBuffer& b, std::size_t y) {
  return reinterpret_cast<const std::uint32_t*>(b.baseAddress() + y * b.bytesPerRow());
}

// The rounded-up mean of two pixels, channel by channel.
inline std::uint32_t meanUp(std::uint32_t a, std::uint32_t b) { return (a | b) - (((a ^ b) >> 1) & 0x7F7F7F7Fu); }

// `count` pixels of a row at half the size of two source rows: each the mean of a 2 × 2 block,
// taken as the mean of the two rows' means, each rounded up (as the vector instruction rounds;
// at most one level above the exact mean).
void halveRows(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t* out, std::size_t count) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const auto load = [](const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  for (; i + 4 <= count; i += 4) {
    const __m128 left = _mm_castsi128_ps(_mm_avg_epu8(load(upper + 2 * i), load(lower + 2 * i)));
    const __m128 right = _mm_castsi128_ps(_mm_avg_epu8(load(upper + 2 * i + 4), load(lower + 2 * i + 4)));
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(3, 1, 3, 1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_avg_epu8(even, odd));
  }
#endif
  for (; i < count; ++i)
    out[i] = meanUp(meanUp(upper[2 * i], lower[2 * i]), meanUp(upper[2 * i + 1], lower[2 * i + 1]));
}

// A 3 × 5 font of capitals, digits and a little punctuation, rows top first; lower case is drawn
// as capitals and anything else as a box.
const char* glyph(char c) {
  static const char* const digits[] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                       "101101111001001", "111100111001111", "111100111101111", "111001001001001",
                                       "111101111101111", "111101111001111"};
  static const char* const letters[] = {
      "010101111101101", "110101110101110", "011100100100011", "110101101101110", "111100110100111",
      "111100110100100", "011100101101011", "101101111101101", "111010010010111", "001001001101010",
      "101101110101101", "100100100100111", "101111111101101", "110101101101101", "010101101101010",
      "110101110100100", "010101101110011", "110101110101101", "011100010001110", "111010010010010",
      "101101101101111", "101101101101010", "101101111111101", "101101010101101", "101101010010010",
      "111001010100111"};
  if (c >= '0' && c <= '9') return digits[c - '0'];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return letters[c - 'A'];
  switch (c) {
    case ' ': return "000000000000000";
    case '.': return "000000000000010";
    case '-': return "000000111000000";
    case ':': return "000010000010000";
    default: return "111101101101111";
  }
}

// The pointer, one cell a point: '#' outline, '+' fill, tip at the top-left cell.
constexpr const char* arrow[] = {"#", "##", "#+#", "#++#", "#+++#", "#++++#", "#+++++#", "#++++++#",
                                 "#+++++++#", "#++++#####", "#++#+#", "#+# #+#", "##  #+#", "#    #+#", "     ##"};

}  // namespace

// One picture being drawn: the target, how global points map to its pixels, and the pixels drawn.
struct Compositor::Canvas {
  MemoryPixelBuffer& target;
  Rect bounds;
  double sx, sy;
  PixelRegion clip;

  long width() const { return static_cast<long>(target.width()); }
  long height() const { return static_cast<long>(target.height()); }
  // Pixels whose centres lie in [a, b) along one axis (unclipped).
  static long edge(double v, double origin, double scale) {
    const double e = std::ceil((v - origin) * scale - 0.5);
    return static_cast<long>(std::isnan(e) ? 0 : std::clamp(e, -1e9, 1e9));  // far outside is outside
  }
  long px(double x) const { return edge(x, bounds.minX(), sx); }
  long py(double y) const { return edge(y, bounds.minY(), sy); }

  void fill(long x0, long y0, long x1, long y1, std::uint32_t value, std::uint32_t alpha = 256) {
    x0 = std::max(x0, long(clip.x0)), y0 = std::max(y0, long(clip.y0));
    x1 = std::min(x1, long(clip.x1)), y1 = std::min(y1, long(clip.y1));
    if (x0 >= x1 || y0 >= y1 || alpha == 0) return;
    value |= opaque;
    for (long y = y0; y < y1; ++y) {
      std::uint32_t* r = row(target, static_cast<std::size_t>(y));
      if (alpha >= 256) {
        std::fill(r + x0, r + x1, value);
      } else {
        for (long x = x0; x < x1; ++x) r[x] = blend(value, r[x], alpha);
      }
    }
  }
  // Draws only inside a rectangle of global points (and the clip it had) until it ends.
  struct Within {
    Canvas& canvas;
    PixelRegion outer;
    ~Within() { canvas.clip = outer; }
  };
  Within within(const Rect& r) {
    const PixelRegion outer = clip;
    const auto at = [](long v, std::size_t low, std::size_t high) { return std::clamp(std::size_t(std::max(v, 0L)), low, high); };
    clip = {at(px(r.minX()), outer.x0, outer.x1), at(py(r.minY()), outer.y0, outer.y1), at(px(r.maxX()), outer.x0, outer.x1),
            at(py(r.maxY()), outer.y0, outer.y1)};
    return {*this, outer};
  }
  // A rectangle in global points.
  void fill(const Rect& r, std::uint32_t value, std::uint32_t alpha = 256) {
    fill(px(r.minX()), py(r.minY()), px(r.maxX()), py(r.maxY()), value, alpha);
  }
  // A disc in global points, row by row.
  void disc(Point centre, double radius, std::uint32_t value, std::uint32_t alpha) {
    for (long y = std::max(py(centre.y - radius), 0L), end = std::min(py(centre.y + radius), height()); y < end; ++y) {
      const double dy = bounds.minY() + (double(y) + 0.5) / sy - centre.y;
      const double half = std::sqrt(std::max(radius * radius - dy * dy, 0.0));
      fill(px(centre.x - half), y, px(centre.x + half), y + 1, value, alpha);
    }
  }
  // Text from a global point (top-left), `cell` points a font pixel.
  void text(const std::string& s, Point at, double cell, std::uint32_t value, std::uint32_t alpha) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      const char* g = glyph(s[i]);
      const double left = at.x + double(i) * 4 * cell;
      for (int k = 0; k < 15; ++k)
        if (g[k] == '1') fill(Rect(left + (k % 3) * cell, at.y + (k / 3) * cell, cell, cell), value, alpha);
    }
  }
};

// A capture frame and what it shows: the display, and its change count when it was drawn
// (none: not known), so that reused it is drawn again only where that changed.
struct Compositor::Frame : MemoryPixelBuffer {
  using MemoryPixelBuffer::MemoryPixelBuffer;
  DisplayID display = 0;
  std::optional<std::uint64_t> changes;
};

// Capture frames, reused once every holder has let go; shared with the frames' deleters.
class Compositor::FramePool : public std::enable_shared_from_this<FramePool> {
 public:
  std::shared_ptr<Frame> take(std::size_t width, std::size_t height) {
    Frame* buffer = nullptr;
    {
      std::lock_guard lock(mutex);
      std::erase_if(free, [&](const std::unique_ptr<Frame>& b) { return b->width() != width || b->height() != height; });
      if (!free.empty()) {
        buffer = free.back().release();
        free.pop_back();
      }
    }
    if (!buffer) buffer = new Frame(width, height, 0);
    return std::shared_ptr<Frame>(buffer, [weak = weak_from_this()](Frame* b) {
      std::unique_ptr<Frame> owned(b);
      if (auto self = weak.lock()) {
        std::lock_guard lock(self->mutex);
        if (self->free.size() < 4) self->free.push_back(std::move(owned));
      }
    });
  }

  void clear() {
    std::vector<std::unique_ptr<Frame>> spare;
    std::lock_guard lock(mutex);
    spare.swap(free);
  }

 private:
  std::mutex mutex;
  std::vector<std::unique_ptr<Frame>> free;
};

Compositor::Compositor(DisplayServer& displays, WindowServer& windows, SimInputEvents& events)
    : displays(displays), windows(windows), events(events), pool(std::make_shared<FramePool>()) {}

Compositor::~Compositor() = default;

std::shared_ptr<MemoryPixelBuffer> Compositor::draw(DisplayID display) {
  const auto size = displays.currentModePixelSize(display);
  if (!size || size->width == 0 || size->height == 0) return nullptr;
  auto picture = MemoryPixelBuffer::make(size->width, size->height);
  drawInto(display, *picture);
  return picture;
}

std::shared_ptr<MemoryPixelBuffer> Compositor::captureFrame(DisplayID display, std::size_t width, std::size_t height) {
  const auto size = displays.currentModePixelSize(display);
  if (!size || size->width == 0 || size->height == 0 || width == 0 || height == 0) return nullptr;
  const StageTimer timer(timings, FrameStage::compositorDraw);
  auto frame = pool->take(width, height);
  if (size->width == width && size->height == height) {
    // Back from the pool, a frame still shows what it showed when it was drawn.
    if (std::exchange(frame->display, display) != display) frame->changes.reset();
    drawChanges(display, *frame, frame->changes);
  } else {
    auto picture = draw(display);
    blit(*picture, *frame, 0, 0, long(width), long(height));
    frame->changes.reset();
  }
  return frame;
}

void Compositor::releaseSpareFrames() { pool->clear(); }

std::optional<PixelRegion> Compositor::drawChanges(DisplayID display, MemoryPixelBuffer& target,
                                                   std::optional<std::uint64_t>& shows) {
  const std::uint64_t now = changeCount(display);
  const PixelRegion region = shows ? changedSince(display, *shows, PixelSize{target.width(), target.height()})
                                   : PixelRegion{0, 0, target.width(), target.height()};
  if (!drawInto(display, target, region)) return std::nullopt;
  shows = now;
  return region;
}

bool Compositor::drawInto(DisplayID display, MemoryPixelBuffer& target) {
  return drawInto(display, target, PixelRegion{0, 0, target.width(), target.height()});
}

bool Compositor::drawInto(DisplayID display, MemoryPixelBuffer& target, PixelRegion region) {
  const SimDisplay* d = displays.find(display);
  const auto size = displays.currentModePixelSize(display);
  if (!d || !size || size->width == 0 || size->height == 0) return false;
  std::size_t width = size->width, height = size->height;
  while (width > target.width() && width % 2 == 0 && height % 2 == 0) width /= 2, height /= 2;
  if (width != target.width() || height != target.height()) return false;
  region.x1 = std::min(region.x1, target.width()), region.y1 = std::min(region.y1, target.height());
  if (region.x0 >= region.x1 || region.y0 >= region.y1) return true;
  Canvas canvas{target, d->bounds, double(width) / d->bounds.width(), double(height) / d->bounds.height(), region};
  ++pictures;
  const std::uint32_t light = weight(dimming(display));
  if (light == 0) {
    canvas.fill(0, 0, canvas.width(), canvas.height(), bgra(0, 0, 0));
    return true;
  }
  // The program's windows sit above the applications' (their levels are above the normal one).
  // Below the frontmost one that hides the whole display nothing need be drawn.
  auto own = windows.windows();
  auto cover = std::find_if(own.begin(), own.end(), [&](const ServerWindow* w) { return hidesAll(*w, canvas); });
  if (cover == own.end()) {
    drawDesktop(*d, canvas);
    auto apps = windows.appWindowsFrontToBack();
    for (auto it = apps.rbegin(); it != apps.rend(); ++it) drawAppWindow(*it->second, canvas);
  } else {
    ++cover;
  }
  for (auto it = std::make_reverse_iterator(cover); it != own.rend(); ++it) drawServerWindow(**it, canvas);
  drawPointer(canvas);
  if (light < 256) canvas.fill(0, 0, canvas.width(), canvas.height(), bgra(0, 0, 0), 256 - light);
  return true;
}

double Compositor::dimming(DisplayID display) const {
  if (dark && dark()) return 0;
  if (display != displays.mainDisplayID() || !mainBrightness) return 1;
  const auto b = mainBrightness();
  return b && !std::isnan(*b) ? std::clamp(*b, 0.0, 1.0) : 1;
}

Rect Compositor::globalFrame(const ServerWindow& w) const {
  // Window frames are in the window system's space: origin at the main display's bottom-left
  // corner, y up.
  const SimDisplay* main = displays.find(displays.mainDisplayID());
  const double mainHeight = main ? main->bounds.height() : 0;
  const WindowFrame f = w.frame();
  return Rect(f.x, mainHeight - (f.y + f.height), f.width, f.height);
}

bool Compositor::hidesAll(const ServerWindow& w, const Canvas& canvas) const {
  if (!w.isVisible() || weight(w.alphaValue()) < 256) return false;
  const Rect g = globalFrame(w);
  if (canvas.px(g.minX()) > 0 || canvas.py(g.minY()) > 0 || canvas.px(g.maxX()) < canvas.width() ||
      canvas.py(g.maxY()) < canvas.height())
    return false;
  if (weight(w.properties().backgroundColor.alpha) >= 256) return true;
  auto view = std::dynamic_pointer_cast<SimGpuView>(w.contentView());
  return view && view->readLastShown([](const SimTexture&) {});
}

std::uint32_t Compositor::wallpaper(const SimDisplay& display) const {
  const SimDisplay* own = &display;
  if (display.isVirtual) {
    for (const ServerWindow* w : windows.windows()) {
      if (!w->isVisible() || !std::dynamic_pointer_cast<SimGpuView>(w->contentView())) continue;
      const Rect g = globalFrame(*w);
      for (const SimDisplay& d : displays.displays())
        if (!d.isVirtual && d.bounds.contains({g.midX(), g.midY()})) own = displays.find(d.id);
    }
  }
  if (!own->uuid) return own->id;
  // FNV-1a: the same on every run.
  std::uint32_t h = 2166136261u;
  for (char c : *own->uuid) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

void Compositor::drawDesktop(const SimDisplay& display, Canvas& canvas) {
  // A vertical gradient in a tint of the display's own, in 64 bands. Every row is filled: a fill
  // only writes, where copying the row above would read as much again.
  const std::uint32_t id = wallpaper(display) % 65521;
  const std::uint32_t r = 30 + id * 53 % 90, g = 40 + id * 97 % 90, b = 70 + id * 31 % 90;
  const std::uint32_t phase = animateBackground ? static_cast<std::uint32_t>(pictures % 64) : 0;
  const long h = canvas.height();
  for (long y = long(canvas.clip.y0); y < long(canvas.clip.y1); ++y) {
    const std::uint32_t shade = (static_cast<std::uint32_t>(y * 64 / h) + phase) % 64;
    std::fill(row(canvas.target, std::size_t(y)) + canvas.clip.x0, row(canvas.target, std::size_t(y)) + canvas.clip.x1,
              bgra(b + shade, g + shade, r + shade));
  }
}

void Compositor::drawAppWindow(const SimAppWindow& w, Canvas& canvas) {
  const Rect& f = w.bounds;
  if (!overlaps(f, canvas.bounds) || !std::isfinite(f.width() + f.height())) return;
  const std::uint32_t a = weight(w.alpha);
  if (a == 0) return;
  // Nothing of a window shows outside its frame, where its changes are noted.
  const auto inside = canvas.within(f);
  const double bar = std::clamp(w.titleBarHeight, 0.0, f.height());
  // Frame, title bar with the close, minimise and zoom buttons, and the title.
  canvas.fill(f, bgra(90, 90, 90), a);
  canvas.fill(Rect(f.minX() + 1, f.minY() + 1, f.width() - 2, bar - 1), bgra(225, 225, 225), a);
  const double light = std::min(6.0, bar * 0.22);
  const std::uint32_t lights[] = {bgra(87, 95, 255), bgra(46, 188, 254), bgra(64, 200, 40)};
  for (int i = 0; i < 3; ++i)
    canvas.disc({f.minX() + light * (2.2 + 3.3 * i), f.minY() + bar / 2}, light, lights[i], a);
  const double cell = 2;
  canvas.text(w.title, {f.minX() + light * 10 + 8, f.minY() + (bar - 5 * cell) / 2}, cell, bgra(30, 30, 30), a);
  // Contents: stripes 16 points apart that move with vertical scrolling, a bar that moves with
  // horizontal scrolling, the number of clicks and a marker where the last one landed.
  const Rect body(f.minX() + 1, f.minY() + bar, f.width() - 2, f.height() - bar - 1);
  if (body.isEmpty()) return;
  canvas.fill(body, bgra(250, 250, 250), a);
  const double period = 16;
  double first = body.minY() + std::fmod(std::fmod(w.scrolledY, period) + period, period) - period;
  if (std::isnan(first)) first = body.minY();
  first += period * std::max(0.0, std::floor((canvas.bounds.minY() - first) / period));  // from the display's top
  for (double y = first; y < std::min(body.maxY(), canvas.bounds.maxY()); y += period) {
    const double top = std::max(y, body.minY()), bottom = std::min(y + period / 2, body.maxY());
    if (bottom > top) canvas.fill(Rect(body.minX(), top, body.width(), bottom - top), bgra(235, 215, 200), a);
  }
  const double barX = body.minX() + std::fmod(std::fmod(-w.scrolledX, body.width()) + body.width(), body.width());
  canvas.fill(Rect(barX, body.minY(), std::min(4.0, body.maxX() - barX), body.height()), bgra(200, 120, 60), a);
  canvas.text(std::to_string(w.clicks), {body.minX() + 6, body.minY() + 6}, cell, bgra(160, 40, 40), a);
  // Buttons: raised and light, dark while held down, with the clicks and presses they got.
  for (const SimElement& e : w.elements) {
    if (e.role != "AXButton") continue;
    const Rect r(f.minX() + e.frame.minX(), f.minY() + e.frame.minY(), e.frame.width(), e.frame.height());
    canvas.fill(r, e.held ? bgra(20, 60, 140) : bgra(120, 120, 130), a);
    canvas.fill(Rect(r.minX() + 1, r.minY() + 1, r.width() - 2, r.height() - 2),
                e.held ? bgra(40, 100, 200) : e.enabled ? bgra(240, 240, 245) : bgra(200, 200, 200), a);
    const int count = e.clicks + e.presses;
    const std::string label = "CLICKS " + std::to_string(count);
    const bool whole = r.width() >= double(label.size()) * 8 + 8 && r.height() >= 14;
    const std::string shown = whole ? label : std::to_string(count);
    const double c = whole ? 2 : std::clamp(r.height() / 7, 0.5, 2.0);
    canvas.text(shown, {r.midX() - (double(shown.size()) * 4 - 1) * c / 2, r.midY() - 2.5 * c}, c,
                e.held ? bgra(255, 255, 255) : bgra(30, 30, 30), a);
  }
  if (w.lastClick) {
    const Point c{f.minX() + w.lastClick->x, f.minY() + w.lastClick->y};
    const std::uint32_t hue = static_cast<std::uint32_t>(w.clicks) * 67;
    canvas.fill(Rect(c.x - 3, c.y - 3, 6, 6), bgra(40 + hue % 200, 60, 220 - hue % 180), a);
  }
}

void Compositor::drawServerWindow(const ServerWindow& w, Canvas& canvas) {
  if (!w.isVisible()) return;
  const std::uint32_t a = weight(w.alphaValue());
  if (a == 0) return;
  const Rect global = globalFrame(w);
  if (!overlaps(global, canvas.bounds)) return;
  auto view = std::dynamic_pointer_cast<SimGpuView>(w.contentView());
  const auto picture = [&](const SimTexture& shown) {
    blit(shown.pixels(), canvas.target, canvas.px(global.minX()), canvas.py(global.minY()), canvas.px(global.maxX()),
         canvas.py(global.maxY()), a, canvas.clip);
  };
  // An opaque window's picture hides its background.
  if (a >= 256 && view && view->readLastShown(picture)) return;
  const Color& background = w.properties().backgroundColor;
  canvas.fill(global, colour(background), a * weight(background.alpha) / 256);
  if (view) view->readLastShown(picture);
}

void Compositor::drawPointer(Canvas& canvas) {
  if (!events.mouseLocation || !canvas.bounds.contains(*events.mouseLocation)) return;
  const Point tip = *events.mouseLocation;
  for (std::size_t y = 0; y < std::size(arrow); ++y)
    for (std::size_t x = 0; arrow[y][x]; ++x) {
      if (arrow[y][x] == ' ') continue;
      canvas.fill(Rect(tip.x + double(x), tip.y + double(y), 1, 1),
                  arrow[y][x] == '#' ? bgra(0, 0, 0) : bgra(255, 255, 255));
    }
}

namespace {
constexpr std::size_t damageKept = 256;
constexpr double pointerWidth = 10, pointerHeight = std::size(arrow);
}  // namespace

std::uint64_t Compositor::changeCount(DisplayID display) {
  noteChanges();
  const SimDisplay* d = displays.find(display);
  if (!d) return changes;
  std::uint64_t newest = forgotten;
  for (const Damage& change : damage)
    if (change.count > newest && (change.region.isNull() || overlaps(change.region, d->bounds))) newest = change.count;
  return newest;
}

PixelRegion Compositor::changedSince(DisplayID display, std::uint64_t since, std::optional<PixelSize> picture) {
  noteChanges();
  const SimDisplay* d = displays.find(display);
  const auto size = picture ? picture : displays.currentModePixelSize(display);
  if (!d || !size || d->bounds.isEmpty()) return {};
  const PixelRegion whole{0, 0, size->width, size->height};
  if (since < forgotten) return whole;
  std::optional<Rect> touched;
  for (const Damage& change : damage) {
    if (change.count <= since || !(change.region.isNull() || overlaps(change.region, d->bounds))) continue;
    if (change.region.isNull()) return whole;
    touched = touched ? touched->united(change.region) : change.region;
  }
  if (!touched) return {};
  // Whole pixels around it, and one more on each side for the pixels a shape's edge rounds into.
  const double sx = double(size->width) / d->bounds.width(), sy = double(size->height) / d->bounds.height();
  const auto edge = [](double v, double scale, std::size_t limit, double outwards) {
    return std::size_t(std::clamp(std::floor((v * scale) + outwards), 0.0, double(limit)));
  };
  return {edge(touched->minX() - d->bounds.minX(), sx, size->width, -1),
          edge(touched->minY() - d->bounds.minY(), sy, size->height, -1),
          edge(touched->maxX() - d->bounds.minX(), sx, size->width, 2),
          edge(touched->maxY() - d->bounds.minY(), sy, size->height, 2)};
}

void Compositor::changed(const Rect& region) {
  if (!region.isNull() && region.isEmpty()) return;
  const Damage change{++changes, region};
  if (damage.size() < damageKept) return damage.push_back(change);
  forgotten = std::max(forgotten, damage[damageNext].count);
  damage[damageNext] = change;
  damageNext = (damageNext + 1) % damageKept;
}

void Compositor::noteChanges() {
  std::map<std::pair<int, std::uintptr_t>, Seen> now;
  const auto note = [&](int kind, std::uintptr_t id, Rect bounds, std::vector<double> look) {
    const auto key = std::make_pair(kind, id);
    auto old = seen.find(key);
    if (old == seen.end()) {
      changed(bounds);
    } else if (old->second.bounds != bounds || old->second.look != look) {
      changed(old->second.bounds);
      changed(bounds);
    }
    now[key] = Seen{bounds, std::move(look)};
  };
  const auto main = displays.find(displays.mainDisplayID());
  for (const SimDisplay& d : displays.displays()) {
    const auto size = displays.currentModePixelSize(d.id);
    // An animated background changes every picture; stopping it changes the next one too.
    note(0, d.id, d.bounds,
         {double(d.id == displays.mainDisplayID()), main ? main->bounds.height() : 0, size ? double(size->width) : 0,
          size ? double(size->height) : 0, dimming(d.id), double(wallpaper(d)), double(animateBackground)});
  }
  double order = 0;  // front to back, within each kind: the program's windows are always in front
  for (const auto& [application, w] : windows.appWindowsFrontToBack()) {
    std::vector<double> look{++order, w->alpha, double(w->layer), w->titleBarHeight, double(w->clicks),
                             w->lastClick ? w->lastClick->x : -1e300, w->lastClick ? w->lastClick->y : -1e300,
                             w->scrolledX, w->scrolledY, double(std::hash<std::string>{}(w->title))};
    for (const SimElement& e : w->elements)
      look.insert(look.end(), {e.frame.minX(), e.frame.minY(), e.frame.width(), e.frame.height(), double(e.enabled),
                               double(e.held), double(e.clicks + e.presses), double(e.role == "AXButton")});
    note(1, w->number, w->bounds, std::move(look));
  }
  order = 0;
  for (const ServerWindow* w : windows.windows()) {
    const auto view = std::dynamic_pointer_cast<SimGpuView>(w->contentView());
    const Color& c = w->properties().backgroundColor;
    note(2, reinterpret_cast<std::uintptr_t>(w), globalFrame(*w),
         {++order, w->alphaValue(), double(w->isVisible()), double(w->properties().level), c.red, c.green, c.blue,
          c.alpha, double(reinterpret_cast<std::uintptr_t>(view.get())), view ? double(view->shownCount()) : -1});
  }
  if (events.mouseLocation) note(3, 0, Rect(*events.mouseLocation, Size{pointerWidth, pointerHeight}), {});
  for (const auto& [key, gone] : seen)
    if (!now.contains(key)) changed(gone.bounds);
  seen = std::move(now);
  if (animateBackground) changed(Rect::null());  // everywhere
}

void Compositor::blit(const MemoryPixelBuffer& from, MemoryPixelBuffer& target, long x0, long y0, long x1, long y1,
                      std::uint32_t alpha, std::optional<PixelRegion> clip) {
  const PixelRegion c = clip.value_or(PixelRegion{0, 0, target.width(), target.height()});
  const long tw = std::min(long(c.x1), long(target.width())), th = std::min(long(c.y1), long(target.height()));
  const long sw = static_cast<long>(from.width()), sh = static_cast<long>(from.height());
  if (x1 <= x0 || y1 <= y0 || sw == 0 || sh == 0 || alpha == 0) return;
  const long cx0 = std::max(x0, long(c.x0)), cx1 = std::min(x1, tw), cy0 = std::max(y0, long(c.y0)), cy1 = std::min(y1, th);
  if (cx0 >= cx1 || cy0 >= cy1) return;
  const long dw = x1 - x0, dh = y1 - y0;
  if (alpha >= 256 && 2 * dw == sw && 2 * dh == sh) {
    for (long y = cy0; y < cy1; ++y) {
      const auto sy = std::size_t(2 * (y - y0));
      halveRows(row(from, sy) + 2 * (cx0 - x0), row(from, sy + 1) + 2 * (cx0 - x0), row(target, std::size_t(y)) + cx0,
                std::size_t(cx1 - cx0));
    }
    return;
  }
  // Each target pixel takes the texel under its centre.
  auto source = [](long i, long n, long d) { return static_cast<std::uint32_t>(((2 * i + 1) * n) / (2 * d)); };
  const bool sameWidth = dw == sw;
  if (!sameWidth) {
    columnMap.resize(static_cast<std::size_t>(cx1 - cx0));
    for (long x = cx0; x < cx1; ++x) columnMap[std::size_t(x - cx0)] = source(x - x0, sw, dw);
  }
  long previous = -1;
  for (long y = cy0; y < cy1; ++y) {
    const long sy = static_cast<long>(source(y - y0, sh, dh));
    std::uint32_t* out = row(target, std::size_t(y)) + cx0;
    const std::size_t count = std::size_t(cx1 - cx0);
    if (alpha >= 256 && sy == previous) {
      std::memcpy(out, row(target, std::size_t(y - 1)) + cx0, count * 4);
      continue;
    }
    previous = sy;
    const std::uint32_t* in = row(from, std::size_t(sy));
    if (alpha >= 256) {
      if (sameWidth) {
        std::memcpy(out, in + (cx0 - x0), count * 4);
      } else {
        for (std::size_t i = 0; i < count; ++i) out[i] = in[columnMap[i]];
      }
      continue;
    }
    for (std::size_t i = 0; i < count; ++i)
      out[i] = blend(in[sameWidth ? std::size_t(cx0 - x0) + i : columnMap[i]], out[i], alpha);
  }
}

}  // namespace turnlet::sim
