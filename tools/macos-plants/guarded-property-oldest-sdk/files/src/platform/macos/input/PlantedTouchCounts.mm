#import <AppKit/AppKit.h>
#import <AppKit/NSPanGestureRecognizer.h>

namespace turnlet::macos {

void plantedTouchCounts(NSPanGestureRecognizer* _Nonnull pan);

// The planted fault: guarded, but set as a property, which an SDK older than 27 does not declare.
void plantedTouchCounts(NSPanGestureRecognizer* pan) {
  if (@available(macOS 27.0, *)) {
    pan.minimumNumberOfTouches = 2;
  }
}

}  // namespace turnlet::macos
