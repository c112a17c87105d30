#include "app/SelfTest.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <sstream>
#include <utility>

#include "app/TurnletApp.h"
#include "display/AppFailure.h"
#include "brightness/DisplayBrightnessReader.h"
#include "display/DisplayInfo.h"
#include "display/RotationPreferences.h"
#include "render/FramePipeline.h"
#include "runtime/Continuation.h"
#include "runtime/Timeout.h"
#include "virtualdisplay/TurnletVirtualDisplay.h"

namespace turnlet {

namespace {

constexpr int oldestMajor = 14;  // the oldest macOS the program runs on
constexpr int touchMajor = 27;   // finger counts on the iPad need this one
constexpr double contentFetchSeconds = 10;
constexpr int contentFetches = 5;
constexpr double contentRetrySeconds = 0.2;

constexpr std::string_view screenRecording = "screen-recording permission";
constexpr std::string_view postingEvents = "event-posting permission";
constexpr std::string_view classesCheck = "private virtual-display classes";
constexpr std::string_view gpuDevice = "Metal device";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string version(const OperatingSystemVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

}  // namespace

SelfTest::SelfTest(Services services, const CommandLine& line, std::ostream& out)
    : services(services), line(line), out(out) {}

void SelfTest::report(Mark mark, std::string_view what, const std::string& detail) {
  static constexpr const char* marks[] = {"PASS", "FAIL", "SKIP"};
  ++counts[static_cast<int>(mark)];
  out << marks[static_cast<int>(mark)] << "  " << what << ": " << detail << '\n';
  out.flush();  // each line as soon as it is known: a check that hangs shows where
}

bool SelfTest::pass(std::string_view what, const std::string& detail) {
  report(Mark::passed, what, detail);
  return true;
}

bool SelfTest::fail(std::string_view what, const std::string& reason, const std::string& remedy) {
  report(Mark::failed, what, remedy.empty() ? reason : reason + " · " + remedy);
  return false;
}

void SelfTest::skip(std::string_view what, std::string_view needs) {
  report(Mark::skipped, what, "needs the " + std::string(needs) + ", which did not pass");
}

Task<bool> SelfTest::run() {
  checkSystem();
  const bool recording = checkPermission(
      screenRecording,
      line.request ? services.permissions.requestScreenCaptureAccess() : services.permissions.preflightScreenCaptureAccess(),
      "Screen & System Audio Recording");
  checkPermission(postingEvents,
                  line.request ? services.permissions.requestPostEventAccess() : services.permissions.preflightPostEventAccess(),
                  "Accessibility");
  const bool classesUsable = checkVirtualDisplayClasses();
  checkBrightness();
  checkDisplays();
  if (recording)
    co_await checkCapture();
  else
    skip("screen capture", screenRecording);
  checkGpu();
  checkEventSource();
  if (line.display) co_await checkDisplayRoundTrip(classesUsable, recording);
  out << "Self-test: " << counts[0] << " passed, " << counts[1] << " failed, " << counts[2] << " skipped.\n";
  out.flush();
  co_return counts[static_cast<int>(Mark::failed)] == 0;
}

int SelfTest::main(Services services, const CommandLine& line, std::ostream& out, const std::string& header,
                   std::function<void()>& interrupt, const std::function<void()>& runLoop,
                   const std::function<void()>& stopLoop, Log& log) {
  out << header << std::flush;
  SelfTest test(services, line, out);
  bool passed = false;
  const TaskHandle running = spawn(
      services.loop,
      [&]() -> Task<void> {
        try {
          passed = co_await test.run();
        } catch (const CancellationError&) {
          out << "The self-test was interrupted; its display, if it made one, is removed." << std::endl;
        } catch (const std::exception& e) {
          out << "The self-test stopped: " << e.what() << std::endl;
        }
        stopLoop();
      },
      &log);
  interrupt = [running] { running.cancel(); };
  runLoop();
  interrupt = nullptr;
  return passed ? 0 : 1;
}

void SelfTest::checkSystem() {
  const OperatingSystemVersion v = services.system.operatingSystemVersion();
  if (v.major >= oldestMajor)
    pass("system version", "macOS " + version(v));
  else
    fail("system version", "macOS " + version(v) + " is older than macOS 14",
         "Turnlet needs macOS " + std::to_string(oldestMajor) + " or later");
  if (services.system.isOperatingSystemAtLeast(touchMajor, 0, 0))
    pass("touch input", "available (macOS 27 or later)");
  else
    fail("touch input", "needs macOS 27 or later", "update macOS for finger touch; rotation works without it");
}

bool SelfTest::checkPermission(std::string_view what, bool granted, std::string_view setting) {
  if (granted) return pass(what, "granted");
  return fail(what, line.request ? "not granted" : "not granted (checked without asking)",
              "allow Turnlet in System Settings → Privacy & Security → " + std::string(setting) +
                  ", quit Turnlet and run the self-test again (or run it with --request to be asked)");
}

bool SelfTest::checkVirtualDisplayClasses() {
  const std::vector<std::string> problems = TurnletVirtualDisplay::interfaceProblems(services.objects);
  const bool classesMissing = !problems.empty() && problems.front().ends_with(" is missing");
  std::string list;
  for (const std::string& p : problems) list += (list.empty() ? "" : "; ") + p;
  const std::string remedy = "rotation cannot make its display on this macOS; send this report";
  if (classesMissing) {
    fail(classesCheck, list, remedy);
    skip("virtual-display selectors and types", classesCheck);
    return false;
  }
  pass(classesCheck, "CGVirtualDisplayDescriptor, CGVirtualDisplay, CGVirtualDisplayMode, CGVirtualDisplaySettings");
  if (problems.empty())
    return pass("virtual-display selectors and types", "every message Turnlet sends is answered, with the types it sends");
  return fail("virtual-display selectors and types", list, remedy);
}

void SelfTest::checkBrightness() {
  const std::string what = "brightness function";
  const std::string remedy = "Follow Main Display Brightness cannot work on this macOS; everything else can";
  auto library = services.libraries.open(DisplayBrightnessReader::libraryPath, DisplayBrightnessReader::openMode);
  if (!library)
    fail(what, std::string(DisplayBrightnessReader::libraryPath) + " cannot be loaded", remedy);
  else if (!library->displayFloatFunction(DisplayBrightnessReader::functionName))
    fail(what, std::string(DisplayBrightnessReader::functionName) + " is missing", remedy);
  else
    pass(what, std::string(DisplayBrightnessReader::functionName) + " loads");
}

void SelfTest::checkDisplays() {
  const std::vector<DisplayInfo> online = DisplayInfo::online(services.displays);
  const RotationPreferences prefs(services.defaults);
  const std::string count = std::to_string(online.size()) + " online";
  try {
    // As a Rotate chooses: the remembered iPad while it is connected, else by name.
    std::optional<std::string> identity = prefs.rememberedDeviceID();
    bool connected = false;
    for (const DisplayInfo& d : online) connected = connected || (identity && d.persistentID == identity);
    if (!connected) identity.reset();
    const char* reason = !identity                  ? "the one display whose name says Sidecar or iPad"
                         : prefs.preferredDeviceID() ? "chosen under Display in the menu bar"
                                                     : "the iPad rotated last";
    const DisplayInfo ipad = DisplayInfo::findSidecar(services.text, identity, online);
    pass("displays", count + "; the iPad is " + std::to_string(ipad.id) + " " + quoted(ipad.name) + ": " + reason);
  } catch (const Error& e) {
    fail("displays", count + "; no iPad to rotate", e.localizedDescription());
  }
  std::ostringstream listing;
  TurnletApp::listDisplays(services.displays, listing);
  std::istringstream lines(listing.str());
  for (std::string each; std::getline(lines, each);) out << "      " << each << '\n';
}

Task<SelfTest::Fetched> SelfTest::shareableContent() {
  co_return co_await withTimeout(contentFetchSeconds, withContinuation<Fetched>([this](Continuation<Fetched> done) {
    services.capture.getShareableContent(false, false, [done](auto content, auto error) {
      done.resume(Fetched{std::move(content), std::move(error)});
    });
  }));
}

Task<void> SelfTest::checkCapture() {
  const std::string what = "screen capture";
  // A display that came online moments ago may be left out of the first listings, as the
  // rotation's own wait allows.
  std::string missing;
  int listed = 0;
  for (int fetch = 0; fetch < contentFetches; ++fetch) {
    if (fetch > 0) co_await sleep(contentRetrySeconds);
    Fetched fetched;
    try {
      fetched = co_await shareableContent();
    } catch (const TimeoutError&) {
      fail(what, "ScreenCaptureKit did not answer within 10 s", "send this report");
      co_return;
    }
    if (fetched.second || !fetched.first) {
      fail(what, fetched.second ? fetched.second->localizedDescription() : "no shareable content",
           "check the screen-recording permission, then send this report");
      co_return;
    }
    missing.clear();
    listed = 0;
    for (const DisplayInfo& d : DisplayInfo::online(services.displays)) {
      bool found = false;
      for (const CaptureDisplay& c : fetched.first->displays) found = found || c.displayID == d.id;
      if (found) ++listed;
      else if (!d.mirrored) missing += (missing.empty() ? "" : ", ") + std::to_string(d.id);
    }
    if (missing.empty()) break;
  }
  if (missing.empty())
    pass(what, "ScreenCaptureKit lists " + std::to_string(listed) + " displays");
  else
    fail(what, "ScreenCaptureKit leaves out display " + missing, "send this report");
}

void SelfTest::checkGpu() {
  if (!services.gpu.defaultDevice()) {
    fail(gpuDevice, "no Metal device", "rotation needs a Mac whose GPU supports Metal");
    skip("rotation shader", gpuDevice);
    return;
  }
  pass(gpuDevice, "present");
  try {
    pipeline = std::make_shared<FramePipeline>(services.gpu);
    pass("rotation shader", "compiles, and its pipeline is built");
  } catch (const Error& e) {
    fail("rotation shader", e.localizedDescription(), "send this report");
  }
}

void SelfTest::checkEventSource() {
  if (services.inputEvents.createEventSource(EventSourceState::privateState))
    pass("event source", "created (nothing posted)");
  else
    fail("event source", "the system refused an event source", "touch input cannot post its clicks; send this report");
}

std::string SelfTest::since(double start) const {
  char text[32];
  std::snprintf(text, sizeof text, " (%.2f s)", services.loop.now() - start);
  return text;
}

namespace {

// Keeps the first complete frame a stream delivers; called on the sample queue.
class FirstFrame final : public StreamOutput, public StreamDelegate {
 public:
  void didOutputSampleBuffer(const SampleBuffer& sample, StreamOutputType type) override {
    if (type != StreamOutputType::screen || !sample.isValid() || sample.frameStatus() != FrameStatus::complete) return;
    const std::lock_guard lock(mutex);
    if (!frame) frame = sample.imageBuffer();
  }
  void didStopWithError(const PlatformError&) override {}
  std::shared_ptr<PixelBuffer> take() {
    const std::lock_guard lock(mutex);
    return frame;
  }

