#pragma once

#import <Foundation/Foundation.h>

namespace turnlet::macos {

// Keeps an Objective-C object alive until the end of the scope, for a callback that may release
// the object it runs in (ARC does not retain self or the arguments of a method for its whole
// call). A C++ destructor, so the release cannot move earlier.
struct KeepAlive final {
  explicit KeepAlive(id _Nullable object) : object(object) {}
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

  __strong id _Nullable object;
};

}  // namespace turnlet::macos
