#include "sim/windows/RecordingWindow.h"

#include <cstdio>
#include <stdexcept>

namespace turnlet::sim {

namespace {

std::string numbers(std::initializer_list<double> values) {
  std::string out;
  for (double v : values) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %g", v == 0 ? 0.0 : v);  // no "-0"
    out += buffer;
  }
  return out;
}

const char* name(SemanticColor color) {
  switch (color) {
    case SemanticColor::label: return "label";
    case SemanticColor::secondaryLabel: return "secondaryLabel";
    case SemanticColor::tertiaryLabel: return "tertiaryLabel";
    case SemanticColor::windowBackground: return "windowBackground";
  }
  return "?";
}

const char* name(LineCap cap) { return cap == LineCap::round ? "round" : cap == LineCap::square ? "square" : "butt"; }

}  // namespace

void RecordingGraphicsContext::save() { commands.push_back("save"); }
void RecordingGraphicsContext::restore() { commands.push_back("restore"); }
void RecordingGraphicsContext::translate(double x, double y) { commands.push_back("translate" + numbers({x, y})); }
void RecordingGraphicsContext::rotate(double radians) { commands.push_back("rotate" + numbers({radians})); }
void RecordingGraphicsContext::strokeRoundedRect(const Rect& r, double radius, SemanticColor color, double lineWidth) {
  commands.push_back("stroke-rounded" + numbers({r.origin.x, r.origin.y, r.size.width, r.size.height, radius}) + " " +
                     name(color) + numbers({lineWidth}));
}
void RecordingGraphicsContext::fillRoundedRect(const Rect& r, double radius, SemanticColor color) {
  commands.push_back("fill-rounded" + numbers({r.origin.x, r.origin.y, r.size.width, r.size.height, radius}) + " " +
                     name(color));
}
void RecordingGraphicsContext::strokeLine(const Point& a, const Point& b, SemanticColor color, double lineWidth,
                                          LineCap cap) {
  commands.push_back("line" + numbers({a.x, a.y, b.x, b.y}) + " " + name(color) + numbers({lineWidth}) + " " +
                     name(cap));
}

void RecordingControl::click() {
  if (!enabled || !action) return;
  if (kind == Kind::checkBox) isChecked = !isChecked;
  auto fn = action;
  fn();
}

std::vector<std::string> RecordingControl::draw(Size size) const {
  RecordingGraphicsContext context;
  if (drawer) drawer(context, size);
  return context.commands;
}

std::shared_ptr<Button> RecordingWindow::addButton(Button::Kind kind, const std::string& buttonTitle,
                                                   const Placement& at) {
  controls.push_back(std::make_shared<RecordingControl>(
      kind == Button::Kind::push ? RecordingControl::Kind::push : RecordingControl::Kind::checkBox, buttonTitle, at));
  return controls.back();
}

std::shared_ptr<Label> RecordingWindow::addLabel(const Placement& at) {
  controls.push_back(std::make_shared<RecordingControl>(RecordingControl::Kind::label, "", at));
  return controls.back();
}

std::shared_ptr<CustomView> RecordingWindow::addCustomView(const Placement& at) {
  controls.push_back(std::make_shared<RecordingControl>(RecordingControl::Kind::view, "", at));
  return controls.back();
}

RecordingControl& RecordingWindow::button(const std::string& buttonTitle) const {
  for (const auto& c : controls)
    if ((c->kind == RecordingControl::Kind::push || c->kind == RecordingControl::Kind::checkBox) &&
        c->title == buttonTitle)
      return *c;
  throw std::out_of_range("no button \"" + buttonTitle + "\" in \"" + title + "\"");
}

}  // namespace turnlet::sim
