#pragma once

#include <optional>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/InputEvents.h"
#include "platform/WindowList.h"

namespace turnlet {

// The window under a finger: its number, its owning process and its frame in global display
// points (y down). Computed from the window server's list, front to back; only windows with an
// acceptable number and process id, a valid frame, an alpha above 0 and not owned by
// "WindowServer" can receive touch. Malformed entries are skipped, never trusted. Main loop only.
struct TouchWindowTarget {
  WindowNumber id = 0;  // never 0
  ProcessID pid = 0;    // at least 1
  Rect bounds;          // finite, width and height > 0

  friend bool operator==(const TouchWindowTarget&, const TouchWindowTarget&) = default;

  // The frontmost eligible window under a point of the display.
  static std::optional<TouchWindowTarget> frontmost(Point point, DisplayID display, DisplayServices& displays,
                                                    WindowList& windowList);
  // The frontmost eligible window under the point, when the point lies in `within`.
  static std::optional<TouchWindowTarget> select(Point point, const Rect& within,
                                                 const std::vector<WindowListEntry>& windows);
  // The same window read again: absent when it is gone, hidden, transparent or changed owner.
  static std::optional<TouchWindowTarget> refreshed(WindowNumber id, ProcessID pid, WindowList& windowList);

 private:
  static bool eligible(const WindowListEntry& window);
  static std::optional<Rect> boundsOf(const WindowListEntry& window);
  static bool valid(const Rect& rect);
  static std::optional<ProcessID> positivePID(const WindowListEntry& window);
  static std::optional<WindowNumber> windowNumber(const WindowListEntry& window);
};

}  // namespace turnlet
