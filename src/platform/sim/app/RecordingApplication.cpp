#include "sim/app/RecordingApplication.h"

#include <algorithm>
#include <utility>

namespace turnlet::sim {

void RecordingApplication::run() {
  launched = true;
  if (auto d = delegate.lock()) d->didFinishLaunching();
  if (runLoop) runLoop();
}

void RecordingApplication::terminate() {
  if (terminated) return;
  ++terminateRequests;
  auto d = delegate.lock();
  switch (d ? d->shouldTerminate() : TerminateReply::now) {
    case TerminateReply::now: finish(); break;
    case TerminateReply::cancel: break;
    case TerminateReply::later: terminationPending = true; break;
  }
}

void RecordingApplication::replyToTerminate(bool terminate) {
  ++terminateReplies;
  if (!terminationPending) return;
  terminationPending = false;
  if (terminate) finish();
}

void RecordingApplication::finish() {
  terminated = true;
  if (stopLoop) stopLoop();
}

std::shared_ptr<StatusItem> RecordingApplication::makeSquareStatusItem() {
  statusItems.push_back(std::make_shared<RecordingStatusItem>());
  return statusItems.back();
}

std::shared_ptr<AppWindow> RecordingApplication::makeWindow(const std::string& title, Size contentSize) {
  windows.push_back(std::make_shared<RecordingWindow>(title, contentSize));
  return windows.back();
}

void RecordingApplication::activateIgnoringOtherApps() {
  ++activations;
  if (std::exchange(active, true)) return;
  if (auto d = delegate.lock()) d->didBecomeActive();
}

void RecordingApplication::closeWindow(RecordingWindow& window) {
  window.close();
  auto d = delegate.lock();
  const bool anyVisible = std::any_of(windows.begin(), windows.end(), [](const auto& w) { return w->visible; });
  if (d && !anyVisible && d->shouldTerminateAfterLastWindowClosed()) terminate();
}

void RecordingApplication::clickDockIcon() {
  activateIgnoringOtherApps();
  auto d = delegate.lock();
  const bool anyVisible = std::any_of(windows.begin(), windows.end(), [](const auto& w) { return w->visible; });
  if (d) d->shouldHandleReopen(anyVisible);
}

}  // namespace turnlet::sim
