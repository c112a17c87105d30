#import "macos/windows/MacAppWindow.h"

#include <utility>
#include <vector>

#include "macos/bridge/ActionTarget.h"
#include "macos/bridge/CallbackSlot.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/windows/ColumnLayout.h"
#include "macos/input/KeyModifiers.h"
#include "macos/windows/MacGraphicsContext.h"
#include "macos/bridge/TextBridge.h"

// The view a CustomView draws into: not flipped (y grows upward, as GraphicsContext says), an
// image to accessibility. Its draw function runs inside drawRect:, after the base view's drawing,
// over the current graphics context; without one it draws nothing.
__attribute__((objc_subclassing_restricted))
@interface TurnletDrawingView : NSView
- (void)setDrawFunction:(std::function<void(turnlet::GraphicsContext&, turnlet::Size)>)draw;
@end

@implementation TurnletDrawingView {
  turnlet::macos::CallbackSlot<turnlet::GraphicsContext&, turnlet::Size> _draw;
}

- (void)setDrawFunction:(std::function<void(turnlet::GraphicsContext&, turnlet::Size)>)draw {
  _draw.set(std::move(draw));
}

- (void)drawRect:(NSRect)dirtyRect {
  [super drawRect:dirtyRect];
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] {
    NSGraphicsContext* current = NSGraphicsContext.currentContext;
    if (!current) return;
    turnlet::macos::MacGraphicsContext context(current);
    const NSRect bounds = self.bounds;
    _draw(context, turnlet::Size{bounds.size.width, bounds.size.height});
  });
}

@end

namespace turnlet::macos {

// The window's controls in their order, framed again on every change.
class WindowColumn final {
 public:
  WindowColumn(NSView* _Nonnull content, Size size) : content(content), size(size) {}

  void add(NSView* _Nonnull view, const Placement& at, NSTextField* _Nullable label) {
    [content addSubview:view];
    entries.push_back({view, at, label});
    layout();
  }

  void layout() {
    ColumnLayout column(size);
    for (const Entry& entry : entries) {
      const auto width = column.fixedWidth(entry.at);
      // A wrapping label reports its height for the width it gets; 0 lets a centred one grow.
      if (entry.label) entry.label.preferredMaxLayoutWidth = width.value_or(0);
      const NSSize natural = entry.view.intrinsicContentSize;
      const Rect frame = column.place(entry.at, {natural.width, natural.height});
      entry.view.frame = CGRectMake(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    }
  }

 private:
  struct Entry final {
    NSView* _Nonnull view;
    Placement at;
    NSTextField* _Nullable label;
  };
  NSView* _Nonnull content;
  Size size;
  std::vector<Entry> entries;
};

namespace {

void relayout(const std::weak_ptr<WindowColumn>& column) {
  if (auto alive = column.lock()) alive->layout();
}

class MacButton final : public Button {
 public:
  MacButton(Kind kind, const std::string& title, std::weak_ptr<WindowColumn> column)
      : kind(kind),
        pressed(std::make_shared<CallbackSlot<>>()),
        // The target calls the slot, not this object, so that a press queued after the button
        // is gone does nothing.
        target([[TurnletActionTarget alloc] initWithAction:[slot = std::weak_ptr(pressed)](id) {
          if (auto alive = slot.lock()) (*alive)();
        }]),
        button(kind == Kind::push
                   ? [NSButton buttonWithTitle:makeNSString(title) target:target action:@selector(perform:)]
                   : [NSButton checkboxWithTitle:makeNSString(title) target:target action:@selector(perform:)]),
        column(std::move(column)) {}

  ~MacButton() override {
    button.target = nil;
    button.action = nil;
    [target invalidate];
  }

  NSButton* _Nonnull platformButton() const { return button; }

  void setAction(std::function<void()> action) override { pressed->set(std::move(action)); }

  void setToolTip(const std::string& text) override { button.toolTip = text.empty() ? nil : makeNSString(text); }

  void setKeyEquivalent(std::optional<KeyEquivalent> key) override {
    button.keyEquivalent = key ? makeNSString(appKitKeyEquivalent(key->key)) : @"";
    button.keyEquivalentModifierMask =
        static_cast<NSEventModifierFlags>(key ? appKitModifierFlags(key->modifiers) : 0);
  }

  void setFont(const Font& font) override {
    button.font = platformFont(font);
    if (kind == Kind::push) {
      button.bezelStyle = NSBezelStylePush;
      button.controlSize = NSControlSizeLarge;
    }
    relayout(column);
  }

