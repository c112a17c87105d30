#include "sim/input/SimTouchView.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace turnlet::sim {

enum class Kind { pan, press, custom };

// The state every simulated recognizer keeps, whatever its kind.
struct RecognizerCore {
  Kind kind;
  GestureRecognizer* self = nullptr;
  GestureRecognizers::Action action;
  std::shared_ptr<GestureHooks> hooks;
  GestureState state = GestureState::possible;
  bool enabled = true;
  TouchTypeMask allowed = touchTypeMaskDirect | touchTypeMaskIndirect;
  std::weak_ptr<GestureRecognizerDelegate> delegate;
  SimTouchView* view = nullptr;
  // How many fingers the recognizer takes (a maximum of 0: exactly the minimum).
  std::int64_t minimumTouches = 1;
  std::int64_t maximumTouches = PanGestureRecognizer::unlimitedTouches;
  double minimumDuration = 0.5;
  std::set<std::uint64_t> touches;
  Point start, location, translation, velocity;
  Point lastTranslation;
  double lastTime = 0;
  std::uint64_t flags = 0;
  std::optional<MainLoop::TimerId> pressTimer;

  void fire() {
    if (action) action(*self);
  }
  std::int64_t mostTouches() const { return maximumTouches == 0 ? minimumTouches : maximumTouches; }
  bool takes(std::size_t count) const {
    const auto n = static_cast<std::int64_t>(count);
    return n >= minimumTouches && n <= mostTouches();
  }
};

class SimRecognizerAccess {
 public:
  virtual ~SimRecognizerAccess() = default;
  virtual RecognizerCore& core() = 0;
};

namespace {

RecognizerCore& coreOf(GestureRecognizer& r) { return dynamic_cast<SimRecognizerAccess&>(r).core(); }

template <class Base>
class SimRecognizer : public Base, public SimRecognizerAccess {
 public:
  SimRecognizer(Kind kind, GestureRecognizers::Action action) {
    c.kind = kind;
    c.self = this;
    c.action = std::move(action);
  }
  RecognizerCore& core() override { return c; }
  GestureState state() const override { return c.state; }
  void setEnabled(bool enabled) override { c.enabled = enabled; }
  void setAllowedTouchTypes(TouchTypeMask types) override { c.allowed = types; }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) override { c.delegate = std::move(delegate); }
  Point locationInView() const override {
    if (c.hooks)
      if (auto p = c.hooks->location()) return *p;
    return c.location;
  }
  std::uint64_t modifierFlags() const override { return c.flags; }

 protected:
  RecognizerCore c;
};

class SimPan final : public SimRecognizer<PanGestureRecognizer> {
 public:
  using SimRecognizer::SimRecognizer;
  void setMinimumNumberOfTouches(std::int64_t touches) override { c.minimumTouches = touches; }
  void setMaximumNumberOfTouches(std::int64_t touches) override { c.maximumTouches = touches; }
  Point translationInView() const override { return c.translation; }
  Point velocityInView() const override { return c.velocity; }
};

class SimPress final : public SimRecognizer<PressGestureRecognizer> {
 public:
  using SimRecognizer::SimRecognizer;
  void setMinimumPressDuration(double seconds) override { c.minimumDuration = seconds; }
  void setNumberOfTouchesRequired(int touches) override { c.minimumTouches = c.maximumTouches = touches; }
};

class SimCustom final : public SimRecognizer<CustomGestureRecognizer> {
 public:
  using SimRecognizer::SimRecognizer;
  void setState(GestureState state) override { c.state = state; }
  bool hasView() const override { return c.view != nullptr; }
};

class SimTouchEvent : public TouchEvent {
 public:
  std::uint64_t eventType = eventTypeDirectTouch;
  double time = 0;
  std::uint64_t flags = 0;
  std::vector<Touch> all;
  std::uint64_t type() const override { return eventType; }
  double timestamp() const override { return time; }
  std::uint64_t modifierFlags() const override { return flags; }
  std::vector<Touch> touches(TouchPhase matching) const override {
    std::vector<Touch> list;
    for (const auto& t : all)
      if (t.phase & matching) list.push_back(t);
    return list;
  }
};

bool active(GestureState s) { return s == GestureState::began || s == GestureState::changed; }

}  // namespace

std::shared_ptr<PanGestureRecognizer> SimGestureRecognizers::makePan(Action action) {
  return std::make_shared<SimPan>(Kind::pan, std::move(action));
}
std::shared_ptr<PressGestureRecognizer> SimGestureRecognizers::makePress(Action action) {
  auto r = std::make_shared<SimPress>(Kind::press, std::move(action));
  r->core().maximumTouches = 1;
  return r;
}
std::shared_ptr<CustomGestureRecognizer> SimGestureRecognizers::makeCustom(std::shared_ptr<GestureHooks> hooks,
                                                                           Action action) {
  auto r = std::make_shared<SimCustom>(Kind::custom, std::move(action));
  r->core().hooks = std::move(hooks);
  return r;
}

