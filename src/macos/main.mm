// Turnlet.app's entry point on macOS. "--help" and "--version" answer before anything starts
// (the version with the SDK and deployment target of the build). With "--list-displays" among the
// arguments it prints the display listing (the same listing as on every platform, over the
// CoreGraphics display services) and ends; "--self-test" runs the self-test over the Mac's
// services. Otherwise it runs the application on the macOS backend, unless a copy already runs:
// that copy is reopened and this one ends.
//
// The application is wired with every Mac service, as the simulator wires its simulated ones:
// the main loop on the application's run loop, the application shell (NSApplication and its
// delegate, menus, the status item, the control window, the About panel, the beep, the
// terminate-later reply), the displays, the defaults, the log, text, the object runtime of the
// virtual display classes, permissions, the system version, workspace notifications, the library
// loader, the serial queues, screen capture, the GPU and its presentation view, the program's
// windows, touch input (events, gesture recognizers, the window list, Accessibility), the login
// item and the global shortcuts. SIGINT
// and SIGTERM reach the delegate's termination signal, which waits for a running operation as
// Quit does, so the iPad is put back first.

#import <AppKit/AppKit.h>
#include <Availability.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/SelfTest.h"
#include "app/TurnletApp.h"
#include "brightness/BrightnessFollower.h"
#include "macos/input/AXAccessibility.h"
#include "macos/input/AppKitGestureRecognizers.h"
#include "macos/windows/AppKitWindowServices.h"
#include "macos/system/AppMainLoop.h"
#include "macos/display/CoreGraphicsDisplayServices.h"
#include "macos/input/CoreGraphicsInputEvents.h"
#include "macos/input/CoreGraphicsWindowList.h"
#include "macos/system/DispatchSerialQueue.h"
#include "macos/display/DlopenLibraryLoader.h"
#include "macos/system/FoundationTextServices.h"
#include "macos/app/MacApplication.h"
#include "macos/app/MacHotKeys.h"
#include "macos/app/MacLoginItem.h"
#include "macos/system/MacSignalSources.h"
#include "macos/gpu/MetalGpu.h"
#include "macos/display/ObjCObjectRuntime.h"
#include "macos/app/PrivacyPermissions.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/system/ProcessSystemVersion.h"
#include "macos/capture/ScreenCaptureKitCapture.h"
#include "macos/system/SharedWorkspaceNotifications.h"
#include "macos/system/StandardUserDefaults.h"
#include "macos/system/UnifiedLog.h"
#include "touch/TouchInput.h"

