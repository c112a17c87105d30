#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "display/AppFailure.h"
#include "host/ThreadSerialQueue.h"
#include "render/FramePipeline.h"
#include "sim/ManualLoop.h"
#include "sim/World.h"
#include "support/RotationReference.h"

using namespace turnlet;
using turnlet::testing::fillPattern;
using turnlet::testing::referencePixel;

namespace {

constexpr std::uint32_t opaqueBlack = 0xFF000000u;

class FramePipelineTest : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::World world{loop};

  // Creating the pipeline must throw exactly this sentence.
  void expectCreationFailure(const std::string& sentence) {
    try {
      FramePipeline pipeline(world.gpu);
      ADD_FAILURE() << "created despite the fault; expected " << sentence;
    } catch (const AppFailure& failure) {
      EXPECT_EQ(failure.message(), sentence);
    }
  }

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

std::shared_ptr<sim::MemoryPixelBuffer> numbered(std::size_t width, std::size_t height, std::size_t bytesPerRow = 0) {
  // Pixel (x, y) holds blue x, green y, red 7 and a transparent alpha that must not show.
  auto frame = sim::MemoryPixelBuffer::make(width, height, bytesPerRow);
  for (std::size_t y = 0; y < height; ++y)
    for (std::size_t x = 0; x < width; ++x) frame->setPixel(x, y, sim::bgra(std::uint32_t(x), std::uint32_t(y), 7, 0));
  return frame;
}

std::uint32_t shown(std::uint32_t x, std::uint32_t y) { return sim::bgra(x, y, 7, 255); }

}  // namespace

TEST_F(FramePipelineTest, CreationBuildsTheProgramOnceAndOwnsItsObjects) {
  FramePipeline pipeline(world.gpu);
  EXPECT_EQ(pipeline.device(), world.gpu.defaultDevice());
  EXPECT_TRUE(pipeline.commandQueue());
  EXPECT_TRUE(pipeline.state());
  EXPECT_TRUE(pipeline.textureCache());
  EXPECT_EQ(world.gpu.libraryCompiles(), 1);
  EXPECT_EQ(world.gpu.pipelineStatesBuilt(), 1);
  EXPECT_EQ(world.gpu.lastLibrarySource(), FramePipeline::shaderSource());

  auto frame = numbered(6, 4);
  for (int i = 0; i < 3; ++i) draw(pipeline, frame, QuarterTurn::right, 4, 6);
  EXPECT_EQ(world.gpu.libraryCompiles(), 1);
  EXPECT_EQ(world.gpu.pipelineStatesBuilt(), 1);
}

TEST_F(FramePipelineTest, CreationFailuresCarryTheirSentences) {
  world.gpu.deviceMissing = true;
  expectCreationFailure("Metal is unavailable on this Mac.");
  world.gpu.deviceMissing = false;

  world.gpu.commandQueueMissing = true;
  expectCreationFailure("Metal is unavailable on this Mac.");
  world.gpu.commandQueueMissing = false;

  world.gpu.textureCacheStatus = -6660;
  expectCreationFailure("Could not create a shared capture texture (-6660).");
  world.gpu.textureCacheMissing = true;
  expectCreationFailure("Could not create a shared capture texture (-6660).");
  world.gpu.textureCacheStatus = 0;
  expectCreationFailure("Could not create a shared capture texture (0).");
  world.gpu.textureCacheMissing = false;

  FramePipeline works(world.gpu);
}

TEST_F(FramePipelineTest, ShaderAndPipelineErrorsPassThroughUnchanged) {
  struct Row {
    const char* name;
    std::optional<PlatformError> sim::SimGpu::*fault;
  };
  const Row rows[] = {{"compile", &sim::SimGpu::libraryError}, {"pipeline", &sim::SimGpu::pipelineError}};
  for (const Row& row : rows) {
    world.gpu.*row.fault =
        PlatformError("MTLLibraryErrorDomain", 3, "program_source:12:5: error: use of undeclared identifier 'p'");
    try {
      FramePipeline pipeline(world.gpu);
      ADD_FAILURE() << row.name << ": created";
    } catch (const AppFailure&) {
      ADD_FAILURE() << row.name << ": wrapped in an AppFailure";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.domain(), "MTLLibraryErrorDomain") << row.name;
      EXPECT_EQ(error.code(), 3) << row.name;
      EXPECT_EQ(error.localizedDescription(), "program_source:12:5: error: use of undeclared identifier 'p'")
          << row.name;
    }
    world.gpu.*row.fault = std::nullopt;
  }
}

