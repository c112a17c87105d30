#import <AppKit/AppKit.h>
#import <AppKit/NSPanGestureRecognizer.h>

namespace turnlet::macos {

void plantedTouchCounts(NSPanGestureRecognizer* _Nonnull pan);

// The control: every macOS 27 property inside a guard (a block or one statement) passes.
void plantedTouchCounts(NSPanGestureRecognizer* pan) {
  if (@available(macOS 27.0, *)) {
    pan.minimumNumberOfTouches = 2;
    pan.maximumNumberOfTouches = 0;
  }
  if (@available(macOS 27, *)) pan.maximumNumberOfTouches = 2;
}

}  // namespace turnlet::macos
