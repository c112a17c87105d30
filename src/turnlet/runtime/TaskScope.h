#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "runtime/Task.h"

namespace turnlet {

// The tasks an object starts, cancelled and awaited together: the object spawns into its scope
// and, when it stops, calls cancelAll() and awaits join(). Children's failures that nobody awaits
// go to the log. Destroying the scope cancels the children still running; they end by themselves.
// Main loop only.
class TaskScope {
 public:
  TaskScope(MainLoop& loop, Log& log) : loop(loop), log(log) {}
  ~TaskScope() { cancelAll(); }
  TaskScope(const TaskScope&) = delete;
  TaskScope& operator=(const TaskScope&) = delete;

  TaskHandle spawn(Task<void> task);
  template <class F>
    requires std::invocable<F&>
  TaskHandle spawn(F f) {
    return spawn(detail::keepAlive(std::move(f)));
  }

  void cancelAll();
  // Ends when every child has ended, those spawned while it waits included. Does not rethrow
  // their failures; throws CancellationError when the waiting task is cancelled.
  Task<void> join() const;
  std::size_t runningCount() const;

 private:
  MainLoop& loop;
  Log& log;
  // Shared with join(), which may outlive the scope.
  std::shared_ptr<std::vector<TaskHandle>> children = std::make_shared<std::vector<TaskHandle>>();
};

}  // namespace turnlet
