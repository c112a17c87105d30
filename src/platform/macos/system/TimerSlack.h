#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

namespace turnlet::macos {

// The one platform timer that wakes the main loop for its earliest timer also carries a tolerance,
// how late the system may fire it to save power. Each of the loop's timers has its own; the
// platform timer may fire no later than the earliest deadline (due time plus tolerance) of any
// pending timer, so the window it is given is [earliest due, earliest deadline].
//
// Timers that fired are not reported one by one: an entry due before the earliest pending timer
// has fired or been cancelled, and is forgotten when a window is computed. (A fired timer due at
// the same time as a pending one is kept until then; it can only narrow the window.)
class TimerSlack final {
 public:
  struct Window final {
    double fireAt;     // the earliest pending due time
    double tolerance;  // how much later the platform may fire; never negative
  };

  // NaN, negative and infinite tolerances count as zero.
  void add(std::uint64_t id, double due, double tolerance);
  void remove(std::uint64_t id);
  // The window for the earliest pending timer (from the timer queue), or nothing when there is
  // none or it never falls due.
  std::optional<Window> window(std::optional<double> earliestDue);
  std::size_t size() const { return entries.size(); }

 private:
  struct Entry final {
    double due;
    double deadline;
  };
  std::unordered_map<std::uint64_t, Entry> entries;
};

}  // namespace turnlet::macos
