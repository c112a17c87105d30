#include "sim/gpu/SimGpuView.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace turnlet::sim {

// ---- window -------------------------------------------------------------------------------

Window::ObserverId SimWindow::addOcclusionStateObserver(std::function<void()> handler) {
  const ObserverId id = nextId++;
  observers.emplace(id, std::move(handler));
  return id;
}

void SimWindow::removeOcclusionStateObserver(ObserverId id) { observers.erase(id); }

void SimWindow::setOcclusionState(std::uint64_t newState) {
  state = newState;
  loop.post([weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    std::vector<ObserverId> ids;
    for (const auto& entry : self->observers) ids.push_back(entry.first);
    for (ObserverId id : ids) {
      // An observer may remove itself or others while the notification goes round.
      auto found = self->observers.find(id);
      if (found == self->observers.end()) continue;
      auto handler = found->second;
      handler();
    }
  });
}

// ---- the display behind the layer ---------------------------------------------------------

class ViewDrawable;

// The layer's drawable pool and the queue of presented drawables; shared with the GPU worker and
// the display queue, so every field is under the mutex.
struct SimMetalLayer::Screen : std::enable_shared_from_this<SimMetalLayer::Screen> {
  Screen(SimGpu& gpu, MainLoop& clock) : gpu(gpu), clock(clock) {}

  SimGpu& gpu;
  MainLoop& clock;
  mutable std::mutex mutex;
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t maximumCount = 3;
  bool displaySync = true;
  std::uint64_t generation = 0;  // textures of older generations are not taken back
  std::vector<std::shared_ptr<SimTexture>> free;
  std::size_t inUse = 0;
  std::deque<std::shared_ptr<ViewDrawable>> waiting;
  bool blankScheduled = false;
  double lastBlankIndex = -1;
  std::size_t shown = 0;
  std::function<void(const SimTexture&, double)> observer;
  // The picture on screen: kept out of the pool until a newer one is shown.
  std::shared_ptr<SimTexture> front;
  std::uint64_t frontGeneration = 0;

  std::shared_ptr<ViewDrawable> take();
  void giveBack(const std::shared_ptr<SimTexture>& texture, std::uint64_t ofGeneration);
  void presented(std::shared_ptr<ViewDrawable> drawable);
  void scheduleBlank();  // with the mutex held
  void blank();
  void show(const std::shared_ptr<ViewDrawable>& drawable, double at);
};

class ViewDrawable : public SimDrawable, public std::enable_shared_from_this<ViewDrawable> {
 public:
  ViewDrawable(std::shared_ptr<SimTexture> texture, std::uint64_t generation,
               std::weak_ptr<SimMetalLayer::Screen> screen)
      : SimDrawable(std::move(texture)), generation(generation), screen(std::move(screen)) {}

  ~ViewDrawable() override {
    if (queued.load()) return;  // the blank that shows it hands the texture back
    if (auto s = screen.lock()) s->giveBack(simTexture(), generation);
  }

  void present() override {
    if (queued.exchange(true)) return;
    auto s = screen.lock();
    if (!s) return;
    s->presented(shared_from_this());
  }

  // On screen now: runs the presented handlers.
  void show() { SimDrawable::present(); }

  const std::uint64_t generation;

 private:
  std::weak_ptr<SimMetalLayer::Screen> screen;
  std::atomic<bool> queued{false};
};

std::shared_ptr<ViewDrawable> SimMetalLayer::Screen::take() {
  std::shared_ptr<SimTexture> texture;
  std::uint64_t ofGeneration;
  std::size_t w, h;
  {
    std::lock_guard lock(mutex);
    if (width == 0 || height == 0) return nullptr;
    if (!free.empty()) {
      texture = std::move(free.back());
      free.pop_back();
    } else if (inUse >= maximumCount) {
      return nullptr;
    }
    ++inUse;
    ofGeneration = generation;
    w = width;
    h = height;
  }
  if (!texture) texture = gpu.makeTexture(w, h);
  return std::make_shared<ViewDrawable>(std::move(texture), ofGeneration, weak_from_this());
}

void SimMetalLayer::Screen::giveBack(const std::shared_ptr<SimTexture>& texture, std::uint64_t ofGeneration) {
  std::lock_guard lock(mutex);
  --inUse;
  if (ofGeneration == generation && free.size() < maximumCount) free.push_back(texture);
}

void SimMetalLayer::Screen::presented(std::shared_ptr<ViewDrawable> drawable) {
  std::lock_guard lock(mutex);
  waiting.push_back(std::move(drawable));
  if (!blankScheduled) scheduleBlank();
}

void SimMetalLayer::Screen::scheduleBlank() {
  blankScheduled = true;
  const double now = clock.now();
  // The next blank strictly after the last one shown and not before now.
  const double index = std::max(std::floor(now / SimGpuView::refreshIntervalSeconds + 1e-6) + 1, lastBlankIndex + 1);
  lastBlankIndex = index;
  const double delay = std::max(index * SimGpuView::refreshIntervalSeconds - now, 0.0);
  gpu.displayQueue().asyncAfter(delay, [self = shared_from_this()] { self->blank(); });
}