  void setChecked(bool checked) override { button.state = checked ? NSControlStateValueOn : NSControlStateValueOff; }

  bool checked() const override { return button.state == NSControlStateValueOn; }

  void setEnabled(bool enabled) override { button.enabled = enabled; }

 private:
  Kind kind;
  std::shared_ptr<CallbackSlot<>> pressed;
  TurnletActionTarget* _Nonnull target;  // the button holds its target weakly
  NSButton* _Nonnull button;
  std::weak_ptr<WindowColumn> column;
};

class MacLabel final : public Label {
 public:
  explicit MacLabel(std::weak_ptr<WindowColumn> column)
      : label([NSTextField labelWithString:@""]), column(std::move(column)) {
    label.alignment = NSTextAlignmentCenter;
  }

  NSTextField* _Nonnull platformLabel() const { return label; }

  void setText(const std::string& text) override {
    label.stringValue = makeNSString(text);
    relayout(column);
  }

  void setStyle(const Font& font, SemanticColor color, bool wraps) override {
    label.font = platformFont(font);
    label.textColor = platformColor(color);
    label.alignment = NSTextAlignmentCenter;
    label.maximumNumberOfLines = wraps ? 0 : 1;
    label.lineBreakMode = wraps ? NSLineBreakByWordWrapping : NSLineBreakByTruncatingTail;
    relayout(column);
  }

 private:
  NSTextField* _Nonnull label;
  std::weak_ptr<WindowColumn> column;
};

class MacCustomView final : public CustomView {
 public:
  MacCustomView() : view([[TurnletDrawingView alloc] initWithFrame:CGRectMake(0, 0, 0, 0)]) {
    [view setAccessibilityElement:true];
    [view setAccessibilityRole:NSAccessibilityImageRole];
  }

  ~MacCustomView() override { [view setDrawFunction:nullptr]; }

  TurnletDrawingView* _Nonnull platformView() const { return view; }

  void setDraw(std::function<void(GraphicsContext&, Size)> draw) override { [view setDrawFunction:std::move(draw)]; }

  void setNeedsDisplay() override { view.needsDisplay = true; }

  void setAccessibilityLabel(const std::string& label) override { [view setAccessibilityLabel:makeNSString(label)]; }

 private:
  TurnletDrawingView* _Nonnull view;
};

}  // namespace

NSFont* platformFont(const Font& font) {
  const NSFontWeight weight = font.weight == FontWeight::medium ? NSFontWeightMedium : NSFontWeightRegular;
  return font.monospacedDigits ? [NSFont monospacedDigitSystemFontOfSize:font.size weight:weight]
                               : [NSFont systemFontOfSize:font.size weight:weight];
}

MacAppWindow::MacAppWindow(const std::string& title, Size contentSize)
    : window([[NSWindow alloc]
          initWithContentRect:CGRectMake(0, 0, contentSize.width, contentSize.height)
                    styleMask:static_cast<NSWindowStyleMask>(NSWindowStyleMaskTitled | NSWindowStyleMaskClosable |
                                                             NSWindowStyleMaskMiniaturizable)
                      backing:NSBackingStoreBuffered
                        defer:false]) {
  window.releasedWhenClosed = false;
  window.title = makeNSString(title);
  NSView* content = [[NSView alloc] initWithFrame:CGRectMake(0, 0, contentSize.width, contentSize.height)];
  window.contentView = content;
  column = std::make_shared<WindowColumn>(content, contentSize);
  [window center];
}

MacAppWindow::~MacAppWindow() { [window orderOut:nil]; }

std::shared_ptr<Button> MacAppWindow::addButton(Button::Kind kind, const std::string& title, const Placement& at) {
  auto button = std::make_shared<MacButton>(kind, title, column);
  column->add(button->platformButton(), at, nil);
  return button;
}

std::shared_ptr<Label> MacAppWindow::addLabel(const Placement& at) {
  auto label = std::make_shared<MacLabel>(column);
  column->add(label->platformLabel(), at, label->platformLabel());
  return label;
}

std::shared_ptr<CustomView> MacAppWindow::addCustomView(const Placement& at) {
  auto view = std::make_shared<MacCustomView>();
  column->add(view->platformView(), at, nil);
  return view;
}

void MacAppWindow::show() { [window makeKeyAndOrderFront:nil]; }

}  // namespace turnlet::macos
