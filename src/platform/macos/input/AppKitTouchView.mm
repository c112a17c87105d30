#import "macos/input/AppKitTouchView.h"

#include <algorithm>

#include "macos/input/AppKitGestureRecognizers.h"
#include "macos/display/DisplayValues.h"
#include "macos/bridge/NumberBridge.h"

namespace turnlet::macos {

AppKitTouchView::AppKitTouchView(NSView* view) : view(view) {}

AppKitTouchView::~AppKitTouchView() {
  // Recognizers still added leave the view with this object, so none is called for a view the
  // program no longer has.
  NSView* strong = view;
  for (const auto& recognizer : recognizers) {
    if (GestureDispatch* dispatch = gestureDispatch(*recognizer)) dispatch->setInView(false);
    NSGestureRecognizer* platform = platformRecognizer(*recognizer);
    if (strong && platform) [strong removeGestureRecognizer:platform];
  }
}

Rect AppKitTouchView::bounds() const {
  NSView* strong = view;
  if (!strong) return Rect();
  const NSRect b = strong.bounds;
  return Rect(b.origin.x, b.origin.y, b.size.width, b.size.height);
}

bool AppKitTouchView::isFlipped() const {
  NSView* strong = view;
  return strong && strong.isFlipped;
}

bool AppKitTouchView::isInWindow() const {
  NSView* strong = view;
  return strong && strong.window != nil;
}

std::optional<std::int64_t> AppKitTouchView::windowScreenNumber() const {
  NSView* strong = view;
  NSScreen* screen = strong.window.screen;
  if (!screen) return std::nullopt;
  return screenNumber(platformNumber([screen.deviceDescription objectForKey:@"NSScreenNumber"]));
}

TouchTypeMask AppKitTouchView::allowedTouchTypes() const {
  NSView* strong = view;
  return strong ? strong.allowedTouchTypes : 0;
}

void AppKitTouchView::setAllowedTouchTypes(TouchTypeMask types) {
  NSView* strong = view;
  strong.allowedTouchTypes = static_cast<NSTouchTypeMask>(types);
}

void AppKitTouchView::addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) {
  if (!recognizer) return;
  NSGestureRecognizer* platform = platformRecognizer(*recognizer);
  GestureDispatch* dispatch = gestureDispatch(*recognizer);
  NSView* strong = view;
  if (!platform || !dispatch || !strong) return;
  if (std::find(recognizers.begin(), recognizers.end(), recognizer) != recognizers.end()) return;
  [strong addGestureRecognizer:platform];
  dispatch->setInView(true);
  recognizers.push_back(std::move(recognizer));
}

void AppKitTouchView::removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
  const auto it = std::find(recognizers.begin(), recognizers.end(), recognizer);
  if (it == recognizers.end()) return;
  // Kept until the end of this call even when the view held the last reference (a recognizer
  // removed from inside its own callback is also held by the dispatch for that call).
  const std::shared_ptr<GestureRecognizer> keep = *it;
  recognizers.erase(it);
  if (GestureDispatch* dispatch = gestureDispatch(*keep)) dispatch->setInView(false);
  NSGestureRecognizer* platform = platformRecognizer(*keep);
  NSView* strong = view;
  if (strong && platform) [strong removeGestureRecognizer:platform];
}

}  // namespace turnlet::macos