TEST_F(FramePipelineTest, EncodeFailuresCarryTheirSentencesAndRecordNothing) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(4, 2);
  auto target = world.gpu.makeTexture(2, 4);
  struct Row {
    std::function<void(sim::SimGpu&)> fault;
    std::string sentence;
  };
  const Row rows[] = {
      {[](sim::SimGpu& g) { g.textureStatus = -6661; }, "Could not read a captured frame as a Metal texture (-6661)."},
      {[](sim::SimGpu& g) { g.captureTextureMissing = true; },
       "Could not read a captured frame as a Metal texture (0)."},
      {[](sim::SimGpu& g) { g.wrappedTextureMissing = true; },
       "Could not read a captured frame as a Metal texture (0)."},
      {[](sim::SimGpu& g) { g.renderEncoderMissing = true; }, "Could not encode the rotated frame."},
  };
  for (const Row& row : rows) {
    row.fault(world.gpu);
    auto command = pipeline.commandQueue()->makeCommandBuffer();
    try {
      pipeline.encode(frame, QuarterTurn::right, target, *command);
      ADD_FAILURE() << "encoded despite: " << row.sentence;
    } catch (const AppFailure& failure) {
      EXPECT_EQ(failure.message(), row.sentence);
    }
    world.gpu.textureStatus.reset();
    world.gpu.captureTextureMissing = world.gpu.wrappedTextureMissing = world.gpu.renderEncoderMissing = false;
  }
  EXPECT_TRUE(world.gpu.encodedPasses().empty());
  EXPECT_EQ(world.gpu.commandBuffersCommitted(), 0);

  // A frame the texture cache cannot view (empty) reports the cache's own status.
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  try {
    pipeline.encode(sim::MemoryPixelBuffer::make(0, 0), QuarterTurn::normal, target, *command);
    ADD_FAILURE() << "encoded an empty frame";
  } catch (const AppFailure& failure) {
    EXPECT_EQ(failure.message(), "Could not read a captured frame as a Metal texture (-6661).");
  }
}

TEST_F(FramePipelineTest, EncodeRecordsOneClearingPassWithInlineParametersAndCommitsNothing) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(7, 3);
  auto target = world.gpu.makeTexture(3, 7);
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  auto texture = pipeline.encode(frame, QuarterTurn::left, target, *command);

  ASSERT_EQ(world.gpu.encodedPasses().size(), 1u);
  const sim::RecordedPass& pass = world.gpu.encodedPasses()[0];
  EXPECT_EQ(pass.target.lock(), target);
  EXPECT_EQ(pass.loadAction, LoadAction::clear);
  EXPECT_EQ(pass.storeAction, StoreAction::store);
  EXPECT_EQ(pass.clearColor, (ClearColor{0, 0, 0, 1}));
  EXPECT_TRUE(pass.pipelineSet);
  EXPECT_EQ(pass.viewport, (Viewport{0, 0, 3, 7, 0, 1}));
  EXPECT_EQ(pass.fragmentTexture.lock(), texture->texture());
  ASSERT_EQ(pass.fragmentBytes.size(), 20u);
  std::uint32_t parameters[5];
  std::memcpy(parameters, pass.fragmentBytes.data(), 20);
  EXPECT_EQ(std::vector<std::uint32_t>(parameters, parameters + 5), (std::vector<std::uint32_t>{7, 3, 3, 7, 3}));
  ASSERT_EQ(pass.draws.size(), 1u);
  EXPECT_EQ(pass.draws[0].type, PrimitiveType::triangle);
  EXPECT_EQ(pass.draws[0].vertexStart, 0u);
  EXPECT_EQ(pass.draws[0].vertexCount, 3u);
  EXPECT_EQ(world.gpu.commandBuffersCommitted(), 0);
}

