#pragma once

#include <cstdint>
#include <optional>

namespace turnlet {

// The screen renderer's draw bookkeeping, as a plain value: which frame and which surface were
// last accepted and last submitted, whether rendering runs, and whether a draw request is already
// queued. A draw is requested only while rendering runs, something newer than what was submitted
// exists, and no request is pending, so at most one request is queued however many frames come.
// Invalidation is final. Sequence and surface numbers wrap on overflow; 0 means no frame yet.
//
// Not thread-safe: the renderer keeps it under its frame lock. Operations returning bool return
// true when the caller must request a draw (after releasing the lock).
struct FrameDrawDemand {
  struct Ticket {
    std::uint64_t sequence = 0;
    std::uint64_t surface = 0;
    friend bool operator==(const Ticket&, const Ticket&) = default;
  };

  std::uint64_t latestSequence = 0;
  std::uint64_t submittedSequence = 0;
  bool isRunning = false;
  bool needsDraw = false;
  std::uint64_t latestSurface = 0;
  std::uint64_t submittedSurface = 0;
  bool notificationPending = false;
  bool invalidated = false;

  bool frameArrived();
  bool surfaceChanged();
  // Rendering starts.
  bool start();
  // A requested draw begins: the request is consumed; a ticket only if there is something to draw.
  std::optional<Ticket> beginDraw();
  bool didSubmit(const Ticket& ticket);
  // A command buffer completed without error, or a drawable retry fell due.
  bool requestIfNeeded();
  void invalidate();

  friend bool operator==(const FrameDrawDemand&, const FrameDrawDemand&) = default;

 private:
  bool refresh();
};

}  // namespace turnlet
