#pragma once

#import <Foundation/Foundation.h>

namespace turnlet::macos {

// Runs fn where nothing may escape: a block or delegate method on a queue other than the main
// queue, whose caller has no handler, so an exception leaving it would end the process. Both
// Objective-C and C++ exceptions end here; false tells the caller to report the failure its
// logic already handles for that call (a dropped sample, a stopped stream, a failed completion).
template <class Fn>
bool ranWithoutException(Fn&& fn) noexcept {
  @try {
    try {
      fn();
      return true;
    } catch (...) {
      return false;
    }
  } @catch (NSException* exception) {
    (void)exception;
    return false;
  }
}

}  // namespace turnlet::macos
