#include "session/RotationSession.h"

#include <utility>

#include "display/AppFailure.h"

namespace turnlet {

std::shared_ptr<RotationSession> RotationSession::make(Services services, RotationPreferences preferences) {
  return std::make_shared<RotationSession>(Passkey{}, std::move(services), std::move(preferences));
}

RotationSession::RotationSession(Passkey, Services services, RotationPreferences preferences)
    : services(std::move(services)), prefs(std::move(preferences)), tasks(this->services.loop, this->services.log) {}

Task<void> RotationSession::rotate() { co_await applyTurn(nextQuarterTurn(s.rotation)); }

Task<void> RotationSession::rotateTo(QuarterTurn turn) {
  if (turn == s.rotation) co_return;
  // Not one co_await over a conditional of two tasks: GCC 12 destroys that temporary twice.
  if (turn == QuarterTurn::normal) {
    co_await reset();
  } else {
    co_await applyTurn(turn);
  }
}

Task<void> RotationSession::applyTurn(QuarterTurn turn) {
  if (s.busy || s.systemSleeping || s.screensSleeping || s.shuttingDown) co_return;
  if (s.recovery) s.recovery->cancel();
  co_await applyRotation(turn, std::nullopt, true, true);
}

Task<void> RotationSession::reset() {
  if (s.busy || s.shuttingDown) co_return;
  if (s.recovery) s.recovery->cancel();
  co_await applyRotation(QuarterTurn::normal, std::nullopt, false, true);
}

void RotationSession::selectDisplay(std::optional<DisplayID> id) {
  if (s.virtualDisplay || s.busy) return;
  if (s.recovery) s.recovery->cancel();
  if (id) {
    std::optional<std::string> identity;
    bool found = false;
    try {
      for (const DisplayInfo& d : online()) {
        if (d.id != *id) continue;
        found = true;
        identity = d.persistentID;
        break;
      }
    } catch (...) {
      s.status = unexpectedError("display choice");
      return changed();
    }
    if (!found || !identity) {
      s.status = "macOS has not identified this display yet. Try again.";
      return changed();
    }
    prefs.setPreferredDeviceID(identity);
  } else {
    prefs.setPreferredDeviceID(std::nullopt);
  }
  changed();
  if (s.recovery) requestRestoration();
}

void RotationSession::setTouchEnabled(bool enabled, bool requestAccess) {
  if (enabled) {
    if (s.busy) return;
    try {
      if (!services.system.isOperatingSystemAtLeast(27, 0, 0)) {
        s.touchStatus = "Finger touch requires macOS 27 and iPadOS 27.";
      } else if (!services.permissions.preflightPostEventAccess() &&
                 !(requestAccess && services.permissions.requestPostEventAccess())) {
        s.touchStatus = "Allow Turnlet in Privacy & Security → Device Control and Data Access, then enable touch again.";
      } else {
        s.touchEnabled = true;
        updateTouch();
      }
    } catch (...) {
      s.touchStatus = "Touch · " + thrownDescription("touch");
    }
  } else {
    s.touchEnabled = false;
    updateTouch();
  }
  changed();
}

void RotationSession::updateTouch() {
  // Whatever touch input throws is touch's own failure: touch goes off and says why, and the
  // operation that asked goes on.
  try {
    if (!s.touchEnabled) {
      if (s.presentation) s.presentation->disableTouch();
      s.touchStatus = "Touch · Off";
      return;
    }
    if (s.busy || s.rotation == QuarterTurn::normal || !s.presentation || !s.virtualDisplay || !s.target) {
      if (s.presentation) s.presentation->disableTouch();
      s.touchStatus = s.busy ? "Touch · Paused while rotating" : "Touch · Ready when rotated";
      return;
    }
    s.presentation->disableTouch();
    const auto view = s.renderer ? s.renderer->view() : nullptr;
    if (!view || !services.makeTouchInput) throw AppFailure("The iPad view is not ready for touch.");
    auto input = services.makeTouchInput(*view, s.virtualDisplay->displayID(), s.target->id, s.rotation);
    if (!input) throw AppFailure("The iPad view is not ready for touch.");
    input->setOnAccessLost([weak = weak_from_this()] {
      auto self = weak.lock();
      if (!self) return;
      self->s.touchEnabled = false;
      self->tryStep("touch", [&] {
        if (self->s.presentation) self->s.presentation->disableTouch();
      });
      self->s.touchStatus = "Touch permission was revoked. Enable Device Control and Data Access, then turn touch on again.";
      self->changed();
    });
    s.presentation->setTouchInput(std::move(input));
    s.presentation->platformWindow().setIgnoresMouseEvents(false);
    s.touchStatus = "Touch · Swipe to scroll · Hold then move to drag";
  } catch (...) {
    s.touchEnabled = false;
    s.touchStatus = "Touch · " + thrownDescription("touch");
    tryStep("touch", [this] {
      if (s.presentation) s.presentation->disableTouch();
    });
  }
}

void RotationSession::changed() {
  try {
    if (auto callback = onChange) callback();
  } catch (...) {
    thrownDescription("refresh");
  }
}

RotationSession::BusyScope::~BusyScope() {
  if (!session) return;
  try {
    session->finishOperation();
  } catch (...) {
    // finishOperation() clears busy before anything that can throw; the rest is lost.
  }
}

bool RotationSession::canReset() const {
  if (s.virtualDisplay || stranded) return true;
  const auto remembered = prefs.rotation(prefs.rememberedDeviceID());
  return remembered && *remembered != QuarterTurn::normal;
}

std::optional<DisplayID> RotationSession::preferredDisplayID() const {
  const auto device = prefs.rememberedDeviceID();
  if (!device) return std::nullopt;
  for (const DisplayInfo& d : online())
    if (d.persistentID == device) return d.id;
  return std::nullopt;
}

void RotationSession::updatePerformance() {
  if (s.renderer) {
    s.performance = s.renderer->statistics().snapshot();
  } else {
    s.performance.reset();
  }
  changed();
}

}  // namespace turnlet
