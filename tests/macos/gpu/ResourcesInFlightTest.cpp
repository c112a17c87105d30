#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "macos/gpu/ResourcesInFlight.h"

using namespace turnlet::macos;

namespace {

// One command buffer, and how what it read ended.
struct Buffer {
  std::atomic<bool> committed{false}, completed{false};
  std::atomic<int> endedEarly{0}, ended{0};
  std::thread::id endedOn;
  std::shared_ptr<ResourcesInFlight> resources = std::make_shared<ResourcesInFlight>();  // last: ends first
};

// A texture (or pixel buffer) whose end is checked against its command buffer's completion.
struct Resource {
  Buffer& buffer;
  ~Resource() {
    if (!buffer.completed) ++buffer.endedEarly;
    buffer.endedOn = std::this_thread::get_id();
    ++buffer.ended;
  }
};

}  // namespace

TEST(MacResourcesInFlight, TexturesLiveUntilTheirBufferCompletesThenEndOnTheGpuThread) {
  // The main thread encodes 200 buffers, each reading a frame texture it then drops at once (as
  // the renderer drops its frame when a newer one arrives); a GPU thread completes them in order.
  std::vector<std::unique_ptr<Buffer>> all;
  for (int i = 0; i < 200; ++i) all.push_back(std::make_unique<Buffer>());
  std::thread gpu([&] {
    for (auto& b : all) {
      while (!b->committed) std::this_thread::yield();
      b->completed = true;  // the GPU has run it; then the completed handler
      b->resources->complete();
    }
  });
  for (auto& b : all) {
    b->resources->keep(std::make_shared<Resource>(*b));
    b->resources->keep(std::make_shared<int>(1));  // the drawable, say
    b->committed = true;
  }
  const std::thread::id gpuThread = gpu.get_id();
  gpu.join();
  for (auto& b : all) {
    EXPECT_EQ(b->endedEarly, 0);
    EXPECT_EQ(b->ended, 1);
    EXPECT_EQ(b->endedOn, gpuThread);
    EXPECT_EQ(b->resources->kept(), 0u);
  }
}

TEST(MacResourcesInFlight, WhatIsKeptAfterCompletionOrWithoutOneEndsWithoutLeaking) {
  Buffer late;
  late.resources->complete();
  late.resources->keep(std::make_shared<Resource>(late));
  EXPECT_EQ(late.ended, 1);  // let go at once
  EXPECT_EQ(late.resources->kept(), 0u);
  Buffer neverCommitted;  // an encode that failed: the buffer is dropped
  neverCommitted.resources->keep(std::make_shared<Resource>(neverCommitted));
  EXPECT_EQ(neverCommitted.resources->kept(), 1u);
  neverCommitted.resources.reset();
  EXPECT_EQ(neverCommitted.ended, 1);
}
