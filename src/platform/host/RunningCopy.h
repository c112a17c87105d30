#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "platform/MainLoop.h"

namespace turnlet::host {

// The one running copy of the application for a settings file: each simulator has its own
// simulated Mac, so the settings are all that copies share. The copy that holds an advisory lock
// (flock) on "<settings>.running" is the running one; the kernel drops the lock with its last
// descriptor, so a copy that crashed leaves nothing that blocks the next launch. A later launch
// writes one byte into the FIFO "<settings>.reopen" beside it, which the running copy reads on a
// thread of its own and turns into a reopen on its main loop, as a click on a Dock icon would.
// No socket path length limit, and no runtime folder needed.
//
// Made and destroyed on the main thread; the callback runs on the loop, never after destruction.
class RunningCopy {
 public:
  // The lock, or null when another copy holds it (or the folder cannot hold the files).
  static std::unique_ptr<RunningCopy> claim(const std::filesystem::path& settingsFile);
  // Asks the running copy to reopen; false when none answered within about two seconds.
  static bool askToReopen(const std::filesystem::path& settingsFile);

  ~RunningCopy();
  RunningCopy(const RunningCopy&) = delete;
  RunningCopy& operator=(const RunningCopy&) = delete;

  // From now on each request runs onReopen on the loop (requests made since claim() included).
  void listen(MainLoop& loop, std::function<void()> onReopen);

 private:
  RunningCopy(int lock, int fifo) : lockFile(lock), fifo(fifo) {}

  int lockFile;
  int fifo;  // read and write: never at end of file, and the destructor wakes the reader through it
  std::thread reader;
  std::shared_ptr<std::function<void()>> callback;
};

}  // namespace turnlet::host
