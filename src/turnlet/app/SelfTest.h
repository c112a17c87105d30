#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "app/CommandLine.h"
#include "platform/CaptureStream.h"
#include "platform/DisplayServices.h"
#include "platform/Gpu.h"
#include "platform/InputEvents.h"
#include "platform/LibraryLoader.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/ObjectRuntime.h"
#include "platform/Permissions.h"
#include "platform/SystemVersion.h"
#include "platform/TextServices.h"
#include "platform/UserDefaults.h"
#include "render/FramePipeline.h"
#include "runtime/Task.h"

namespace turnlet {

// Walks through what the program needs from the system, in order, through the same services the
// application uses, and prints one line per check: a mark (PASS, FAIL or SKIP), what was checked
// and, on failure, the reason and what to do about it. A check that needs a failed one is
// skipped and says which. It reads the settings but changes nothing, asks for a permission only
// with --request, and posts no event. With --display it also makes a small virtual display of its
// own (never moving a real one), captures one frame of it and removes it. The report ends with a
// count line, so a cut-off report is told from a whole one.
//
// run() is one task on the main loop; the services outlive it.
class SelfTest {
 public:
  struct Services {
    MainLoop& loop;
    DisplayServices& displays;
    TextServices& text;
    UserDefaults& defaults;
    ObjectRuntime& objects;
    Permissions& permissions;
    SystemVersion& system;
    LibraryLoader& libraries;
    ScreenCapture& capture;
    Gpu& gpu;
    InputEvents& inputEvents;
  };

  SelfTest(Services services, const CommandLine& line, std::ostream& out);

  // True when every check that ran passed: the exit status is 0 then, else 1.
  Task<bool> run();

  // The whole self-test as the program's mode: prints the header (the version), runs the checks
  // on the loop, which runLoop runs until stopLoop is called at the end, and returns the exit
  // status.
  // `interrupt` is set, while the test runs, to what ends it early (for SIGINT and SIGTERM): the
  // test display is removed first.
  static int main(Services services, const CommandLine& line, std::ostream& out, const std::string& header,
                  std::function<void()>& interrupt, const std::function<void()>& runLoop,
                  const std::function<void()>& stopLoop, Log& log);

 private:
  enum class Mark { passed, failed, skipped };

  void report(Mark mark, std::string_view what, const std::string& detail);
  bool pass(std::string_view what, const std::string& detail);
  bool fail(std::string_view what, const std::string& reason, const std::string& remedy);
  void skip(std::string_view what, std::string_view needs);

  void checkSystem();
  bool checkPermission(std::string_view what, bool granted, std::string_view setting);
  bool checkVirtualDisplayClasses();
  void checkBrightness();
  void checkDisplays();
  // What the capture service can capture now, or its error; throws TimeoutError after 10 s.
  using Fetched = std::pair<std::optional<ShareableContent>, std::optional<PlatformError>>;
  Task<Fetched> shareableContent();
  Task<void> checkCapture();
  void checkGpu();
  void checkEventSource();
  // --display: a small virtual display made, shown, captured and removed, each step timed.
  Task<void> checkDisplayRoundTrip(bool classesUsable, bool recording);
  Task<std::shared_ptr<PixelBuffer>> captureOneFrame(DisplayID display);
  Task<void> checkRotation(const std::shared_ptr<PixelBuffer>& frame);
  std::string since(double start) const;

  Services services;
  CommandLine line;
  std::ostream& out;
  int counts[3] = {0, 0, 0};
  std::shared_ptr<FramePipeline> pipeline;  // once the shader compiled
};

}  // namespace turnlet