namespace {

using namespace turnlet;

void runApplication() {
  macos::AppMainLoop loop;
  macos::MacApplication application;
  macos::DispatchQueueFactory queues;
  macos::UnifiedLog log;
  macos::StandardUserDefaults defaults;
  macos::FoundationTextServices text;
  macos::CoreGraphicsDisplayServices displays;
  macos::ObjCObjectRuntime objects;
  macos::PrivacyPermissions permissions;
  macos::ProcessSystemVersion system;
  macos::SharedWorkspaceNotifications workspace;
  macos::DlopenLibraryLoader libraries;
  macos::MetalGpu gpu;
  macos::AppKitWindowServices windows(loop);
  macos::ScreenCaptureKitCapture capture;
  macos::CoreGraphicsInputEvents inputEvents;
  macos::CoreGraphicsWindowList windowList;
  macos::AXAccessibility accessibility;
  macos::AppKitGestureRecognizers gestures;
  macos::MacLoginItem loginItem;
  macos::MacHotKeys hotKeys;
  const std::shared_ptr<AppDelegate> delegate = AppDelegate::make(
      {application, defaults,
       RotationSession::Services{loop, displays, text, objects, gpu, windows, capture, workspace, permissions, system, log,
                                 TouchInput::factory({loop, queues, displays, permissions, system, inputEvents, windowList,
                                                      accessibility, gestures, libraries, log})},
       [&loop, &displays, &text, &windows, &libraries] {
         return BrightnessFollower::make(loop, displays, text, windows, libraries);
       },
       loginItem, hotKeys});
  // The signal sources post to the main loop, so the delegate is reached there only.
  macos::MacSignalSources signals(loop, [&delegate](int) { delegate->terminationSignal(); });
  TurnletApp::runApplication(application, delegate);
}

// The SDK the build compiled against and the oldest macOS it runs on, as the compiler knows them
// (numbers such as 150000 for macOS 15.0).
std::string buildDetails();

// The self-test over the same Mac services as the application, on the main run loop without
// NSApplication's event loop. SIGINT and SIGTERM end it after its display is removed.
int runSelfTest(const CommandLine& line) {
  macos::AppMainLoop loop;
  macos::UnifiedLog log;
  macos::StandardUserDefaults defaults;
  macos::FoundationTextServices text;
  macos::CoreGraphicsDisplayServices displays;
  macos::ObjCObjectRuntime objects;
  macos::PrivacyPermissions permissions;
  macos::ProcessSystemVersion system;
  macos::DlopenLibraryLoader libraries;
  macos::ScreenCaptureKitCapture capture;
  macos::MetalGpu gpu;
  macos::CoreGraphicsInputEvents inputEvents;
  std::function<void()> interrupt;
  // The signal sources post to the main loop, where the test runs.
  macos::MacSignalSources signals(loop, [&interrupt](int) {
    if (interrupt) interrupt();
  });
  return SelfTest::main({loop, displays, text, defaults, objects, permissions, system, libraries, capture, gpu, inputEvents},
                        line, std::cout, TurnletApp::version(buildDetails()), interrupt, [&loop] { loop.run(); },
                        [&loop] { loop.stop(); }, log);
}

// One running copy: when Turnlet already runs (the same bundle identifier in another process), a
// second launch sends it a reopen, as a click on its Dock icon does, and ends. Whether one did.
bool reopenRunningCopy() {
  NSString* identifier = NSBundle.mainBundle.bundleIdentifier;
  if (identifier == nil) return false;
  NSArray<NSRunningApplication*>* running = [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier];
  for (NSUInteger i = 0; i < running.count; ++i) {
    NSRunningApplication* copy = [running objectAtIndex:i];
    NSURL* bundle = copy.bundleURL;
    if (copy.processIdentifier == NSProcessInfo.processInfo.processIdentifier || bundle == nil) continue;
    // Opening a running application sends it the reopen event; the launch waits for the answer
    // (at most two seconds) so that the request is not lost with this process.
    dispatch_semaphore_t answered = dispatch_semaphore_create(0);
    if (answered == nil) return false;
    [NSWorkspace.sharedWorkspace openApplicationAtURL:bundle
                                        configuration:[NSWorkspaceOpenConfiguration configuration]
                                    completionHandler:^(NSRunningApplication* _Nullable, NSError* _Nullable) {
                                      macos::ranWithoutException(macos::EntryThread::background,
                                                                 [answered] { dispatch_semaphore_signal(answered); });
                                    }];
    (void)dispatch_semaphore_wait(answered, dispatch_time(DISPATCH_TIME_NOW, 2'000'000'000));
    return true;
  }
  return false;
}

std::string buildDetails() {
  const auto version = [](long number) {
    return std::to_string(number / 10000) + "." + std::to_string(number / 100 % 100);
  };
  return "built with the macOS " + version(__MAC_OS_X_VERSION_MAX_ALLOWED) + " SDK for macOS " +
         version(__MAC_OS_X_VERSION_MIN_REQUIRED) + " or later\n";
}

}  // namespace

int main(int argc, const char* _Nonnull argv[_Nonnull]) {
  @autoreleasepool {
    const turnlet::CommandLine line = turnlet::CommandLine::parse(std::vector<std::string>(argv, argv + argc));
    if (turnlet::TurnletApp::answerAtOnce(line, std::cout, buildDetails())) return 0;
    // The screens (and so the displays' names) need the application's connection to the window
    // server; making the shared application shows nothing by itself.
    (void)NSApplication.sharedApplication;
    if (line.mode == turnlet::CommandLine::Mode::selfTest) return runSelfTest(line);
    if (line.mode == turnlet::CommandLine::Mode::application && reopenRunningCopy()) return 0;
    turnlet::macos::CoreGraphicsDisplayServices displays;
    return turnlet::TurnletApp::main(line, displays, std::cout, runApplication);
  }
}