SimTouchView::SimTouchView(MainLoop& loop, Rect bounds, std::optional<std::int64_t> screenNumber, bool flipped)
    : loop(loop), frame(bounds), screen(screenNumber), flipped(flipped) {}

void SimTouchView::addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) {
  coreOf(*recognizer).view = this;
  attached.push_back(std::move(recognizer));
}

void SimTouchView::removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
  auto it = std::find(attached.begin(), attached.end(), recognizer);
  if (it == attached.end()) return;
  RecognizerCore& c = coreOf(*recognizer);
  if (c.pressTimer) loop.cancel(*c.pressTimer);
  c.pressTimer.reset();
  c.view = nullptr;
  attached.erase(it);
}

bool SimTouchView::isAttached(const GestureRecognizer* recognizer) const {
  return std::any_of(attached.begin(), attached.end(), [&](const auto& r) { return r.get() == recognizer; });
}

void SimTouchView::setInWindow(bool in) {
  if (!in) cancelTouches();
  inWindow = in;
}

void SimTouchView::touchDown(std::uint64_t finger, Point location, TouchType type) {
  fingers[finger] = {location, type, touchPhaseBegan};
  dispatch({finger}, touchPhaseBegan);
}

void SimTouchView::touchMove(std::uint64_t finger, Point location) { touchMoves({{finger, location}}); }

void SimTouchView::touchMoves(const std::vector<std::pair<std::uint64_t, Point>>& moves) {
  std::vector<std::uint64_t> moved;
  for (const auto& [finger, location] : moves) {
    auto it = fingers.find(finger);
    if (it == fingers.end()) continue;
    it->second.location = location;
    it->second.phase = touchPhaseMoved;
    moved.push_back(finger);
  }
  if (!moved.empty()) dispatch(moved, touchPhaseMoved);
}

void SimTouchView::touchUp(std::uint64_t finger) {
  auto it = fingers.find(finger);
  if (it == fingers.end()) return;
  it->second.phase = touchPhaseEnded;
  dispatch({finger}, touchPhaseEnded);
}

void SimTouchView::cancelTouches() {
  if (fingers.empty()) return;
  for (auto& [id, f] : fingers) f.phase = touchPhaseCancelled;
  dispatch({fingers.begin()->first}, touchPhaseCancelled);
}

void SimTouchView::win(RecognizerCore& winner) {
  for (const auto& r : std::vector(attached)) {
    RecognizerCore& c = coreOf(*r);
    if (&c == &winner || c.state != GestureState::possible) continue;
    c.state = GestureState::failed;
    if (c.pressTimer) loop.cancel(*c.pressTimer);
    c.pressTimer.reset();
  }
}

void SimTouchView::pressDue(std::weak_ptr<GestureRecognizer> weak) {
  auto r = weak.lock();
  if (!r || !isAttached(r.get())) return;
  RecognizerCore& c = coreOf(*r);
  c.pressTimer.reset();
  if (c.state != GestureState::possible || !c.takes(c.touches.size())) return;
  auto delegate = c.delegate.lock();
  if (delegate && !delegate->shouldBegin(*r)) {
    c.state = GestureState::failed;
    return;
  }
  if (!isAttached(r.get())) return;
  c.state = GestureState::began;
  win(c);
  c.fire();
}

