#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/GraphicsContext.h"
#include "platform/Menu.h"

namespace turnlet {

enum class FontWeight { regular, medium };

// The system font at a size and weight, optionally with digits of equal width.
struct Font {
  double size = 13;
  FontWeight weight = FontWeight::regular;
  bool monospacedDigits = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// Where a control sits in the window's single column: `top` points below the previous control
// (or the content's top), centred at its natural or given size, or stretched to `sideInset` from
// both edges when that is set.
struct Placement {
  double top = 0;
  std::optional<Size> size;
  std::optional<double> sideInset;
  friend bool operator==(const Placement&, const Placement&) = default;
};

// A push button or a check box. Main loop only.
class Button {
 public:
  enum class Kind { push, checkBox };
  virtual ~Button() = default;
  virtual void setAction(std::function<void()> action) = 0;
  virtual void setToolTip(const std::string& text) = 0;
  virtual void setKeyEquivalent(std::optional<KeyEquivalent> key) = 0;
  virtual void setFont(const Font& font) = 0;  // push buttons: large, rounded bezel
  virtual void setChecked(bool checked) = 0;
  virtual bool checked() const = 0;
  virtual void setEnabled(bool enabled) = 0;
};

// A text label with centred text; `wraps` says whether it breaks long texts into lines.
class Label {
 public:
  virtual ~Label() = default;
  virtual void setText(const std::string& text) = 0;
  virtual void setStyle(const Font& font, SemanticColor color, bool wraps) = 0;
};

// A view that draws itself, an image element to accessibility.
class CustomView {
 public:
  virtual ~CustomView() = default;
  virtual void setDraw(std::function<void(GraphicsContext&, Size bounds)> draw) = 0;
  virtual void setNeedsDisplay() = 0;
  virtual void setAccessibilityLabel(const std::string& label) = 0;
};

// A standard titled window with close and minimise buttons, not resizable, hidden (never
// released) when closed, centred when created. Its controls stack top to bottom in one column.
// Main loop only.
class AppWindow {
 public:
  virtual ~AppWindow() = default;
  virtual std::shared_ptr<Button> addButton(Button::Kind kind, const std::string& title, const Placement& at) = 0;
  virtual std::shared_ptr<Label> addLabel(const Placement& at) = 0;
  virtual std::shared_ptr<CustomView> addCustomView(const Placement& at) = 0;
  // Makes it the key window and orders it in front of the others.
  virtual void show() = 0;
};

}  // namespace turnlet
