#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>

#include "platform/AppWindow.h"

namespace turnlet::macos {

class WindowColumn;

// A titled NSWindow with close and minimise buttons, not resizable, of a fixed content size,
// centred when made. Closing it only orders it out: it is not released when closed (under ARC
// AppKit's own release would free it twice) and lives as long as this object. Its controls are
// NSButtons, label NSTextFields and a drawing view, framed by ColumnLayout; the column is laid out
// again whenever a label's text or a control's font changes, so that a wrapping label that gains a
// line moves the controls below it down. Main loop only.
class MacAppWindow final : public AppWindow {
 public:
  MacAppWindow(const std::string& title, Size contentSize);
  ~MacAppWindow() override;
  MacAppWindow(const MacAppWindow&) = delete;
  MacAppWindow& operator=(const MacAppWindow&) = delete;

  std::shared_ptr<Button> addButton(Button::Kind kind, const std::string& title, const Placement& at) override;
  std::shared_ptr<Label> addLabel(const Placement& at) override;
  std::shared_ptr<CustomView> addCustomView(const Placement& at) override;
  // makeKeyAndOrderFront:, which also brings it back after it was closed.
  void show() override;

 private:
  NSWindow* _Nonnull window;
  std::shared_ptr<WindowColumn> column;
};

// The system font for a Font.
NSFont* _Nonnull platformFont(const Font& font);

}  // namespace turnlet::macos