void SimTouchView::dispatch(const std::vector<std::uint64_t>& changed, TouchPhase phase) {
  const std::uint64_t finger = changed.front();
  SimTouchEvent event;
  event.time = loop.now();
  event.flags = modifierFlags;
  for (const auto& [id, f] : fingers) {
    event.all.push_back({id, f.type, f.phase, f.location});
    if (f.type != TouchType::direct) event.eventType = eventTypeGesture;
  }
  const Finger first = fingers.at(finger);
  const Touch touch{finger, first.type, phase, first.location};

  for (const auto& r : std::vector(attached)) {
    if (!isAttached(r.get())) continue;
    RecognizerCore& c = coreOf(*r);
    if (!c.enabled) continue;
    c.flags = modifierFlags;
    const bool typeAllowed = (c.allowed & (TouchTypeMask{1} << static_cast<int>(first.type))) &&
                             (allowed & (TouchTypeMask{1} << static_cast<int>(first.type)));
    if (phase == touchPhaseBegan) {
      if (!typeAllowed || c.state == GestureState::failed || c.state == GestureState::ended) continue;
      auto delegate = c.delegate.lock();
      if (delegate && (!delegate->shouldAttemptToRecognize(*r, event) || !isAttached(r.get()))) continue;
      if (delegate && (!delegate->shouldReceiveTouch(*r, touch) || !isAttached(r.get()))) continue;
      c.touches.insert(finger);
    } else if (std::none_of(changed.begin(), changed.end(), [&](auto id) { return c.touches.count(id) > 0; })) {
      if (phase != touchPhaseCancelled) continue;
    }
    // A recognizer that failed or finished hears nothing more until every finger is up.
    if (c.state == GestureState::failed || c.state == GestureState::ended || c.state == GestureState::cancelled) continue;
    // The recognizer's fingers: their centroid is its location.
    Point sum;
    int n = 0;
    for (auto id : c.touches)
      if (auto it = fingers.find(id); it != fingers.end()) sum.x += it->second.location.x, sum.y += it->second.location.y, ++n;
    if (n > 0) c.location = {sum.x / n, sum.y / n};

    if (c.kind == Kind::custom) {
      auto& custom = static_cast<CustomGestureRecognizer&>(*r);
      const GestureState before = c.state;
      if (phase == touchPhaseBegan) c.hooks->touchesBegan(custom, event);
      if (phase == touchPhaseMoved) c.hooks->touchesMoved(custom, event);
      if (phase == touchPhaseEnded) c.hooks->touchesEnded(custom, event);
      if (phase == touchPhaseCancelled) c.hooks->touchesCancelled(custom, event);
      if (c.state == GestureState::ended && before != GestureState::ended) {
        auto delegate = c.delegate.lock();
        if (delegate && !delegate->shouldBegin(*r)) {
          c.state = GestureState::failed;
        } else if (isAttached(r.get())) {
          win(c);
          c.fire();
        }
      }
      continue;
    }

    if (phase == touchPhaseCancelled) {
      if (active(c.state)) {
        c.state = GestureState::cancelled;
        c.fire();
      } else if (c.state == GestureState::possible) {
        c.state = GestureState::failed;
      }
      continue;
    }
    const std::size_t count = c.touches.size();
    if (phase == touchPhaseBegan) {
      if (c.state == GestureState::possible && static_cast<std::int64_t>(count) > c.mostTouches())
        c.state = GestureState::failed;
      // Every finger that joins within the counts starts the measuring again from their centroid.
      if (c.state == GestureState::possible && c.takes(count)) {
        c.start = c.location;
        c.translation = c.lastTranslation = c.velocity = {};
        c.lastTime = event.time;
        if (c.kind == Kind::press) {
          if (c.pressTimer) loop.cancel(*c.pressTimer);
          c.pressTimer = loop.schedule(c.minimumDuration, [self = weak_from_this(), weak = std::weak_ptr(r)] {
            if (auto v = self.lock()) v->pressDue(weak);
          });
        }
      }
      continue;
    }
    const Point t{c.location.x - c.start.x, c.location.y - c.start.y};
    if (phase == touchPhaseMoved) {
      if (c.kind == Kind::press && c.state == GestureState::possible &&
          std::hypot(t.x, t.y) > allowableMovement) {
        c.state = GestureState::failed;
        if (c.pressTimer) loop.cancel(*c.pressTimer);
        c.pressTimer.reset();
      }
      if (c.kind == Kind::pan) {
        const double dt = event.time - c.lastTime;
        if (dt > 0) c.velocity = {(t.x - c.lastTranslation.x) / dt, (t.y - c.lastTranslation.y) / dt};
        c.lastTranslation = t;
        c.lastTime = event.time;
        c.translation = t;
        if (c.state == GestureState::possible && c.takes(count) && std::hypot(t.x, t.y) >= panStartDistance) {
          auto delegate = c.delegate.lock();
          if (delegate && !delegate->shouldBegin(*r)) {
            c.state = GestureState::failed;
            continue;
          }
          if (!isAttached(r.get())) continue;
          c.state = GestureState::began;
          win(c);
          c.fire();
          continue;
        }
      }
      if (active(c.state)) {
        c.state = GestureState::changed;
        c.fire();
      }
      continue;
    }
    // Ended.
    if (active(c.state)) {
      c.state = GestureState::ended;
      c.fire();
    } else if (c.state == GestureState::possible) {
      c.state = GestureState::failed;
      if (c.pressTimer) loop.cancel(*c.pressTimer);
      c.pressTimer.reset();
    }
  }

  if (phase == touchPhaseEnded || phase == touchPhaseCancelled) {
    if (phase == touchPhaseCancelled) {
      fingers.clear();
    } else {
      fingers.erase(finger);
    }
    for (const auto& r : std::vector(attached)) coreOf(*r).touches.erase(finger);
  } else {
    for (auto id : changed) fingers[id].phase = touchPhaseStationary;
  }
  if (fingers.empty()) {
    // Every recognizer is ready for the next gesture.
    for (const auto& r : std::vector(attached)) {
      RecognizerCore& c = coreOf(*r);
      if (c.pressTimer) loop.cancel(*c.pressTimer);
      c.pressTimer.reset();
      c.touches.clear();
      if (c.state != GestureState::possible) {
        c.state = GestureState::possible;
        if (c.hooks) c.hooks->reset();
      }
    }
  }
}

}  // namespace turnlet::sim
