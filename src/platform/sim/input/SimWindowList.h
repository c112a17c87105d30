#pragma once

#include <functional>

#include "platform/WindowList.h"
#include "sim/world/WindowServer.h"

namespace turnlet::sim {

// The window list of the simulated window server: the applications' on-screen windows, front to
// back, with number, owner process id and name, bounds, alpha and layer. Main loop only.
class SimWindowList : public WindowList {
 public:
  explicit SimWindowList(WindowServer& server) : server(server) {}

  std::optional<std::vector<WindowListEntry>> copyWindowInfo(std::uint32_t options,
                                                             std::uint32_t relativeToWindow) override;

  // Faults: the list cannot be read; every list is handed to `tamper` before it is returned (a
  // test makes entries malformed there).
  bool unreadable = false;
  std::function<void(std::vector<WindowListEntry>&)> tamper;

  // Observations.
  int reads = 0;

  static WindowListEntry entry(const SimApplication& app, const SimAppWindow& window);

 private:
  WindowServer& server;
};

}  // namespace turnlet::sim
