#import <AppKit/AppKit.h>
#import <objc/message.h>

namespace turnlet::macos {

void plantedTouchCounts(NSGestureRecognizer* _Nonnull pan);

// The control: a macOS 27 setter sent by its name inside a guard (a block or one statement)
// passes, here and against the oldest SDK's declarations.
void plantedTouchCounts(NSGestureRecognizer* pan) {
  using Setter = void (*)(id _Nonnull, SEL _Nonnull, NSInteger);
  if (@available(macOS 27.0, *)) {
    SEL minimum = NSSelectorFromString(@"setMinimumNumberOfTouches:");
    if ([pan respondsToSelector:minimum]) reinterpret_cast<Setter>(objc_msgSend)(pan, minimum, 2);
  }
  if (@available(macOS 27, *)) reinterpret_cast<Setter>(objc_msgSend)(pan, NSSelectorFromString(@"setMaximumNumberOfTouches:"), 2);
}

}  // namespace turnlet::macos
