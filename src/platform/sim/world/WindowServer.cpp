#include "sim/world/WindowServer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace turnlet::sim {

// ---- window -------------------------------------------------------------------------------

ServerWindow::ServerWindow(WindowServer& server, WindowFrame contentRect, WindowStyleMask style,
                           BackingStoreType backing, bool defer)
    : server(&server), currentFrame(contentRect), occlusion(std::make_shared<SimWindow>(server.loop)) {
  props.style = style;
  props.backing = backing;
  props.deferred = defer;
  occlusion->setOcclusionState(0);
}

ServerWindow::~ServerWindow() {
  attachView(false);
  if (!server) return;
  server->endAnimation(*this);
  std::erase(server->live, this);
  server->updateOcclusion();
}

void ServerWindow::setAlphaValue(double value) {
  if (server) server->endAnimation(*this);
  alpha = value;
  if (server) server->updateOcclusion();
}

double ServerWindow::alphaValue() const {
  if (!animation || !server) return alpha;
  const AlphaAnimation& a = *animation;
  const double progress = std::clamp((server->loop.now() - a.start) / a.duration, 0.0, 1.0);
  return a.from + (a.to - a.from) * WindowServer::timingCurve(a.timing, progress);
}

void ServerWindow::setFrame(WindowFrame frame, bool) {
  ++setFrameCalls;
  currentFrame = frame;
  placeTouchView();
  if (server) server->updateOcclusion();
}

void ServerWindow::placeTouchView() {
  auto view = std::dynamic_pointer_cast<SimGpuView>(content);
  if (!view || view->window() != occlusion) return;
  view->fingers()->setBounds(Rect(0, 0, currentFrame.width, currentFrame.height));
  const auto screen = this->screen();
  view->fingers()->setScreenNumber(screen ? std::optional(screen->number) : std::nullopt);
}

std::optional<WindowScreen> ServerWindow::screen() const {
  return server && server->screenUnder ? server->screenUnder(currentFrame) : std::nullopt;
}

void ServerWindow::orderFrontRegardless() {
  closed = false;
  if (server) orderStamp = server->nextOrderStamp++;
  setShown(true);
  if (server) server->updateOcclusion();  // brought to the front, it may cover others now
}

void ServerWindow::orderOut() { setShown(false); }

void ServerWindow::close() {
  setShown(false);
  closed = true;
  if (server) server->endAnimation(*this);
}

void ServerWindow::setContentView(std::shared_ptr<GpuView> view) {
  attachView(false);
  content = std::move(view);
  attachView(true);
}

void ServerWindow::setShown(bool shown) {
  if (visible == shown) return;
  visible = shown;
  occlusion->setOnAwakeScreen(shown);
  if (server) return server->updateOcclusion();
  occlusion->setOcclusionState(shown ? Window::occlusionStateVisible : 0);
}

void ServerWindow::attachView(bool attach) {
  auto view = std::dynamic_pointer_cast<SimGpuView>(content);
  if (!view) return;
  if (attach) {
    view->setWindow(occlusion);
    // The view fills the content area in the pixels of the screen it is on.
    const double scale = screen().value_or(WindowScreen{}).scale;
    const auto side = [scale](double points) {
      return points > 0 && points < 1e5 ? std::size_t(std::llround(points * scale)) : 0;
    };
    if (side(currentFrame.width) && side(currentFrame.height))
      view->resizeDrawable(side(currentFrame.width), side(currentFrame.height));
    placeTouchView();
    view->fingers()->setInWindow(true);
  } else if (view->window() == occlusion) {
    view->setWindow(nullptr);
    view->fingers()->setInWindow(false);
  }
}

// ---- animation group context --------------------------------------------------------------

class WindowServer::Context : public AnimationContext {
 public:
  Context(WindowServer& server, std::uint64_t group) : server(server), group(group) {}
  void setDuration(double seconds) override { duration = seconds; }
  void setTimingFunction(TimingFunction curve) override { timing = curve; }
  void animateAlphaValue(PlatformWindow& window, double alpha) override {
    auto* own = dynamic_cast<ServerWindow*>(&window);
    if (!own || own->server != &server) return;  // not a window of this server
    server.animateAlpha(*own, alpha, duration, timing, group);
  }

 private:
  WindowServer& server;
  std::uint64_t group;
  double duration = 0.25;
  TimingFunction timing = TimingFunction::linear;
};

// ---- server -------------------------------------------------------------------------------

WindowServer::WindowServer(MainLoop& loop) : loop(loop) {}

WindowServer::~WindowServer() {
  for (ServerWindow* window : live) {
    if (window->animation) loop.cancel(window->animation->timer);
    window->animation.reset();
    window->server = nullptr;
  }
}

std::unique_ptr<PlatformWindow> WindowServer::makeWindow(WindowFrame contentRect, WindowStyleMask style,
                                                         BackingStoreType backing, bool defer) {
  auto window = std::make_unique<ServerWindow>(*this, contentRect, style, backing, defer);
  live.push_back(window.get());
  return window;
}

WindowLevel WindowServer::windowLevelForKey(WindowLevelKey key) {
  switch (key) {
    case WindowLevelKey::floating: return 3;
    case WindowLevelKey::statusWindow: return 25;
    case WindowLevelKey::screenSaver: return 1000;
    default: return 0;
  }
}