void SimMetalLayer::Screen::blank() {
  std::vector<std::shared_ptr<ViewDrawable>> toShow;
  {
    std::lock_guard lock(mutex);
    blankScheduled = false;
    // With display sync one drawable per blank; without it everything presented so far.
    const std::size_t count = displaySync ? std::min<std::size_t>(1, waiting.size()) : waiting.size();
    for (std::size_t i = 0; i < count; ++i) {
      toShow.push_back(std::move(waiting.front()));
      waiting.pop_front();
    }
    if (!waiting.empty()) scheduleBlank();
  }
  const double at = clock.now();
  for (const auto& drawable : toShow) show(drawable, at);
}

void SimMetalLayer::Screen::show(const std::shared_ptr<ViewDrawable>& drawable, double at) {
  const StageTimer timer(gpu.timings, FrameStage::viewPresent);
  std::function<void(const SimTexture&, double)> watcher;
  {
    std::lock_guard lock(mutex);
    watcher = observer;
  }
  drawable->show();
  if (watcher) watcher(*drawable->simTexture(), at);
  std::lock_guard lock(mutex);
  --inUse;
  // The count moves with the picture, under one lock: whoever reads a count and then the picture
  // never gets a picture older than the count.
  ++shown;
  auto previous = std::exchange(front, drawable->simTexture());
  const std::uint64_t previousGeneration = std::exchange(frontGeneration, drawable->generation);
  if (previous && previousGeneration == generation && free.size() < maximumCount) free.push_back(std::move(previous));
}

void SimMetalLayer::setDisplaySyncEnabled(bool enabled) {
  std::lock_guard lock(screen->mutex);
  screen->displaySync = enabled;
}

void SimMetalLayer::setMaximumDrawableCount(std::size_t count) {
  std::lock_guard lock(screen->mutex);
  screen->maximumCount = std::clamp<std::size_t>(count, 2, 3);
}

bool SimMetalLayer::displaySyncEnabled() const {
  std::lock_guard lock(screen->mutex);
  return screen->displaySync;
}

std::size_t SimMetalLayer::maximumDrawableCount() const {
  std::lock_guard lock(screen->mutex);
  return screen->maximumCount;
}

// ---- view ---------------------------------------------------------------------------------

SimGpuView::SimGpuView(SimGpu& gpu, std::shared_ptr<GpuDevice> device)
    : gpu(gpu), gpuDevice(std::move(device)), touch(std::make_shared<SimTouchView>(gpu.clock, Rect{}, std::nullopt)) {
  layer.screen = std::make_shared<SimMetalLayer::Screen>(gpu, gpu.clock);
  touch->setInWindow(false);
}

SimGpuView::~SimGpuView() = default;

Size SimGpuView::drawableSize() const {
  std::lock_guard lock(layer.screen->mutex);
  return Size{double(layer.screen->width), double(layer.screen->height)};
}

void SimGpuView::checkThread() const {
  if (!gpu.clock.isLoopThread()) ++gpu.offLoop;
}

std::shared_ptr<Drawable> SimGpuView::currentDrawable() {
  checkThread();
  if (current) return current;
  if (missingDrawables > 0) {
    --missingDrawables;
    return nullptr;
  }
  auto drawable = layer.screen->take();
  // Outside a draw the view keeps it until the next draw ends, as the platform's view does.
  current = drawable;
  return drawable;
}

void SimGpuView::draw() {
  checkThread();
  ++draws;
  if (drawing) return;  // a draw from inside the delegate's draw does nothing
  drawing = true;
  // The draw ends however the delegate leaves it, a throw included.
  struct DrawEnds {
    SimGpuView& view;
    ~DrawEnds() {
      view.drawing = false;
      view.current.reset();
    }
  } ends{*this};
  if (auto d = delegate.lock()) d->draw(*this);
}

void SimGpuView::releaseDrawables() {
  checkThread();
  ++releases;
  current.reset();
  std::lock_guard lock(layer.screen->mutex);
  layer.screen->free.clear();
  ++layer.screen->generation;
}

void SimGpuView::releaseSpareDrawables() {
  std::vector<std::shared_ptr<SimTexture>> spare;
  std::lock_guard lock(layer.screen->mutex);
  spare.swap(layer.screen->free);
}

void SimGpuView::resizeDrawable(std::size_t width, std::size_t height) {
  {
    std::lock_guard lock(layer.screen->mutex);
    if (layer.screen->width == width && layer.screen->height == height) return;
    layer.screen->width = width;
    layer.screen->height = height;
    layer.screen->free.clear();
    ++layer.screen->generation;
  }
  if (auto d = delegate.lock()) d->drawableSizeWillChange(*this, Size{double(width), double(height)});
}

void SimGpuView::setShownObserver(std::function<void(const SimTexture&, double)> observer) {
  std::lock_guard lock(layer.screen->mutex);
  layer.screen->observer = std::move(observer);
}

bool SimGpuView::readLastShown(const std::function<void(const SimTexture&)>& reader) const {
  std::lock_guard lock(layer.screen->mutex);
  if (!layer.screen->front) return false;
  reader(*layer.screen->front);
  return true;
}

std::size_t SimGpuView::shownCount() const {
  std::lock_guard lock(layer.screen->mutex);
  return layer.screen->shown;
}

std::size_t SimGpuView::drawablesInUse() const {
  std::lock_guard lock(layer.screen->mutex);
  return layer.screen->inUse;
}

std::size_t SimGpuView::presentedWaitingCount() const {
  std::lock_guard lock(layer.screen->mutex);
  return layer.screen->waiting.size();
}

}  // namespace turnlet::sim
