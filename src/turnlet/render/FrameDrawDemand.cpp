#include "render/FrameDrawDemand.h"

#include <algorithm>

namespace turnlet {

bool FrameDrawDemand::refresh() {
  needsDraw = latestSequence != 0 && (submittedSequence < latestSequence || submittedSurface < latestSurface);
  return requestIfNeeded();
}

bool FrameDrawDemand::requestIfNeeded() {
  if (invalidated || !isRunning || !needsDraw || notificationPending) return false;
  notificationPending = true;
  return true;
}

bool FrameDrawDemand::frameArrived() {
  if (invalidated) return false;
  ++latestSequence;
  return refresh();
}

bool FrameDrawDemand::surfaceChanged() {
  if (invalidated) return false;
  ++latestSurface;
  return refresh();
}

bool FrameDrawDemand::start() {
  if (invalidated) return false;
  isRunning = true;
  return requestIfNeeded();
}

std::optional<FrameDrawDemand::Ticket> FrameDrawDemand::beginDraw() {
  notificationPending = false;
  if (invalidated || !isRunning || !needsDraw) return std::nullopt;
  return Ticket{latestSequence, latestSurface};
}

bool FrameDrawDemand::didSubmit(const Ticket& ticket) {
  if (invalidated || !isRunning) return false;
  submittedSequence = std::max(submittedSequence, ticket.sequence);
  submittedSurface = std::max(submittedSurface, ticket.surface);
  return refresh();
}

void FrameDrawDemand::invalidate() {
  isRunning = false;
  needsDraw = false;
  notificationPending = false;
  invalidated = true;
}

}  // namespace turnlet
