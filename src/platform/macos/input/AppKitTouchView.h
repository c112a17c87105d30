#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <vector>

#include "platform/Gestures.h"

namespace turnlet::macos {

// A given NSView as it receives finger touches: its bounds, flip, window and screen number, its
// allowed touch types, and the recognizers added to it, kept (strongly) until removed. The view is
// held weakly; once it is gone the view answers as one in no window. Main thread only.
class AppKitTouchView final : public TouchView {
 public:
  explicit AppKitTouchView(NSView* _Nonnull view);
  ~AppKitTouchView() override;
  AppKitTouchView(const AppKitTouchView&) = delete;
  AppKitTouchView& operator=(const AppKitTouchView&) = delete;

  Rect bounds() const override;
  bool isFlipped() const override;
  bool isInWindow() const override;
  std::optional<std::int64_t> windowScreenNumber() const override;
  TouchTypeMask allowedTouchTypes() const override;
  void setAllowedTouchTypes(TouchTypeMask types) override;
  void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) override;
  void removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) override;

 private:
  __weak NSView* _Nullable view;
  std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
};

}  // namespace turnlet::macos
