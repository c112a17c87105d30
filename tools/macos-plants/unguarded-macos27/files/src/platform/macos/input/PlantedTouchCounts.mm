#import <AppKit/AppKit.h>
#import <AppKit/NSPanGestureRecognizer.h>

namespace turnlet::macos {

void plantedTouchCounts(NSPanGestureRecognizer* _Nonnull pan);

void plantedTouchCounts(NSPanGestureRecognizer* pan) {
  if (@available(macOS 27.0, *)) {
    pan.minimumNumberOfTouches = 2;  // guarded: must not be reported
  } else {
    return;
  }
  pan.maximumNumberOfTouches = 0;  // the planted fault: outside the guard
}

}  // namespace turnlet::macos