TEST_F(FramePipelineTest, TheFrameTextureViewsThePixelBufferWithoutACopy) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(9, 5, 64);  // rows padded past 9 × 4 bytes
  auto target = world.gpu.makeTexture(5, 9);
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  auto texture = pipeline.encode(frame, QuarterTurn::right, target, *command);
  auto view = std::dynamic_pointer_cast<sim::SimTexture>(texture->texture());
  ASSERT_TRUE(view);
  EXPECT_EQ(view->pixels().baseAddress(), frame->baseAddress());
  EXPECT_EQ(view->pixels().bytesPerRow(), 64u);
  EXPECT_EQ(view->width(), 9u);
  EXPECT_EQ(view->height(), 5u);
  EXPECT_EQ(view->pixelFormat(), PixelFormat::bgra8Unorm);

  // The view keeps the frame alive for the GPU after the caller lets go of it.
  std::weak_ptr<sim::MemoryPixelBuffer> watch = frame;
  frame.reset();
  command->commit();
  EXPECT_FALSE(watch.expired());
  world.gpu.runGpuWork();
  command.reset();
  texture.reset();
  view.reset();
  EXPECT_TRUE(watch.expired());
}

TEST_F(FramePipelineTest, QuarterTurnsOfAFourByTwoFrame) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(4, 2);
  // A quarter turn right: the source's top edge becomes the target's left edge.
  auto right = draw(pipeline, frame, QuarterTurn::right, 2, 4);
  EXPECT_EQ(right->pixel(0, 0), shown(3, 0));
  EXPECT_EQ(right->pixel(1, 3), shown(0, 1));
  EXPECT_EQ(right->pixel(1, 0), shown(3, 1));
  EXPECT_EQ(right->pixel(0, 3), shown(0, 0));
  // Left: the top edge becomes the right edge.
  auto left = draw(pipeline, frame, QuarterTurn::left, 2, 4);
  EXPECT_EQ(left->pixel(0, 0), shown(0, 1));
  EXPECT_EQ(left->pixel(1, 0), shown(0, 0));
  EXPECT_EQ(left->pixel(0, 3), shown(3, 1));
  EXPECT_EQ(left->pixel(1, 3), shown(3, 0));
  auto inverted = draw(pipeline, frame, QuarterTurn::inverted, 4, 2);
  EXPECT_EQ(inverted->pixel(0, 0), shown(3, 1));
  EXPECT_EQ(inverted->pixel(3, 1), shown(0, 0));
  auto normal = draw(pipeline, frame, QuarterTurn::normal, 4, 2);
  for (std::uint32_t y = 0; y < 2; ++y)
    for (std::uint32_t x = 0; x < 4; ++x) EXPECT_EQ(normal->pixel(x, y), shown(x, y));
}

TEST_F(FramePipelineTest, EveryTurnOnOddPaddedFramesMatchesThePerPixelReference) {
  FramePipeline pipeline(world.gpu);
  for (QuarterTurn turn : allQuarterTurns) {
    auto frame = sim::MemoryPixelBuffer::make(35, 21, 35 * 4 + 28);
    fillPattern(*frame, std::uint32_t(rawValue(turn)) + 1);
    const bool portrait = isPortrait(turn);
    const std::size_t exactWidth = portrait ? 21 : 35, exactHeight = portrait ? 35 : 21;
    const std::pair<std::size_t, std::size_t> targets[] = {{exactWidth, exactHeight}, {50, 40}, {13, 29}};
    for (auto [width, height] : targets) {
      auto target = draw(pipeline, frame, turn, width, height);
      int wrong = 0;
      for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
          wrong += target->pixel(x, y) !=
                   referencePixel(*frame, std::uint32_t(width), std::uint32_t(height), quarterTurnCount(turn), x, y);
      EXPECT_EQ(wrong, 0) << rawValue(turn) << "° into " << width << "x" << height;
    }
  }
}

