#include "runtime/TaskScope.h"

#include <algorithm>

namespace turnlet {

namespace {

Task<void> joinAll(std::shared_ptr<std::vector<TaskHandle>> children) {
  for (;;) {
    auto running = std::find_if(children->begin(), children->end(), [](const TaskHandle& h) { return !h.isDone(); });
    if (running == children->end()) co_return;
    const TaskHandle next = *running;  // a copy: a spawn while it waits may move the list
    co_await next.ended();
  }
}

}  // namespace

TaskHandle TaskScope::spawn(Task<void> task) {
  std::erase_if(*children, [](const TaskHandle& h) { return h.isDone(); });
  return children->emplace_back(turnlet::spawn(loop, std::move(task), &log));
}

void TaskScope::cancelAll() {
  for (const TaskHandle& child : *children) child.cancel();
}

Task<void> TaskScope::join() const { return joinAll(children); }

std::size_t TaskScope::runningCount() const {
  return std::count_if(children->begin(), children->end(), [](const TaskHandle& h) { return !h.isDone(); });
}

}  // namespace turnlet
