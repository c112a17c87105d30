// Monitoring and restoration: the displays, sleep and wake, the connection check, suspension and
// the retry scheduler's attempt.

#include <utility>

#include "display/AppFailure.h"
#include "session/RotationSession.h"

namespace turnlet {

namespace {
const std::string waitingForSidecar = "Waiting for Sidecar to reconnect…";
const std::string restoringAfterWake = "Restoring Sidecar after wake…";
const std::string sleeping = "Sleeping · Rotation will resume when Sidecar returns";
const std::string waitingForRemembered = "Waiting for the remembered iPad · ";
const std::string restoreFailed = " Restore failed: ";
const std::string rotationOff = "0° · Rotation off";
}  // namespace

void RotationSession::startMonitoring() {
  if (s.recovery || s.shuttingDown) return;
  s.physicalTopology = PhysicalDisplayTopology(online());
  const std::weak_ptr<RotationSession> weak = weak_from_this();
  s.recovery = RotationRecovery::make(services.loop, {0.6, 1.0, 2.0, 4.0}, [weak] { return attempt(weak); });
  s.screenObserver = services.displays.addScreenParametersObserver([weak] {
    if (auto self = weak.lock()) self->tasks.spawn([weak]() -> Task<void> {
        auto self = weak.lock();
        if (!self) co_return;
        try {
          self->screenParametersChanged();
        } catch (...) {
          // A change that could not be read is still a change: an attempt reads the displays again.
          self->thrownDescription("display change");
          self->s.recheckPending = true;
          if (!self->s.busy && !self->s.shuttingDown && !self->s.systemSleeping && !self->s.screensSleeping)
            self->requestRestoration();
        }
      });
  });
  for (WorkspaceNotification name : {WorkspaceNotification::willSleep, WorkspaceNotification::screensDidSleep,
                                     WorkspaceNotification::didWake, WorkspaceNotification::screensDidWake}) {
    s.workspaceObservers.push_back(services.workspace.addObserver(name, [weak, name] {
      if (auto self = weak.lock()) self->tasks.spawn([weak, name]() -> Task<void> {
          if (auto self = weak.lock()) self->sleepOrWake(name);
          co_return;
        });
    }));
  }
  requestRestoration();
}

Task<bool> RotationSession::attempt(std::weak_ptr<RotationSession> weak) {
  auto self = weak.lock();
  if (!self) co_return true;
  self->inAttempt = true;
  self->restorationOwed = false;
  bool done = false;
  try {
    done = co_await self->restoreIfNeeded();
  } catch (...) {
    // Cancelled: whoever cancelled the run (sleep, a command, quitting) decides what comes next.
    self->inAttempt = self->restorationOwed = false;
    throw;
  }
  self->inAttempt = false;
  if (std::exchange(self->restorationOwed, false) && !self->s.shuttingDown) {
    // Asked for from outside while this attempt ran: once the run has moved on, its remaining
    // attempts serve it; if this was its last, a new run starts.
    self->tasks.spawn([weak]() -> Task<void> {
      auto self = weak.lock();
      if (self && self->s.recovery && !self->s.recovery->isRunning() && !self->s.shuttingDown &&
          !self->s.systemSleeping && !self->s.screensSleeping)
        self->s.recovery->request();
      co_return;
    });
  }
  co_return done;
}

void RotationSession::requestRestoration() {
  if (!s.recovery) return;
  if (!s.recovery->isRunning()) return s.recovery->request();
  // A running schedule's remaining attempts serve the request; one made while an attempt runs
  // is owed, since that attempt may be the last.
  if (inAttempt) restorationOwed = true;
}

void RotationSession::screenParametersChanged() {
  if (s.shuttingDown) return;
  const std::vector<DisplayInfo> displays = online();
  PhysicalDisplayTopology topology(displays);
  const bool unchanged = s.physicalTopology && *s.physicalTopology == topology;
  s.physicalTopology = std::move(topology);
  // A change from outside while an attempt runs is owed, whatever the attempt makes of it (it may
  // even fail for it): the attempt's own moves and virtual display leave the topology as it was.
  if (!unchanged && inAttempt) restorationOwed = true;
  if (!s.busy && stranded && !leftParked()) {
    // A parked iPad that left comes back where the user had it: nothing is left to put back.
    if (s.status.find(restoreFailed) != std::string::npos) s.status = rotationOff;
    changed();
  }
  if (s.target) {
    if (!connectedTarget(*s.target, displays)) return requestSuspension(waitingForSidecar);
    if (!s.busy && s.virtualDisplay) {
      bool present = false;
      for (const DisplayInfo& d : displays) present = present || d.id == s.virtualDisplay->displayID();
      if (!present) return requestSuspension(waitingForSidecar);
      if (unchanged) return;
    }
  }
  if (unchanged) return;
  if (s.busy && !inAttempt) {
    s.recheckPending = true;
  } else if (!s.systemSleeping && !s.screensSleeping) {
    requestRestoration();
  }
}

void RotationSession::sleepOrWake(WorkspaceNotification name) {
  if (s.shuttingDown) return;
  switch (name) {
    case WorkspaceNotification::willSleep: s.systemSleeping = true; break;
    case WorkspaceNotification::screensDidSleep: s.screensSleeping = true; break;
    case WorkspaceNotification::didWake: s.systemSleeping = false; break;
    case WorkspaceNotification::screensDidWake: s.screensSleeping = false; break;
  }
  if (!s.systemSleeping && !s.screensSleeping) {
    if (s.virtualDisplay) requestSuspension(restoringAfterWake);
    requestRestoration();
  } else {
    if (s.recovery) s.recovery->cancel();
    requestSuspension(sleeping);
  }
}

void RotationSession::checkConnection() {
  if (s.busy || !s.target || !s.virtualDisplay) return;
  try {
    checkConnectionNow();
  } catch (...) {
    thrownDescription("connection check");  // the next check tries again
  }
}

void RotationSession::checkConnectionNow() {
  if (s.touchEnabled && !services.permissions.preflightPostEventAccess()) {
    s.touchEnabled = false;
    s.touchStatus = "Touch permission was revoked. Enable Device Control and Data Access, then turn touch on again.";
    tryStep("touch", [this] {
      if (s.presentation) s.presentation->disableTouch();
    });
    changed();
  }
  const std::vector<DisplayInfo> displays = online();
  bool present = false;
  for (const DisplayInfo& d : displays) present = present || d.id == s.virtualDisplay->displayID();
  if (!connectedTarget(*s.target, displays) || !present) requestSuspension(waitingForSidecar);
}

Task<bool> RotationSession::restoreIfNeeded() {
  try {
    co_return co_await restore();
  } catch (const CancellationError&) {
    throw;
  } catch (const Error& e) {
    s.status = e.localizedDescription();
  } catch (...) {
    s.status = unexpectedError("restoration");
  }
  changed();
  co_return false;
}

Task<bool> RotationSession::restore() {
  if (s.shuttingDown || s.systemSleeping || s.screensSleeping) co_return true;
  if (s.busy) co_return false;
  if (s.needsSuspension) {
    co_await cleanUpInterruptedSession();
    co_return false;
  }
  if (s.virtualDisplay) {
    checkConnection();
    co_return !s.needsSuspension;
  }
  try {
    const bool parked = stranded.has_value();
    putBackStranded();
    // Back in its place, by itself or since: a failure to put it back is over.
    const bool stale = s.status.find(restoreFailed) != std::string::npos;
    if (stale) s.status = rotationOff;
    if (parked || stale) changed();  // Reset no longer has a parked iPad to put back
  } catch (const Error&) {
    co_return false;
  }
  DisplayInfo found;
  try {
    found = findTarget(online());
  } catch (const Error& e) {
    if (canReset()) {
      s.status = waitingForRemembered + e.localizedDescription();
      changed();
    }
    co_return false;
  }
  const auto remembered = prefs.rotation(found.persistentID);
  if (!remembered || *remembered == QuarterTurn::normal) {
    // The iPad is here awake with nothing to restore: a line that waits for something is over.
    if (s.status == waitingForSidecar || s.status == restoringAfterWake || s.status == sleeping ||
        s.status.starts_with(waitingForRemembered)) {
      s.status = rotationOff;
      changed();
    }
    co_return true;
  }
  const std::string degrees = std::to_string(rawValue(*remembered)) + "°";
  if (!services.permissions.preflightScreenCaptureAccess()) {
    s.status = "Allow Turnlet in Screen & System Audio Recording to restore " + degrees + ".";
    changed();
    co_return true;
  }
  s.status = "Restoring " + degrees + " for " + found.name + "…";
  changed();
  co_return co_await applyRotation(*remembered, found, false, false);
}

void RotationSession::requestSuspension(const std::string& message) {
  ++s.generation;
  s.needsSuspension = true;
  s.interruptionStatus = message;
  s.recheckPending = true;
  // Whatever the cover or touch throws as they stop, the clean-up still comes.
  tryStep("suspension", [this] { closeFade(); });
  tryStep("suspension", [this] {
    if (s.presentation) s.presentation->disableTouch();
  });
  tasks.spawn([self = shared_from_this()]() -> Task<void> { co_await self->cleanUpInterruptedSession(); });
}

Task<void> RotationSession::cleanUpInterruptedSession() {
  if (s.busy || s.shuttingDown || !s.needsSuspension) co_return;
  BusyScope busy(*this);
  updateTouch();
  changed();
  try {
    co_await tearDown();
    s.status = s.interruptionStatus;
  } catch (const Error& e) {
    s.status = e.localizedDescription();
  } catch (...) {
    s.status = unexpectedError("clean-up");
  }
  s.needsSuspension = false;
  busy.finish();
}

std::string RotationSession::unexpectedError(const std::string& operation) {
  return "Turnlet hit an unexpected error (" + thrownDescription(operation) + ").";
}

std::string RotationSession::thrownDescription(const std::string& operation) {
  std::string what;
  try {
    throw;
  } catch (const Error& e) {
    return e.localizedDescription();
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  if (what.empty()) what = "unknown";
  try {
    services.log.line("Turnlet " + operation + ": " + what);
  } catch (...) {
    // A log that fails takes nothing else down.
  }
  return what;
}

void RotationSession::tryStep(const std::string& operation, const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    thrownDescription(operation);
  }
}

}  // namespace turnlet
