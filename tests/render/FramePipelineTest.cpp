#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "display/AppFailure.h"
#include "render/FramePipeline.h"
#include "sim/system/ManualLoop.h"
#include "sim/system/ManualSerialQueue.h"
#include "sim/world/World.h"

using namespace turnlet;

namespace {

class FramePipelineTest : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};

  // Encodes, commits and runs one frame; returns the target.
  std::shared_ptr<sim::SimTexture> draw(FramePipeline& pipeline, std::shared_ptr<sim::MemoryPixelBuffer> frame,
                                        QuarterTurn turn, std::size_t width, std::size_t height) {
    auto target = world.gpu.makeTexture(width, height);
    auto command = pipeline.commandQueue()->makeCommandBuffer();
    auto texture = pipeline.encode(frame, turn, target, *command);
    command->commit();
    world.gpu.runGpuWork();
    EXPECT_FALSE(command->error().has_value());
    return target;
  }
};

// Pixel (x, y) holds blue x, green y, red 7 and a transparent alpha that must not show.
std::shared_ptr<sim::MemoryPixelBuffer> numbered(std::size_t width, std::size_t height, std::size_t bytesPerRow = 0) {
  auto frame = sim::MemoryPixelBuffer::make(width, height, bytesPerRow);
  for (std::size_t y = 0; y < height; ++y)
    for (std::size_t x = 0; x < width; ++x) frame->setPixel(x, y, sim::bgra(std::uint32_t(x), std::uint32_t(y), 7, 0));
  return frame;
}

}  // namespace

// The pipeline's sentences, and the platform's compile and pipeline errors passed on unchanged.
TEST_F(FramePipelineTest, FailuresCarryTheirSentencesOrThePlatformsErrorAndRecordNothing) {
  const PlatformError compile("MTLLibraryErrorDomain", 3, "program_source:12:5: error: use of undeclared identifier 'p'");
  const std::string unreadable = "Could not read a captured frame as a Metal texture (";
  struct Row {
    std::function<void(sim::SimGpu&)> fault;
    std::string sentence;
    bool whileEncoding = false;
    std::size_t frameWidth = 4;
  };
  const Row rows[] = {
      {[](sim::SimGpu& g) { g.deviceMissing = true; }, "Metal is unavailable on this Mac."},
      {[](sim::SimGpu& g) { g.commandQueueMissing = true; }, "Metal is unavailable on this Mac."},
      {[](sim::SimGpu& g) { g.textureCacheStatus = -6660; }, "Could not create a shared capture texture (-6660)."},
      {[](sim::SimGpu& g) { g.textureCacheMissing = true; }, "Could not create a shared capture texture (0)."},
      {[&](sim::SimGpu& g) { g.libraryError = compile; }, compile.localizedDescription()},
      {[&](sim::SimGpu& g) { g.pipelineError = compile; }, compile.localizedDescription()},
      {[](sim::SimGpu& g) { g.textureStatus = -6661; }, unreadable + "-6661).", true},
      {[](sim::SimGpu& g) { g.captureTextureMissing = true; }, unreadable + "0).", true},
      {[](sim::SimGpu& g) { g.wrappedTextureMissing = true; }, unreadable + "0).", true},
      {[](sim::SimGpu&) {}, unreadable + "-6661).", true, 0},  // an empty frame
      {[](sim::SimGpu& g) { g.renderEncoderMissing = true; }, "Could not encode the rotated frame.", true},
  };
  for (const Row& row : rows) {
    sim::World faulty{loop};
    if (!row.whileEncoding) row.fault(faulty.gpu);
    try {
      FramePipeline pipeline(faulty.gpu);
      row.fault(faulty.gpu);
      auto command = pipeline.commandQueue()->makeCommandBuffer();
      pipeline.encode(numbered(row.frameWidth, 2), QuarterTurn::right, faulty.gpu.makeTexture(2, 4), *command);
      ADD_FAILURE() << "no failure despite: " << row.sentence;
    } catch (const AppFailure& failure) {
      EXPECT_EQ(failure.message(), row.sentence);
    } catch (const PlatformError& error) {  // passed on unchanged, not wrapped
      EXPECT_EQ(std::pair(error.domain(), error.code()), std::pair(compile.domain(), compile.code()));
      EXPECT_EQ(error.localizedDescription(), row.sentence);
    }
    EXPECT_TRUE(faulty.gpu.encodedPasses().empty()) << row.sentence;
  }
}

