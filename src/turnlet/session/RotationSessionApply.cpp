// Applying a rotation: the one way the session changes what the iPad shows.

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "display/AppFailure.h"
#include "display/DisplayGeometry.h"
#include "display/DisplayLayout.h"
#include "runtime/Continuation.h"
#include "runtime/Timeout.h"
#include "session/RotationSession.h"

namespace turnlet {

namespace {

const std::string noImage = "The rotated desktop did not produce an image. The Sidecar layout has been restored.";
const std::string notCreated = "macOS could not create the rotated desktop.";
const std::string notExposed = "macOS did not expose the rotated desktop to ScreenCaptureKit.";

std::string degrees(QuarterTurn turn) { return std::to_string(rawValue(turn)) + "°"; }

// A logical side rounded half away from zero, when twice it still fits the virtual display's
// unsigned 32-bit pixel count; converting anything else would be undefined.
std::optional<std::uint32_t> roundedSide(double points) {
  if (!std::isfinite(points)) return std::nullopt;
  const double rounded = std::round(points);
  if (!(rounded >= 1) || rounded * 2 > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(rounded);
}

}  // namespace

Task<bool> RotationSession::applyRotation(QuarterTurn rotation, std::optional<DisplayInfo> display,
                                          bool requestAccess, bool remember) {
  if (s.busy || s.systemSleeping || s.screensSleeping || s.shuttingDown) co_return false;
  const std::uint64_t operation = ++s.generation;
  BusyScope busy(*this);
  s.status = "Rotating…";
  updateTouch();
  changed();
  // The apply runs as a task of the session's own: a caller that is cancelled does not cut its
  // teardown short; the counter supersedes it instead. The task holds busy from here on.
  auto result = std::make_shared<bool>(false);
  const TaskHandle run =
      tasks.spawn(runApply(rotation, std::move(display), requestAccess, remember, operation, std::move(busy), result));
  co_await run.ended();
  co_return *result;
}

Task<void> RotationSession::runApply(QuarterTurn rotation, std::optional<DisplayInfo> display, bool requestAccess,
                                     bool remember, std::uint64_t operation, BusyScope busy,
                                     std::shared_ptr<bool> result) {
  const auto self = shared_from_this();  // the session outlives its own operations
  std::string message;
  try {
    if (rotation == QuarterTurn::normal) {
      co_await resetPath(operation, remember);
    } else {
      co_await rotationPath(rotation, std::move(display), requestAccess, remember, operation);
    }
    *result = true;
  } catch (const CancellationError&) {
    message = s.interruptionStatus;
  } catch (const TimeoutError&) {
    message = noImage;  // only the capture's start is bounded this way
  } catch (const Error& e) {
    message = e.localizedDescription();
  } catch (...) {
    message = unexpectedError("apply");
  }
  // Outside the try: what comes after the operation is no failure of it.
  if (*result) {
    busy.finish();
    co_return;
  }
  // Failure: everything goes, the iPad goes back, one status line says why.
  std::optional<std::string> restoreError;
  try {
    co_await tearDown();
  } catch (...) {
    restoreError = thrownDescription("apply teardown");
  }
  // A suspension asked for meanwhile (sleep, the iPad leaving) is newer than the failure. A
  // teardown that failed yet left the iPad in its place (or gone) restored what matters.
  if (s.needsSuspension) message = s.interruptionStatus;
  s.status = restoreError && leftParked() ? message + " Restore failed: " + *restoreError : message;
  s.needsSuspension = false;
  tryStep("apply", [this] { closeFade(); });
  busy.finish();
}

Task<void> RotationSession::resetPath(std::uint64_t operation, bool remember) {
  if (remember) {
    std::optional<std::string> device;
    if (s.target && s.target->persistentID) device = s.target->persistentID;
    if (!device) device = prefs.rememberedDeviceID();
    prefs.remember(QuarterTurn::normal, device);
  }
  if (s.target && connectedTarget(*s.target, online())) {
    const DisplayInfo target = *s.target;
    co_await cover(target);
    checkOperation(operation, target);
  }
  co_await tearDown();
  co_await reveal();
  s.status = "0° · Rotation off";
  closeFade();
}

Task<void> RotationSession::rotationPath(QuarterTurn rotation, std::optional<DisplayInfo> display,
                                         bool requestAccess, bool remember, std::uint64_t operation) {
  // 1. Target.
  if (!s.target) {
    putBackStranded();  // its place is read below
    DisplayInfo chosen = display ? *display : findTarget(online());
    chosen.validate();
    if (!services.permissions.preflightScreenCaptureAccess() &&
        !(requestAccess && services.permissions.requestScreenCaptureAccess()))
      throw AppFailure(
          "Allow Turnlet in System Settings → Privacy & Security → Screen & System Audio Recording, then reopen this "
          "app.");
    s.target = chosen;
  } else if (!connectedTarget(*s.target, online())) {
    throw AppFailure("Waiting for Sidecar to reconnect…");
  }
  const DisplayInfo target = *s.target;

  // 2. Cover the iPad.
  co_await cover(target);

  // 3. The earlier capture goes; the virtual display stays.
  checkOperation(operation, target);
  co_await stopCapture();

  // 4. Size.
  checkOperation(operation, target);
  const Size logical = sourceSize(rotation, target.bounds.size);
  const auto width = roundedSide(logical.width);
  const auto height = roundedSide(logical.height);
  if (!width || !height) throw AppFailure(notCreated);

  // 5. Virtual display at twice the logical size.
  std::optional<PlatformError> error;
  if (!s.virtualDisplay) {
    s.virtualDisplay =
        TurnletVirtualDisplay::create(services.objects, 2 * *width, 2 * *height, *width, *height, &error);
    if (!s.virtualDisplay && error) throw *error;
  } else if (!s.virtualDisplay->resize(2 * *width, 2 * *height, *width, *height, &error)) {
    if (error) throw *error;
    throw AppFailure(notCreated);
  }
  if (!s.virtualDisplay) throw AppFailure(notCreated);

  // 6. Wait for the size.
  const DisplayID source = s.virtualDisplay->displayID();
  co_await waitForDisplay(source, logical, operation, target);

  // 7. Placement: the virtual display where the iPad was, the iPad parked off the top-left corner.
  checkOperation(operation, target);
  std::vector<Rect> neighbors;
  for (const DisplayInfo& d : online())
    if (d.id != target.id && d.id != source) neighbors.push_back(d.bounds);
  const Point origin = DisplayGeometry::sourceOrigin(target.bounds, logical, neighbors);
  Rect all = Rect::null();
  all = all.united(Rect(origin, logical));
  for (const Rect& r : neighbors) all = all.united(r);
  const Point parking{all.minX() - target.bounds.width() + 1, all.minY() - target.bounds.height() + 1};
  DisplayLayout::place(services.displays, {{source, origin}, {target.id, parking}});

  // 8. Find the virtual display among what can be captured.
  if (s.rotationFade) s.rotationFade->updateFrame();
  const ShareableContent content = co_await captureContent(source, operation, target);

  // 9.
  checkOperation(operation, target);
  const CaptureDisplay* captured = nullptr;
  for (const CaptureDisplay& d : content.displays) {
    if (d.displayID == source) {
      captured = &d;
      break;
    }
  }
  if (!captured) throw AppFailure("The rotated desktop is not available for capture.");

  // 10. Configuration.
  StreamConfiguration configuration;
  const auto mode = services.displays.currentModePixelSize(source);
  configuration.width = mode ? mode->width : std::uint64_t{2} * *width;
  configuration.height = mode ? mode->height : std::uint64_t{2} * *height;
  configuration.pixelFormat = pixelFormatBGRA;
  configuration.minimumFrameInterval = MediaTime{1, framesPerSecond};
  // Three surfaces run out while the renderer holds the newest frame and two on a GPU that is
  // behind (scripts/bench pool); a fourth keeps the stream writing.
  configuration.queueDepth = 4;
  configuration.showsCursor = true;
  configuration.capturesAudio = false;
  configuration.colorSpace = CaptureColorSpace::sRGB;
  configuration.backgroundColor = s.captureBackground;
  configuration.streamName = "Turnlet";

  // 11. Renderer, with callbacks that do nothing once this operation is superseded.
  auto renderer = ScreenRenderer::make(services.loop, services.gpu, rotation, framesPerSecond);
  s.renderer = renderer;
  s.didRenderFrame = false;
  const std::weak_ptr<RotationSession> weakSelf = weak_from_this();
  const std::weak_ptr<ScreenRenderer> weakRenderer = renderer;
  renderer->onFirstFrameRendered = [weakSelf, weakRenderer, operation] {
    auto self = weakSelf.lock();
    if (self && self->s.renderer && self->s.renderer == weakRenderer.lock() && self->s.generation == operation)
      self->s.didRenderFrame = true;
  };
  renderer->onFailure = [weakSelf, weakRenderer, operation](const Error& e) {
    auto self = weakSelf.lock();
    if (!self) return;
    self->tasks.spawn([weakSelf, weakRenderer, operation, text = e.localizedDescription()]() -> Task<void> {
      auto self = weakSelf.lock();
      if (self && self->s.renderer && self->s.renderer == weakRenderer.lock() && self->s.generation == operation &&
          !self->s.shuttingDown)
        self->requestSuspension("Reconnecting Sidecar · " + text);
      co_return;
    });
  };

  // 12. Settle.
  co_await sleep(settleSeconds);

  // 13. Presentation on the iPad.
  checkOperation(operation, target);
  s.presentation = PresentationWindow::make(services.loop, services.displays, services.windows, *renderer, target.id);

  // 14. Stream.
  const ContentFilter filter{*captured, {}};
  auto stream = services.capture.makeStream(filter, configuration, renderer->streamDelegate());
  std::shared_ptr<SerialQueue> queue =
      services.capture.makeSampleQueue("local.turnlet.frames", QualityOfService::userInteractive);
  s.captureQueue = queue;
  if (auto failed = stream->addStreamOutput(renderer->streamOutput(), StreamOutputType::screen, queue)) throw *failed;
  s.capture = stream;
  co_await startStream(std::move(stream));

  // 15. First frame.
  for (int i = 0; i < firstFrameChecks; ++i) {
    checkOperation(operation, target);
    if (s.didRenderFrame) break;
    co_await sleep(checkIntervalSeconds);
  }
  checkOperation(operation, target);
  if (!s.didRenderFrame) throw AppFailure(noImage);

  // 16. Remember.
  s.rotation = rotation;
  if (target.persistentID) prefs.setLastDeviceID(target.persistentID);
  if (remember) prefs.remember(rotation, target.persistentID);

  // 17. Uncover.
  co_await reveal();

  // 18.
  checkOperation(operation, target);
  s.status = degrees(rotation) + " · " + (isPortrait(rotation) ? "Portrait" : "Landscape");
  closeFade();
}

Task<void> RotationSession::startStream(std::shared_ptr<CaptureStream> stream) {
  using Outcome = std::optional<PlatformError>;
  // The stream is not kept by the wait: once the session lets it go, a late start finds it gone.
  CaptureStream* raw = stream.get();
  stream.reset();
  const Outcome outcome = co_await withTimeout(captureStartTimeoutSeconds, withContinuation<Outcome>([raw](Continuation<Outcome> done) {
    raw->startCapture([done](Outcome e) { done.resume(std::move(e)); });
  }));
  if (outcome) throw *outcome;
}

Task<void> RotationSession::cover(const DisplayInfo& display) {
  auto fade = RotationFade::make(services.displays, services.windows, display);
  replaceFade(fade);
  fade->updateFrame();
  if (fade->window()) {
    fade->window()->orderFrontRegardless();
    co_await fade->animate(1.0, fadeCoverSeconds);
  }
}

Task<void> RotationSession::reveal() {
  auto fade = s.rotationFade;
  if (!fade) co_return;
  fade->updateFrame();
  co_await fade->animate(0.0, fadeRevealSeconds);
  // A suspension may have closed the fade meanwhile, or another one replaced it.
  if (s.rotationFade == fade) fade->close();
}

void RotationSession::replaceFade(std::shared_ptr<RotationFade> fade) {
  if (auto earlier = std::exchange(s.rotationFade, std::move(fade))) earlier->close();
}

void RotationSession::closeFade() {
  if (auto fade = std::exchange(s.rotationFade, nullptr)) fade->close();
}

void RotationSession::checkOperation(std::uint64_t operation, const DisplayInfo& display) {
  if (s.generation != operation || s.systemSleeping || s.screensSleeping || s.shuttingDown) throw CancellationError();
  if (!connectedTarget(display, online())) throw AppFailure("Waiting for Sidecar to reconnect…");
}

DisplayInfo RotationSession::findTarget(const std::vector<DisplayInfo>& among) const {
  if (auto preferred = prefs.preferredDeviceID()) return DisplayInfo::findSidecar(services.text, preferred, among);
  if (auto last = prefs.lastDeviceID()) {
    for (const DisplayInfo& d : among)
      if (d.persistentID == last) return DisplayInfo::findSidecar(services.text, last, among);
  }
  return DisplayInfo::findSidecar(services.text, std::nullopt, among);
}

std::optional<DisplayInfo> RotationSession::connectedTarget(const DisplayInfo& target,
                                                            const std::vector<DisplayInfo>& among) {
  for (const DisplayInfo& d : among) {
    if (d.id != target.id || d.vendor != target.vendor) continue;
    if (target.persistentID && d.persistentID != target.persistentID) continue;
    try {
      d.validate();
    } catch (const Error&) {
      return std::nullopt;
    }
    return d;
  }
  return std::nullopt;
}

Task<void> RotationSession::waitForDisplay(DisplayID id, Size size, std::uint64_t operation, DisplayInfo target) {
  for (int counter = 0;;) {
    checkOperation(operation, target);
    for (const DisplayInfo& d : online()) {
      if (d.id == id && std::abs(d.bounds.width() - size.width) < sizeTolerancePoints &&
          std::abs(d.bounds.height() - size.height) < sizeTolerancePoints)
        co_return;
    }
    co_await sleep(checkIntervalSeconds);
    if (++counter == displayChecks) throw AppFailure("macOS did not activate the requested rotated display size.");
  }
}

Task<ShareableContent> RotationSession::captureContent(DisplayID id, std::uint64_t operation, DisplayInfo target) {
  using Fetched = std::pair<std::optional<ShareableContent>, std::optional<PlatformError>>;
  for (int counter = 0;; ++counter) {
    checkOperation(operation, target);
    Fetched fetched;
    try {
      fetched = co_await withTimeout(contentFetchTimeoutSeconds, withContinuation<Fetched>([this](Continuation<Fetched> done) {
        services.capture.getShareableContent(false, false, [done](auto content, auto error) {
          done.resume(Fetched{std::move(content), std::move(error)});
        });
      }));
    } catch (const TimeoutError&) {
      throw AppFailure(notExposed);  // a fetch that never answers exposes nothing
    }
    if (fetched.second) throw *fetched.second;
    if (fetched.first) {
      for (const CaptureDisplay& d : fetched.first->displays)
        if (d.displayID == id) co_return std::move(*fetched.first);
    }
    co_await sleep(checkIntervalSeconds);
    if (counter == contentFetches - 1) throw AppFailure(notExposed);
  }
}

}  // namespace turnlet
