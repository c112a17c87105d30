#pragma once

#import <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/MainLoop.h"

namespace turnlet::macos {

// SIGINT and SIGTERM (or the signals given) as work on the main loop, through dispatch signal
// sources: each signal's default action is set to ignore (a source does not stop the default
// action, which would end the process), the source's handler runs on a serial queue of its own
// and posts `onSignal` to the loop. Turnlet hands them to the same terminate request as Quit.
// Made and destroyed on the main thread; the signals stay ignored afterwards.
class MacSignalSources final {
 public:
  MacSignalSources(MainLoop& loop, std::function<void(int signal)> onSignal, std::initializer_list<int> signals = {});
  ~MacSignalSources();
  MacSignalSources(const MacSignalSources&) = delete;
  MacSignalSources& operator=(const MacSignalSources&) = delete;

 private:
  dispatch_queue_t _Nonnull queue;
  std::vector<dispatch_source_t> sources;
};

}  // namespace turnlet::macos
