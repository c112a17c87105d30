// Stopping and teardown: undoing what an apply built, in the reverse order of building.

#include <utility>

#include "display/DisplayLayout.h"
#include "runtime/Continuation.h"
#include "runtime/Timeout.h"
#include "session/RotationSession.h"

namespace turnlet {

namespace {

// Stops the stream and gives the description of what went wrong, if anything. A wait that is
// cancelled (quitting) is not waited for: the stop has been asked for, and teardown goes on.
Task<std::optional<std::string>> stopStream(std::shared_ptr<CaptureStream> stream) {
  using Outcome = std::optional<PlatformError>;
  if (co_await isCancelled()) {
    stream->stopCapture([](Outcome) {});
    co_return std::nullopt;
  }
  CaptureStream* raw = stream.get();
  try {
    const Outcome outcome = co_await withTimeout(
        RotationSession::captureStopTimeoutSeconds, withContinuation<Outcome>([raw](Continuation<Outcome> done) {
          raw->stopCapture([done](Outcome e) { done.resume(std::move(e)); });
        }));
    if (outcome) co_return outcome->localizedDescription();
  } catch (const TimeoutError& e) {
    co_return e.localizedDescription();
  } catch (const CancellationError&) {
  }
  co_return std::nullopt;
}

Task<void> awaitMotionStop(std::shared_ptr<PresentationWindow> presentation) {
  try {
    co_await presentation->waitForTouchMotionStop();
  } catch (const CancellationError&) {
  }
}

}  // namespace

Task<void> RotationSession::stopCapture() {
  // What this session built is taken at once, so a teardown running meanwhile (quitting during an
  // apply) finds nothing left to stop a second time.
  auto presentation = std::exchange(s.presentation, nullptr);
  auto renderer = std::exchange(s.renderer, nullptr);
  auto capture = std::exchange(s.capture, nullptr);
  auto queue = std::exchange(s.captureQueue, nullptr);
  s.performance.reset();
  if (presentation) {
    // Touch that fails to stop is no reason to leave the capture running.
    tryStep("teardown", [&] { presentation->disableTouch(); });
    co_await awaitMotionStop(presentation);
  }
  if (renderer) renderer->invalidate();
  if (capture) {
    if (auto failed = co_await stopStream(capture)) services.log.line("Turnlet capture stop: " + *failed);
    if (renderer) {
      if (auto failed = capture->removeStreamOutput(renderer->streamOutput(), StreamOutputType::screen))
        services.log.line("Turnlet output removal: " + failed->localizedDescription());
    }
  }
  capture.reset();
  queue.reset();
  if (presentation) presentation->close();
}

Task<void> RotationSession::tearDown() {
  // Whatever fails, the rest still goes; the first failure is thrown at the end.
  std::exception_ptr failure;
  try {
    co_await stopCapture();
  } catch (...) {
    failure = std::current_exception();
  }
  if (s.target) stranded = s.target;
  try {
    putBackStranded();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  s.virtualDisplay.reset();
  s.rotation = QuarterTurn::normal;
  s.target.reset();
  if (failure) std::rethrow_exception(failure);
}

void RotationSession::putBackStranded() {
  if (!stranded) return;
  const auto now = connectedTarget(*stranded, online());
  if (!now) return stranded.reset();  // gone: it returns where the user had it
  const bool away = now->bounds.origin != stranded->bounds.origin;
  try {
    DisplayLayout::place(services.displays, {{stranded->id, stranded->bounds.origin}});
  } catch (...) {
    if (!away) stranded.reset();  // its parking had failed: it is where the user had it
    throw;
  }
  stranded.reset();
}

bool RotationSession::leftParked() {
  if (!stranded) return false;
  try {
    const auto now = connectedTarget(*stranded, online());
    if (now && now->bounds.origin != stranded->bounds.origin) return true;
  } catch (...) {
    return true;  // it could not be looked at: as good as parked
  }
  stranded.reset();  // gone, or where the user had it: nothing to put back
  return false;
}

void RotationSession::finishOperation() {
  s.busy = false;
  updateTouch();
  changed();
  if (s.needsSuspension) {
    tasks.spawn([self = shared_from_this()]() -> Task<void> { co_await self->cleanUpInterruptedSession(); });
    return;
  }
  if (s.systemSleeping || s.screensSleeping || s.shuttingDown) return;
  // A layout change or suspension that came meanwhile gets an attempt; an attempt's own finish
  // asks for none. An iPad left parked always does: inside an attempt the request is owed, so
  // that a run whose last attempt parked it starts again.
  const bool recheck = std::exchange(s.recheckPending, false);
  if (stranded || (recheck && !inAttempt)) requestRestoration();
}

Task<void> RotationSession::shutdown() {
  s.shuttingDown = true;
  ++s.generation;
  // Each step on its own: whatever one throws, the iPad still goes back.
  tryStep("shutdown", [this] { closeFade(); });
  if (auto recovery = std::exchange(s.recovery, nullptr)) recovery->cancel();
  if (auto token = std::exchange(s.screenObserver, std::nullopt))
    tryStep("shutdown", [&] { services.displays.removeScreenParametersObserver(*token); });
  for (auto token : std::exchange(s.workspaceObservers, {}))
    tryStep("shutdown", [&] { services.workspace.removeObserver(token); });
  // What the session started ends early; an apply cut short still runs its own teardown.
  tasks.cancelAll();
  try {
    co_await tearDown();
  } catch (const Error& e) {
    services.log.line("Turnlet restoration: " + e.localizedDescription());
  } catch (...) {
    unexpectedError("shutdown");
  }
  co_await tasks.join();
}

}  // namespace turnlet