void WindowServer::runAnimationGroup(std::function<void(AnimationContext&)> changes,
                                     std::function<void()> completionHandler) {
  const std::uint64_t id = nextGroup++;
  groups[id].completion = std::move(completionHandler);
  Context context(*this, id);
  if (changes) changes(context);
  groups[id].collecting = false;
  if (groups[id].pending == 0) groupAnimationEnded(id);
}

std::vector<const ServerWindow*> WindowServer::windows() const {
  std::vector<const ServerWindow*> open;
  for (const ServerWindow* window : live)
    if (!window->closed) open.push_back(window);
  std::stable_sort(open.begin(), open.end(), [](const ServerWindow* a, const ServerWindow* b) {
    if (a->props.level != b->props.level) return a->props.level > b->props.level;
    return a->orderStamp > b->orderStamp;
  });
  return open;
}

int WindowServer::completionsPending() const { return static_cast<int>(groups.size()); }

double WindowServer::timingCurve(TimingFunction timing, double x) {
  // Control points (x1, y1, x2, y2) of the platform's named curves.
  struct Controls {
    double x1, y1, x2, y2;
  };
  Controls c{0, 0, 1, 1};
  switch (timing) {
    case TimingFunction::linear: return std::clamp(x, 0.0, 1.0);
    case TimingFunction::easeIn: c = {0.42, 0, 1, 1}; break;
    case TimingFunction::easeOut: c = {0, 0, 0.58, 1}; break;
    case TimingFunction::easeInEaseOut: c = {0.42, 0, 0.58, 1}; break;
  }
  auto bezier = [](double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
  };
  // x(s) rises monotonically on [0, 1], so bisection finds the parameter for x.
  double lo = 0, hi = 1;
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (bezier(c.x1, c.x2, mid) < x ? lo : hi) = mid;
  }
  return bezier(c.y1, c.y2, (lo + hi) / 2);
}

void WindowServer::animateAlpha(ServerWindow& window, double to, double duration, TimingFunction timing,
                                std::uint64_t group) {
  const double from = window.alphaValue();
  endAnimation(window);
  ++started;
  if (!(duration > 0) || window.closed) {
    window.alpha = to;
    return updateOcclusion();
  }
  ++groups[group].pending;
  const auto timer = loop.schedule(duration, [this, weak = std::weak_ptr<bool>(alive), w = &window] {
    if (weak.expired()) return;
    const double target = w->animation->to;
    endAnimation(*w);
    w->alpha = target;
    updateOcclusion();
  });
  window.animation = ServerWindow::AlphaAnimation{from, to, loop.now(), duration, timing, group, timer};
  updateOcclusion();
}

void WindowServer::updateOcclusion() {
  const auto frontToBack = windows();
  auto hidesBelow = [](const ServerWindow& w) {
    return w.visible && !w.animation && w.alpha >= 1 && w.props.backgroundColor.alpha >= 1;
  };
  auto covers = [](const WindowFrame& a, const WindowFrame& b) {
    return a.x <= b.x && a.y <= b.y && a.x + a.width >= b.x + b.width && a.y + a.height >= b.y + b.height;
  };
  for (std::size_t i = 0; i < frontToBack.size(); ++i) {
    const ServerWindow& w = *frontToBack[i];
    bool seen = w.visible;
    for (std::size_t j = 0; seen && j < i; ++j)
      if (hidesBelow(*frontToBack[j]) && covers(frontToBack[j]->currentFrame, w.currentFrame)) seen = false;
    const std::uint64_t state = seen ? Window::occlusionStateVisible : 0;
    if (w.occlusion->occlusionState() != state) w.occlusion->setOcclusionState(state);
  }
}

void WindowServer::endAnimation(ServerWindow& window) {
  if (!window.animation) return;
  window.alpha = window.alphaValue();
  const auto ended = *std::exchange(window.animation, std::nullopt);
  loop.cancel(ended.timer);
  groupAnimationEnded(ended.group);
}

void WindowServer::groupAnimationEnded(std::uint64_t id) {
  auto it = groups.find(id);
  if (it == groups.end()) return;
  Group& group = it->second;
  if (group.pending > 0) --group.pending;
  if (group.pending > 0 || group.collecting) return;
  auto completion = std::move(group.completion);
  groups.erase(it);
  if (completion) loop.post(std::move(completion));
}

SimAppWindow* WindowServer::appWindow(WindowNumber number) {
  for (auto& app : applications)
    for (auto& w : app.windows)
      if (w.number == number) return &w;
  return nullptr;
}

SimApplication* WindowServer::application(ProcessID pid) {
  for (auto& app : applications)
    if (app.pid == pid) return &app;
  return nullptr;
}

void WindowServer::closeAppWindow(WindowNumber number) {
  for (auto& app : applications) std::erase_if(app.windows, [&](const SimAppWindow& w) { return w.number == number; });
}

void WindowServer::raiseAppWindow(WindowNumber number) {
  if (SimAppWindow* w = appWindow(number)) w->raised = nextRaise++;
}

std::vector<std::pair<const SimApplication*, const SimAppWindow*>> WindowServer::appWindowsFrontToBack() const {
  std::vector<std::pair<const SimApplication*, const SimAppWindow*>> list;
  for (const auto& app : applications)
    for (const auto& w : app.windows)
      if (w.onScreen) list.emplace_back(&app, &w);
  std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    if (a.second->layer != b.second->layer) return a.second->layer > b.second->layer;
    return a.second->raised > b.second->raised;
  });
  return list;
}

}  // namespace turnlet::sim
