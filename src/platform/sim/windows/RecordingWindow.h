#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/AppWindow.h"

namespace turnlet::sim {

// Records each drawing command as one line of text, numbers as %g: "save", "restore",
// "translate x y", "rotate radians", "stroke-rounded x y w h radius color width",
// "fill-rounded x y w h radius color", "line x1 y1 x2 y2 color width cap".
class RecordingGraphicsContext : public GraphicsContext {
 public:
  void save() override;
  void restore() override;
  void translate(double x, double y) override;
  void rotate(double radians) override;
  void strokeRoundedRect(const Rect& rect, double radius, SemanticColor color, double lineWidth) override;
  void fillRoundedRect(const Rect& rect, double radius, SemanticColor color) override;
  void strokeLine(const Point& from, const Point& to, SemanticColor color, double lineWidth, LineCap cap) override;

  std::vector<std::string> commands;
};

// One control of a recorded window, whatever its kind; tests read its fields.
class RecordingControl : public Button, public Label, public CustomView {
 public:
  enum class Kind { push, checkBox, label, view };
  RecordingControl(Kind kind, std::string title, Placement placement)
      : kind(kind), title(std::move(title)), placement(std::move(placement)) {}

  void setAction(std::function<void()> fn) override { action = std::move(fn); }
  void setToolTip(const std::string& text) override { toolTip = text; }
  void setKeyEquivalent(std::optional<KeyEquivalent> key) override { keyEquivalent = std::move(key); }
  void setFont(const Font& value) override { font = value; }
  void setChecked(bool value) override { isChecked = value; }
  bool checked() const override { return isChecked; }
  void setEnabled(bool value) override { enabled = value; }
  void setText(const std::string& value) override { text = value; }
  void setStyle(const Font& value, SemanticColor colour, bool wrapping) override {
    font = value, color = colour, wraps = wrapping;
  }
  void setDraw(std::function<void(GraphicsContext&, Size)> fn) override { drawer = std::move(fn); }
  void setNeedsDisplay() override { ++redraws; }
  void setAccessibilityLabel(const std::string& label) override { accessibilityLabel = label; }

  // Clicks a button as the user would (a check box flips first); disabled: nothing happens.
  void click();
  // Draws the view at a size, as the window would, and returns its commands.
  std::vector<std::string> draw(Size size) const;

  Kind kind;
  std::string title;
  Placement placement;
  std::function<void()> action;
  std::string toolTip;
  std::optional<KeyEquivalent> keyEquivalent;
  Font font;
  SemanticColor color = SemanticColor::label;
  bool wraps = false;
  bool isChecked = false;
  bool enabled = true;
  std::string text;
  std::function<void(GraphicsContext&, Size)> drawer;
  int redraws = 0;
  std::string accessibilityLabel;
};

class RecordingWindow : public AppWindow {
 public:
  RecordingWindow(std::string title, Size contentSize) : title(std::move(title)), contentSize(contentSize) {}
  std::shared_ptr<Button> addButton(Button::Kind kind, const std::string& buttonTitle, const Placement& at) override;
  std::shared_ptr<Label> addLabel(const Placement& at) override;
  std::shared_ptr<CustomView> addCustomView(const Placement& at) override;
  void show() override { visible = key = true; }
  // The close button: the window hides and stays.
  void close() { visible = key = false; }

  // The first button with this title; throws std::out_of_range when there is none.
  RecordingControl& button(const std::string& buttonTitle) const;

  std::string title;
  Size contentSize;
  bool visible = false;
  bool key = false;
  std::vector<std::shared_ptr<RecordingControl>> controls;
};

}  // namespace turnlet::sim