 private:
  std::mutex mutex;
  std::shared_ptr<PixelBuffer> frame;
};

constexpr std::uint32_t testWidth = 640, testHeight = 480;  // points; pixels are twice as many
constexpr double stepSeconds = 5;                          // what each step may take at most
constexpr double pollSeconds = 0.02;

std::optional<DisplayInfo> onlineDisplay(DisplayServices& displays, DisplayID id) {
  for (const DisplayInfo& d : DisplayInfo::online(displays))
    if (d.id == id) return d;
  return std::nullopt;
}

}  // namespace

Task<void> SelfTest::checkDisplayRoundTrip(bool classesUsable, bool recording) {
  const std::string create = "test display made", shown = "test display shown", captured = "test display captured",
                    rotated = "test frame rotated", removed = "test display removed";
  if (!classesUsable) {
    for (const std::string& step : {create, shown, captured, rotated, removed}) skip(step, classesCheck);
    co_return;
  }
  double start = services.loop.now();
  std::optional<PlatformError> error;
  auto display = TurnletVirtualDisplay::create(services.objects, 2 * testWidth, 2 * testHeight, testWidth, testHeight, &error);
  if (!display) {
    fail(create, error ? error->localizedDescription() : "no display", "send this report");
    for (const std::string& step : {shown, captured, rotated, removed}) skip(step, create);
    co_return;
  }
  const DisplayID id = display->displayID();
  pass(create, "display " + std::to_string(id) + ", 640×480 points at twice the pixels" + since(start));

  start = services.loop.now();
  std::optional<DisplayInfo> info;
  for (double waited = 0; waited < stepSeconds; waited += pollSeconds) {
    info = onlineDisplay(services.displays, id);
    if (info && info->bounds.width() == testWidth && info->bounds.height() == testHeight) break;
    info.reset();
    co_await sleep(pollSeconds);
  }
  const bool appeared = info && info->isOwnVirtualDisplay();
  if (appeared)
    pass(shown, quoted(info->name) + ", vendor " + std::to_string(info->vendor) + ", " + std::to_string(testWidth) +
                    "×" + std::to_string(testHeight) + since(start));
  else
    fail(shown, "macOS did not list it as Turnlet's own display at 640×480 within 5 s", "send this report");

  std::shared_ptr<PixelBuffer> frame;
  if (!appeared)
    skip(captured, shown);
  else if (!recording)
    skip(captured, screenRecording);
  else {
    start = services.loop.now();
    try {
      frame = co_await captureOneFrame(id);
      const auto mode = services.displays.currentModePixelSize(id);
      const std::size_t width = mode ? mode->width : 2 * testWidth, height = mode ? mode->height : 2 * testHeight;
      const std::string size = std::to_string(frame->width()) + "×" + std::to_string(frame->height()) + " pixels";
      std::string format = "pixel format not checked (no rotation shader)";
      if (pipeline) {
        auto view = pipeline->textureCache()->textureFromImage(frame, PixelFormat::bgra8Unorm, frame->width(), frame->height(), 0);
        const auto texture = view.object ? view.object->texture() : nullptr;
        format = view.status == 0 && texture && texture->pixelFormat() == PixelFormat::bgra8Unorm
                     ? "BGRA, as the GPU reads it"
                     : "not readable as BGRA (" + std::to_string(view.status) + ")";
      }
      if (frame->width() != width || frame->height() != height || format.starts_with("not")) {
        frame.reset();
        fail(captured, size + ", " + format + "; expected " + std::to_string(width) + "×" + std::to_string(height) + " BGRA",
             "send this report");
      } else {
        pass(captured, "one frame, " + size + ", " + format + since(start));
      }
    } catch (const CancellationError&) {
      throw;  // interrupted: the display goes with this frame
    } catch (const Error& e) {
      fail(captured, e.localizedDescription(), "send this report");
    }
  }
  if (!frame)
    skip(rotated, captured);
  else if (!pipeline)
    skip(rotated, "rotation shader");
  else
    co_await checkRotation(frame);

  start = services.loop.now();
  display.reset();  // removes the display
  bool gone = false;
  for (double waited = 0; !gone && waited < stepSeconds; waited += pollSeconds) {
    gone = !onlineDisplay(services.displays, id);
    if (!gone) co_await sleep(pollSeconds);
  }
  if (gone)
    pass(removed, "gone from the display list" + since(start));
  else
    fail(removed, "still listed 5 s after it was released", "quit every Turnlet, then send this report");
}

// The frame drawn once as it is and once a quarter turn clockwise, both at their own size, where
// the rotation reads pixels without filtering: a pixel of the turned picture must be the frame's
// pixel the turn brings there.
Task<void> SelfTest::checkRotation(const std::shared_ptr<PixelBuffer>& frame) {
  const std::string what = "test frame rotated";
  const double start = services.loop.now();
  const std::size_t w = frame->width(), h = frame->height();
  const auto& device = pipeline->device();
  const auto straight = device->makeReadableTexture(w, h), turned = device->makeReadableTexture(h, w);
  const auto command = pipeline->commandQueue()->makeCommandBuffer();
  if (!straight || !turned || !command) {
    fail(what, "the GPU did not give a texture or a command buffer", "send this report");
    co_return;
  }
  try {
    const auto views = std::pair(pipeline->encode(frame, QuarterTurn::normal, straight, *command),
                                 pipeline->encode(frame, QuarterTurn::right, turned, *command));
    using Outcome = std::optional<PlatformError>;
    const Outcome failed = co_await withTimeout(stepSeconds, withContinuation<Outcome>([&command](Continuation<Outcome> done) {
      command->addCompletedHandler([done](CommandBuffer& buffer) { done.resume(buffer.error()); });
      command->commit();
    }));
    if (failed) throw *failed;
  } catch (const CancellationError&) {
    throw;
  } catch (const Error& e) {
    fail(what, e.localizedDescription(), "send this report");
    co_return;
  }
  const std::size_t x = w / 4, y = h / 3;  // the turn brings (x, y) to (y, w - 1 - x)
  const auto expected = device->readPixel(straight, x, y), seen = device->readPixel(turned, y, w - 1 - x);
  char pixels[64];
  std::snprintf(pixels, sizeof pixels, "0x%08X at (%zu, %zu), 0x%08X turned", expected.value_or(0), x, y, seen.value_or(0));
  if (expected && seen && *expected == *seen && (*seen >> 24) == 0xFF)
    pass(what, std::string("a quarter turn on the GPU: ") + pixels + since(start));
  else
    fail(what, std::string("a quarter turn on the GPU gave ") + pixels, "send this report");
}

Task<std::shared_ptr<PixelBuffer>> SelfTest::captureOneFrame(DisplayID display) {
  std::optional<CaptureDisplay> found;
  for (double waited = 0; !found && waited < stepSeconds; waited += contentRetrySeconds) {
    const Fetched fetched = co_await shareableContent();
    if (fetched.second) throw *fetched.second;
    if (fetched.first)
      for (const CaptureDisplay& d : fetched.first->displays)
        if (d.displayID == display) found = d;
    if (!found) co_await sleep(contentRetrySeconds);
  }
  if (!found) throw AppFailure("ScreenCaptureKit did not list the test display within 5 s.");

  StreamConfiguration configuration;
  const auto mode = services.displays.currentModePixelSize(display);
  configuration.width = mode ? mode->width : 2 * testWidth;
  configuration.height = mode ? mode->height : 2 * testHeight;
  configuration.minimumFrameInterval = MediaTime{1, 60};
  configuration.queueDepth = 3;
  configuration.streamName = "Turnlet self-test";
  auto output = std::make_shared<FirstFrame>();
  auto stream = services.capture.makeStream(ContentFilter{*found, {}}, configuration, output);
  if (auto failed = stream->addStreamOutput(output, StreamOutputType::screen,
                                            services.capture.makeSampleQueue("local.turnlet.self-test", QualityOfService::userInteractive)))
    throw *failed;
  using Outcome = std::optional<PlatformError>;
  const auto run = [&stream](bool start) {
    return withTimeout(stepSeconds, withContinuation<Outcome>([raw = stream.get(), start](Continuation<Outcome> done) {
      const auto finish = [done](Outcome e) { done.resume(std::move(e)); };
      start ? raw->startCapture(finish) : raw->stopCapture(finish);
    }));
  };
  if (const Outcome failed = co_await run(true)) throw *failed;
  std::shared_ptr<PixelBuffer> frame;
  for (double waited = 0; !frame && waited < stepSeconds; waited += pollSeconds) {
    co_await sleep(pollSeconds);
    frame = output->take();
  }
  co_await run(false);
  if (!frame) throw AppFailure("No complete frame arrived within 5 s.");
  co_return frame;
}

}  // namespace turnlet
