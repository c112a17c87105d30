#import "macos/system/MacSignalSources.h"

#include <signal.h>

#include <cstdint>

#include "macos/bridge/PlatformEntry.h"

namespace turnlet::macos {

MacSignalSources::MacSignalSources(MainLoop& loop, std::function<void(int signal)> onSignal,
                                   std::initializer_list<int> signals)
    : queue(dispatch_queue_create("local.turnlet.signals", DISPATCH_QUEUE_SERIAL)) {
  const std::vector<int> wanted = signals.size() ? std::vector<int>(signals) : std::vector<int>{SIGINT, SIGTERM};
  auto handler = std::make_shared<std::function<void(int)>>(std::move(onSignal));
  MainLoop* target = &loop;  // outlives these sources, which are cancelled before it goes
  for (int number : wanted) {
    signal(number, SIG_IGN);
    dispatch_source_t source =
        dispatch_source_create(DISPATCH_SOURCE_TYPE_SIGNAL, static_cast<uintptr_t>(number), 0, queue);
    if (!source) continue;
    dispatch_source_set_event_handler(source, ^{
      ranWithoutException(EntryThread::background, [&] { target->post([handler, number] { (*handler)(number); }); });
    });
    dispatch_activate(source);
    sources.push_back(source);
  }
}

MacSignalSources::~MacSignalSources() {
  for (dispatch_source_t source : sources) dispatch_source_cancel(source);
  // Cancelling stops later handlers, not one already running: wait for it, since it posts to the
  // loop, which may go right after these sources.
  dispatch_sync(queue, ^{});
}

}  // namespace turnlet::macos
