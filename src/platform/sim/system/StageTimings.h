#pragma once

#include <cstddef>

namespace turnlet::sim {

// The steps a frame takes from the simulated Mac's desktop to the simulator window's paint.
enum class FrameStage : std::size_t {
  compositorDraw,  // the compositor draws a captured display's picture (main loop)
  rotationKernel,  // the rotation program runs on the simulated GPU (its worker)
  viewPresent,     // a presented drawable goes on screen and its handlers run (the display queue)
  windowCopy,      // the window takes a display's picture again from the compositor (main loop)
  heldTurn,        // the window turns the held iPad's picture upright (main loop)
  windowPaint,     // the rest of the window's paint (main loop)
};
inline constexpr std::size_t frameStageCount = 6;

// Where a benchmark collects how long each step took. The simulation times a step only while a
// sink is set, so that it costs nothing otherwise; set it before frames flow and keep it until
// the world is gone. Steps run on the main loop, the GPU's worker and the display queue, so a
// sink takes calls from any thread.
class StageTimings {
 public:
  virtual ~StageTimings() = default;
  virtual double now() = 0;  // seconds, on a clock of the sink's own
  virtual void add(FrameStage stage, double seconds) = 0;
};

// Times one step from its construction to its end, when there is a sink.
class StageTimer {
 public:
  StageTimer(StageTimings* sink, FrameStage stage) : sink(sink), stage(stage), start(sink ? sink->now() : 0) {}
  ~StageTimer() {
    if (sink) sink->add(stage, sink->now() - start);
  }
  StageTimer(const StageTimer&) = delete;
  StageTimer& operator=(const StageTimer&) = delete;

 private:
  StageTimings* sink;
  FrameStage stage;
  double start;
};

}  // namespace turnlet::sim
