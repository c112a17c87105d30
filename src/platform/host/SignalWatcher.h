#pragma once

#include <functional>
#include <initializer_list>
#include <thread>

#include "platform/MainLoop.h"

namespace turnlet::host {

// Turns SIGINT and SIGTERM (or the signals given) into work on the main loop. The handler only
// writes the signal's number to a pipe; a thread reads it and posts `onSignal` to the loop, so
// nothing runs in the handler. One watcher per process; the handlers stay while it exists and
// the default ones come back when it is destroyed.
class SignalWatcher {
 public:
  SignalWatcher(MainLoop& loop, std::function<void(int signal)> onSignal, std::initializer_list<int> signals = {});
  ~SignalWatcher();
  SignalWatcher(const SignalWatcher&) = delete;
  SignalWatcher& operator=(const SignalWatcher&) = delete;

 private:
  std::thread reader;
  int pipeEnds[2] = {-1, -1};
};

}  // namespace turnlet::host