TEST_F(FramePipelineTest, LetterboxBarsOnBothAxes) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(4, 2);
  // Turned 2 × 4 in 4 × 4: scale 1, origin (1, 0); columns 0 and 3 black, 1 and 2 the picture,
  // texel for texel although it comes through the sampling path.
  auto wide = draw(pipeline, frame, QuarterTurn::right, 4, 4);
  for (std::uint32_t y = 0; y < 4; ++y) {
    EXPECT_EQ(wide->pixel(0, y), opaqueBlack);
    EXPECT_EQ(wide->pixel(3, y), opaqueBlack);
    EXPECT_EQ(wide->pixel(1, y), shown(3 - y, 0));
    EXPECT_EQ(wide->pixel(2, y), shown(3 - y, 1));
  }
  // One column to spare: the whole bar goes to the right (origin.x floors to 0).
  auto oddWidth = draw(pipeline, frame, QuarterTurn::right, 3, 4);
  for (std::uint32_t y = 0; y < 4; ++y) {
    EXPECT_EQ(oddWidth->pixel(0, y), shown(3 - y, 0));
    EXPECT_EQ(oddWidth->pixel(1, y), shown(3 - y, 1));
    EXPECT_EQ(oddWidth->pixel(2, y), opaqueBlack);
  }
  // 4 × 2 unturned in 4 × 4: bars above and below; in 4 × 3 the spare row goes to the bottom.
  auto tall = draw(pipeline, frame, QuarterTurn::normal, 4, 4);
  auto oddHeight = draw(pipeline, frame, QuarterTurn::normal, 4, 3);
  for (std::uint32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(tall->pixel(x, 0), opaqueBlack);
    EXPECT_EQ(tall->pixel(x, 1), shown(x, 0));
    EXPECT_EQ(tall->pixel(x, 2), shown(x, 1));
    EXPECT_EQ(tall->pixel(x, 3), opaqueBlack);
    EXPECT_EQ(oddHeight->pixel(x, 0), shown(x, 0));
    EXPECT_EQ(oddHeight->pixel(x, 1), shown(x, 1));
    EXPECT_EQ(oddHeight->pixel(x, 2), opaqueBlack);
  }
}

TEST_F(FramePipelineTest, FarEdgeIsBlackNearEdgeInside) {
  FramePipeline pipeline(world.gpu);
  // 8 × 2 in 2 × 2: scale 1/4, the picture is half a pixel tall at origin (0, 0); the centre of
  // row 0 maps to point.y = 2, the far edge, so nothing of the picture shows.
  auto flat = draw(pipeline, numbered(8, 2), QuarterTurn::normal, 2, 2);
  for (std::uint32_t y = 0; y < 2; ++y)
    for (std::uint32_t x = 0; x < 2; ++x) EXPECT_EQ(flat->pixel(x, y), opaqueBlack) << x << "," << y;
  // 8 × 4 in 2 × 2: the first column and row (point 2, near the edge 0) are inside.
  auto frame = numbered(8, 4);
  auto half = draw(pipeline, frame, QuarterTurn::normal, 2, 2);
  EXPECT_EQ(half->pixel(0, 0), referencePixel(*frame, 2, 2, 0, 0, 0));
  EXPECT_NE(half->pixel(0, 0), opaqueBlack);
  EXPECT_EQ(half->pixel(1, 0), referencePixel(*frame, 2, 2, 0, 1, 0));
  EXPECT_EQ(half->pixel(0, 1), opaqueBlack);
}

TEST_F(FramePipelineTest, AlphaIsOneEverywhere) {
  FramePipeline pipeline(world.gpu);
  auto frame = sim::MemoryPixelBuffer::make(6, 3);
  for (std::size_t y = 0; y < 3; ++y)
    for (std::size_t x = 0; x < 6; ++x) frame->setPixel(x, y, sim::bgra(200, 100, 50, std::uint32_t(x * 40)));
  for (QuarterTurn turn : allQuarterTurns) {
    for (auto [width, height] :
         {std::pair<std::size_t, std::size_t>{isPortrait(turn) ? 3u : 6u, isPortrait(turn) ? 6u : 3u},
          std::pair<std::size_t, std::size_t>{7, 7}}) {
      auto target = draw(pipeline, frame, turn, width, height);
      for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) EXPECT_EQ(target->pixel(x, y) >> 24, 255u);
    }
  }
}

