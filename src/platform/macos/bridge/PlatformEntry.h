#pragma once

#import <Foundation/Foundation.h>

#include <cassert>
#include <exception>

namespace turnlet::macos {

// The thread a call from the platform arrives on: AppKit calls delegates, targets, observers and
// views on the main thread; ScreenCaptureKit's and Metal's handlers, dispatch sources and the
// program's own queues run off it; `either` where Apple promises neither.
enum class EntryThread { main, background, either };

inline bool onEntryThread(EntryThread expected) {
  return expected == EntryThread::either || (expected == EntryThread::main) == static_cast<bool>(NSThread.isMainThread);
}

// Writes what an entry stopped to the unified log ("local.turnlet.app", "Entry"): an Objective-C
// exception, a C++ one's text, or neither for something else thrown.
void logStoppedException(NSException* _Nullable exception, const char* _Nullable what) noexcept;

// Every call from Objective-C into C++ (a delegate or view method, an action, an observer, a block
// handed to an Apple API, a dispatch source) runs fn through here. The caller above is the
// platform, which has no handler for C++ and treats an Objective-C exception as fatal or leaves
// its own state half done, so nothing escapes: an exception of either kind is logged and false
// tells the caller to report the failure its logic already handles for that call (a dropped
// sample, a stopped stream, a failed completion), or to drop the call where nothing can be
// reported. Debug builds also check that the call came on the thread it was made for.
template <class Fn>
bool ranWithoutException(EntryThread thread, Fn&& fn) noexcept {
  assert(onEntryThread(thread) && "a call from the platform arrived on a thread it was not made for");
  @try {
    try {
      fn();
      return true;
    } catch (const std::exception& failure) {
      logStoppedException(nil, failure.what());
    }
  } @catch (NSException* exception) {
    logStoppedException(exception, nullptr);
  } @catch (...) {
    logStoppedException(nil, nullptr);
  }
  return false;
}

}  // namespace turnlet::macos
