#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "macos/gpu/ResourcesInFlight.h"

using namespace turnlet::macos;

namespace {

// A texture (or pixel buffer) whose end is checked against its command buffer's completion.
struct Resource {
  Resource(const std::atomic<bool>* c, std::atomic<int>* early, std::atomic<int>* e, std::thread::id* on)
      : bufferCompleted(c), endedEarly(early), ended(e), endedOn(on) {}
  Resource(const Resource&) = delete;
  const std::atomic<bool>* bufferCompleted;
  std::atomic<int>* endedEarly;
  std::atomic<int>* ended;
  std::thread::id* endedOn;
  ~Resource() {
    if (!bufferCompleted->load()) ++*endedEarly;
    *endedOn = std::this_thread::get_id();
    ++*ended;
  }
};

}  // namespace

TEST(MacResourcesInFlight, TexturesLiveUntilTheirBufferCompletesThenEndOnTheGpuThread) {
  // The main thread encodes 200 buffers, each reading a frame texture it then drops at once (as
  // the renderer drops its frame when a newer one arrives); a GPU thread completes them in order.
  constexpr int buffers = 200;
  struct Buffer {
    std::shared_ptr<ResourcesInFlight> resources = std::make_shared<ResourcesInFlight>();
    std::atomic<bool> completed{false};
    std::thread::id endedOn;
  };
  std::vector<std::unique_ptr<Buffer>> all;
  for (int i = 0; i < buffers; ++i) all.push_back(std::make_unique<Buffer>());
  std::atomic<int> endedEarly{0}, ended{0};

  std::mutex mutex;
  std::condition_variable ready;
  std::deque<Buffer*> committed;
  bool done = false;
  std::thread gpu([&] {
    for (;;) {
      Buffer* b = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [&] { return done || !committed.empty(); });
        if (committed.empty()) return;
        b = committed.front();
        committed.pop_front();
      }
      b->completed = true;  // the GPU has run it; then the completed handler
      b->resources->complete();
    }
  });
  const std::thread::id gpuThread = gpu.get_id();
  for (auto& b : all) {
    auto texture = std::make_shared<Resource>(&b->completed, &endedEarly, &ended, &b->endedOn);
    b->resources->keep(texture);
    b->resources->keep(std::make_shared<int>(1));  // the drawable, say
    texture.reset();
    {
      std::lock_guard<std::mutex> lock(mutex);
      committed.push_back(b.get());
    }
    ready.notify_one();
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  ready.notify_one();
  gpu.join();

  EXPECT_EQ(endedEarly.load(), 0);
  EXPECT_EQ(ended.load(), buffers);
  for (auto& b : all) {
    EXPECT_EQ(b->endedOn, gpuThread);
    EXPECT_EQ(b->resources->kept(), 0u);
  }
}

TEST(MacResourcesInFlight, WhatIsKeptAfterCompletionOrWithoutOneEndsWithoutLeaking) {
  std::atomic<bool> completed{true};
  std::atomic<int> early{0}, ended{0};
  std::thread::id on;
  ResourcesInFlight late;
  late.complete();
  late.keep(std::make_shared<Resource>(&completed, &early, &ended, &on));
  EXPECT_EQ(ended.load(), 1);  // let go at once
  EXPECT_EQ(late.kept(), 0u);
  {
    ResourcesInFlight neverCommitted;  // an encode that failed: the buffer is dropped
    neverCommitted.keep(std::make_shared<Resource>(&completed, &early, &ended, &on));
    EXPECT_EQ(neverCommitted.kept(), 1u);
  }
  EXPECT_EQ(ended.load(), 2);
}