// The simulated GPU runs only a pass with the pipeline state, one triangle and parameters that
// match the bound texture; the rest of the pass is read back here.
TEST_F(FramePipelineTest, EncodeRecordsOneClearingPassOverTheFrameItselfAndCommitsNothing) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(7, 3, 64);  // rows padded past 7 × 4 bytes
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  auto texture = pipeline.encode(frame, QuarterTurn::left, world.gpu.makeTexture(3, 7), *command);
  const sim::RecordedPass& pass = world.gpu.encodedPasses().at(0);
  EXPECT_EQ(std::pair(pass.loadAction, pass.storeAction), std::pair(LoadAction::clear, StoreAction::store));
  EXPECT_EQ(pass.clearColor, (ClearColor{0, 0, 0, 1}));
  EXPECT_EQ(pass.viewport, (Viewport{0, 0, 3, 7, 0, 1}));
  EXPECT_EQ(pass.fragmentBytes.size(), 20u);
  EXPECT_EQ(world.gpu.commandBuffersCommitted(), 0);
  // The texture views the frame's own memory and keeps it alive for the GPU.
  auto view = std::dynamic_pointer_cast<sim::SimTexture>(texture->texture());
  EXPECT_EQ(view->pixels().baseAddress(), frame->baseAddress());
  std::weak_ptr<sim::MemoryPixelBuffer> watch = frame;
  frame.reset(), view.reset();
  command->commit();
  command.reset(), texture.reset();
  EXPECT_FALSE(watch.expired());
  // Found once: a new worker dropped the buffers the old one had not run, so they never completed.
  auto next = std::make_unique<sim::ManualSerialQueue>("sim.gpu.next", loop);
  auto& nextQueue = *next;
  world.gpu.setWorkerQueue(std::move(next));
  EXPECT_EQ(nextQueue.drain(), 1u);
  EXPECT_EQ(world.gpu.commandBuffersInFlight(), 0);
  EXPECT_TRUE(watch.expired());
}

// The cases that pin the program to its description; every other pixel is the program text's
// own (the rotation tests compare the simulated GPU with it).
TEST_F(FramePipelineTest, TurnsLetterboxAndEdges) {
  FramePipeline pipeline(world.gpu);
  constexpr int black = -1;
  struct Row {
    const char* name;
    QuarterTurn turn;
    std::size_t sw, sh, dw, dh, x, y;
    int sx, sy;  // the source pixel shown, or black
  };
  const Row rows[] = {
      {"right: top edge to the left", QuarterTurn::right, 4, 2, 2, 4, 0, 0, 3, 0},
      {"right", QuarterTurn::right, 4, 2, 2, 4, 1, 3, 0, 1},
      {"left: top edge to the right", QuarterTurn::left, 4, 2, 2, 4, 0, 0, 0, 1},
      {"inverted", QuarterTurn::inverted, 4, 2, 4, 2, 0, 0, 3, 1},
      {"bars left and right", QuarterTurn::right, 4, 2, 4, 4, 0, 2, black, 0},
      {"picture between the bars, texel for texel", QuarterTurn::right, 4, 2, 4, 4, 2, 1, 2, 1},
      {"a spare column goes right", QuarterTurn::right, 4, 2, 3, 4, 2, 0, black, 0},
      {"a spare row goes down", QuarterTurn::normal, 4, 2, 4, 3, 1, 2, black, 0},
      {"the far edge is outside", QuarterTurn::normal, 8, 2, 2, 2, 0, 0, black, 0},
  };
  for (const Row& row : rows) {
    auto target = draw(pipeline, numbered(row.sw, row.sh), row.turn, row.dw, row.dh);
    const std::uint32_t want = row.sx == black ? 0xFF000000u : sim::bgra(std::uint32_t(row.sx), std::uint32_t(row.sy), 7);
    EXPECT_EQ(target->pixel(row.x, row.y), want) << row.name;
  }
  // 8 × 4 in 2 × 2: the first column and row of target pixels (point 2, the near edge) are inside.
  EXPECT_NE(draw(pipeline, numbered(8, 4), QuarterTurn::normal, 2, 2)->pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(world.gpu.lastLibrarySource(), FramePipeline::shaderSource());
  EXPECT_EQ(world.gpu.libraryCompiles() + world.gpu.pipelineStatesBuilt(), 2) << "built once, not per frame";
}
