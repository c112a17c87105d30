#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "sim/world/DisplayServer.h"
#include "sim/gpu/RotateFrameKernel.h"
#include "sim/capture/MemoryPixelBuffer.h"
#include "sim/input/SimInputEvents.h"
#include "sim/system/StageTimings.h"
#include "sim/world/WindowServer.h"

namespace turnlet::sim {

// Draws what a display of the simulated Mac shows: its region of the global desktop, back to
// front — a wallpaper of its own (a virtual display shows the one of the display it stands in for), the simulated applications' windows (title bar with the
// title, contents that show their clicks and scrolling), the program's own windows over them by
// level and order with their alpha (background colour, then a GPU view's last shown picture
// scaled to the window), and the pointer at the last posted mouse location.
//
// Pictures are BGRA8 at the display's current mode size (or, drawn into, that size halved),
// opaque. A point maps to pixels by the picture's pixel size over the display's size in points;
// a pixel belongs to a shape when its
// centre does. Drawing is row fills and row copies; the scratch space grows to the largest
// picture and is reused. Main loop only; the frames made for capture may be released anywhere.
class Compositor {
 public:
  Compositor(DisplayServer& displays, WindowServer& windows, SimInputEvents& events);
  ~Compositor();
  Compositor(const Compositor&) = delete;
  Compositor& operator=(const Compositor&) = delete;

  // The picture of one online display at its current mode's pixel size, null when the display
  // is offline or has no size.
  std::shared_ptr<MemoryPixelBuffer> draw(DisplayID display);
  // The same into a caller's buffer of exactly that size, or of that size halved any number of
  // times (each side exactly: a smaller picture to show); false (and nothing drawn) otherwise.
  bool drawInto(DisplayID display, MemoryPixelBuffer& target);
  // Only the pixels of `region` drawn again; the rest of the target stays as it was.
  bool drawInto(DisplayID display, MemoryPixelBuffer& target, PixelRegion region);
  // Keeps a picture (a buffer drawInto takes) up to date: draws only what changed on the display
  // since `shows`, the change count it shows (none: all of it), and makes `shows` the count it
  // shows now. The pixels drawn; nothing (and `shows` kept) when the buffer fits no picture.
  std::optional<PixelRegion> drawChanges(DisplayID display, MemoryPixelBuffer& target,
                                         std::optional<std::uint64_t>& shows);
  // A capture frame of width × height pixels: the picture, scaled when the sizes differ. Frames
  // come from a pool and go back to it when their last holder lets go (on any thread); a frame
  // taken again is drawn again only where its display changed since it was drawn.
  std::shared_ptr<MemoryPixelBuffer> captureFrame(DisplayID display, std::size_t width, std::size_t height);
  // Lets go of the capture frames kept for reuse (those still held elsewhere come back later).
  void releaseSpareFrames();

  // Nearest-texel scaling of the whole of `from` onto the pixel rectangle `to` of `target`
  // (which may reach outside the target: only the inside is drawn), blended with alpha 0…256.
  // Equal sizes copy rows; opaque at exactly half the size, each pixel is a 2 × 2 block's mean.
  void blit(const MemoryPixelBuffer& from, MemoryPixelBuffer& target, long x0, long y0, long x1, long y1,
            std::uint32_t alpha = 256, std::optional<PixelRegion> clip = std::nullopt);

  // A program window's frame in the displays' space (global points, y down from the main
  // display's top-left corner).
  Rect globalFrame(const ServerWindow& window) const;

  // A number that changes whenever anything drawn on a display may have changed since it was last
  // asked — a window of either kind (frame, alpha, order, visibility, level, contents, a GPU view's
  // shown frames), the pointer, the display itself — and stays the same otherwise. It is the
  // newest change that touched the display's region: each call compares a few numbers per window
  // against what the last call saw and records where something changed; no picture is drawn.
  std::uint64_t changeCount(DisplayID display);
  // The pixels of a display's picture that the changes after count `since` may have touched:
  // empty when none did, the whole picture when the changes are everywhere or too old to tell.
  // In the pixels of a picture of the given size (a smaller one), else of the mode's size.
  PixelRegion changedSince(DisplayID display, std::uint64_t since, std::optional<PixelSize> picture = std::nullopt);

  // The main display's brightness (0…1, nothing: full) and whether the screens are dark (asleep):
  // the main display's picture is dimmed by the one, every picture black under the other.
  std::function<std::optional<double>()> mainBrightness;
  std::function<bool()> dark;

  // Control: when on, the desktop background changes with every picture drawn (benchmarks).
  bool animateBackground = false;
  // Where the drawing of capture frames is timed (benchmarks); null: nowhere.
  StageTimings* timings = nullptr;

 private:
  struct Canvas;
  struct Frame;
  class FramePool;
  void drawDesktop(const SimDisplay& display, Canvas& canvas);
  void drawAppWindow(const SimAppWindow& window, Canvas& canvas);
  void drawServerWindow(const ServerWindow& window, Canvas& canvas);
  void drawPointer(Canvas& canvas);
  double dimming(DisplayID display) const;  // 0 dark … 1 full
  // The number a display's wallpaper is made from: its UUID's, so that it survives reconnections;
  // a virtual display has the wallpaper of the display the program's GPU view is on.
  std::uint32_t wallpaper(const SimDisplay& display) const;
  bool hidesAll(const ServerWindow& window, const Canvas& canvas) const;
  // Compares everything drawable with what the last call saw and records where it changed.
  void noteChanges();
  void changed(const Rect& region);

  // What one drawn thing looked like when the changes were last noted: where, and as numbers.
  struct Seen {
    Rect bounds;
    std::vector<double> look;
  };
  struct Damage {
    std::uint64_t count;
    Rect region;
  };
  std::map<std::pair<int, std::uintptr_t>, Seen> seen;
  std::vector<Damage> damage;  // a ring of the newest changes
  std::size_t damageNext = 0;
  std::uint64_t changes = 0, forgotten = 0;  // forgotten: the newest change that left the ring

  DisplayServer& displays;
  WindowServer& windows;
  SimInputEvents& events;
  std::uint64_t pictures = 0;
  std::vector<std::uint32_t> columnMap;  // scratch of blit(): source column of each target column
  std::shared_ptr<FramePool> pool;
};

}  // namespace turnlet::sim