TEST_F(FramePipelineTest, CompletionReportsGpuTimesErrorsAndPresentation) {
  FramePipeline pipeline(world.gpu);
  auto frame = numbered(4, 2);
  world.gpu.passDurationSeconds = 0.004;
  loop.advance(10);

  auto drawable = world.gpu.makeDrawable(2, 4);
  int presented = 0;
  drawable->addPresentedHandler([&](Drawable&) { ++presented; });
  auto command = pipeline.commandQueue()->makeCommandBuffer();
  auto texture = pipeline.encode(frame, QuarterTurn::right, drawable->texture(), *command);
  std::optional<double> milliseconds;
  bool failed = true;
  command->addCompletedHandler([&](CommandBuffer& done) {
    milliseconds = (done.gpuEndTime() - done.gpuStartTime()) * 1000;
    failed = done.error().has_value();
  });
  command->present(drawable);
  command->commit();
  EXPECT_FALSE(milliseconds) << "ran before the GPU worker did";
  EXPECT_EQ(world.gpu.runGpuWork(), 1u);
  ASSERT_TRUE(milliseconds);
  EXPECT_NEAR(*milliseconds, 4, 1e-9);
  EXPECT_FALSE(failed);
  EXPECT_EQ(presented, 1);
  EXPECT_EQ(drawable->simTexture()->pixel(0, 0), shown(3, 0));

  // A GPU fault: the handler sees the platform's error and nothing is presented.
  world.gpu.executionError = PlatformError("MTLCommandBufferErrorDomain", 2, "Caused GPU Timeout Error");
  auto second = world.gpu.makeDrawable(2, 4);
  auto failing = pipeline.commandQueue()->makeCommandBuffer();
  auto held = pipeline.encode(frame, QuarterTurn::right, second->texture(), *failing);
  std::optional<PlatformError> reported;
  failing->addCompletedHandler([&](CommandBuffer& done) { reported = done.error(); });
  failing->present(second);
  failing->commit();
  world.gpu.runGpuWork();
  ASSERT_TRUE(reported);
  EXPECT_EQ(reported->localizedDescription(), "Caused GPU Timeout Error");
  EXPECT_EQ(second->presentCount(), 0);
}

// Command buffers complete on a real GPU thread while the main thread keeps encoding; meant for
// ThreadSanitizer.
TEST_F(FramePipelineTest, CompletionOnARealWorkerThread) {
  world.gpu.setWorkerQueue(std::make_unique<host::ThreadSerialQueue>("sim.gpu"));
  FramePipeline pipeline(world.gpu);
  auto frame = sim::MemoryPixelBuffer::make(64, 48);
  fillPattern(*frame, 3);
  std::mutex mutex;
  std::condition_variable changed;
  int completed = 0, presented = 0;
  constexpr int frames = 8;
  std::vector<std::shared_ptr<sim::SimDrawable>> drawables;
  for (int i = 0; i < frames; ++i) {
    auto drawable = world.gpu.makeDrawable(48, 64);
    drawables.push_back(drawable);
    drawable->addPresentedHandler([&](Drawable&) {
      std::lock_guard lock(mutex);
      ++presented;
      changed.notify_all();
    });
    auto command = pipeline.commandQueue()->makeCommandBuffer();
    auto texture = pipeline.encode(frame, QuarterTurn::left, drawable->texture(), *command);
    command->addCompletedHandler([&, texture](CommandBuffer& done) {
      std::lock_guard lock(mutex);
      completed += done.error() ? 0 : 1;
      changed.notify_all();
    });
    command->present(drawable);
    command->commit();
  }
  std::unique_lock lock(mutex);
  ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] { return presented == frames; }));
  EXPECT_EQ(completed, frames);
  lock.unlock();
  for (const auto& drawable : drawables)
    EXPECT_EQ(drawable->simTexture()->pixel(0, 0), referencePixel(*frame, 48, 64, 3, 0, 0));
}
