#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "macos/bridge/RetainedRef.h"

namespace turnlet::macos {

struct CFRefTraits final {
  static void retain(CFTypeRef ref) { CFRetain(ref); }
  static void release(CFTypeRef ref) { CFRelease(ref); }
};

// A Core Foundation object owned by C++: CFRef<CFRunLoopTimerRef>::adopt(CFRunLoopTimerCreate(...)).
template <class Ref>
using CFRef = RetainedRef<Ref, CFRefTraits>;

}  // namespace turnlet::macos
