// The GPU view's "shown" count against the picture on screen, with the display on a thread of its
// own (meant for ThreadSanitizer): whoever reads the count and then the picture must never find
// the picture older than the count, or a compositor that redraws when the count moves keeps
// showing the frame before the newest.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "host/ThreadSerialQueue.h"
#include "sim/gpu/SimGpuView.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;

namespace {

// The display thread, without waiting for vertical blanks: a blank comes as soon as the thread
// gets to it.
class AtOnceQueue : public SerialQueue {
 public:
  const std::string& label() const override { return thread.label(); }
  void async(std::function<void()> fn) override { thread.async(std::move(fn)); }
  void asyncAfter(double, std::function<void()> fn) override { thread.async(std::move(fn)); }

 private:
  host::ThreadSerialQueue thread{"sim.display"};
};

// Draws picture number n (its first pixel) into each drawable and presents it.
struct NumberedPictures : GpuViewDelegate {
  std::uint32_t next = 1;
  void draw(GpuView& view) override {
    auto drawable = std::dynamic_pointer_cast<sim::SimDrawable>(view.currentDrawable());
    if (!drawable) return;  // all in use: the display thread has not shown them yet
    drawable->simTexture()->pixels().setPixel(0, 0, next++);
    drawable->present();
  }
  void drawableSizeWillChange(GpuView&, Size) override {}
};

}  // namespace

TEST(SimGpuView, ShownCountNeverRunsAheadOfThePictureOnScreen) {
  constexpr std::uint32_t pictures = 200;
  sim::ManualLoop loop;
  sim::SimGpu gpu(loop);
  gpu.setDisplayQueue(std::make_unique<AtOnceQueue>());
  sim::SimGpuView view(gpu, gpu.defaultDevice());
  auto delegate = std::make_shared<NumberedPictures>();
  view.setDelegate(delegate);
  view.resizeDrawable(2, 2);
  // The count, then the picture: picture n is the n-th shown, so it is at least the count read.
  const auto behind = [&] {
    const std::size_t count = view.shownCount();
    std::uint32_t onScreen = 0;
    view.readLastShown([&](const sim::SimTexture& t) { onScreen = t.pixel(0, 0) & 0xFFFFFFu; });
    return onScreen < count;
  };
  std::atomic<int> behindOnDisplay{0}, behindElsewhere{0};
  // On the display thread, between showing a drawable and taking it as the picture on screen.
  view.setShownObserver([&](const sim::SimTexture&, double) { behindOnDisplay += behind(); });
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done) behindElsewhere += behind();
  });
  while (view.shownCount() < pictures) view.draw();
  done = true;
  reader.join();
  EXPECT_EQ(behindOnDisplay, 0);
  EXPECT_EQ(behindElsewhere, 0);
}
