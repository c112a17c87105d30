// Turnlet.app's entry point on macOS. With "--list-displays" among the arguments it prints the
// display listing (the same listing as on every platform, over the CoreGraphics display services)
// and ends; otherwise it runs the application on the macOS backend.
//
// The application is wired with the Mac services that exist so far: the main loop on the
// application's run loop, the application shell (NSApplication and its delegate, menus, the
// status item, the About panel, the beep, the terminate-later reply), SIGINT and SIGTERM through
// dispatch signal sources into the same terminate request as Quit, the displays, the defaults,
// the log, text, the object runtime of the virtual display classes, permissions, the system
// version, workspace notifications, the library loader and the serial queues.
//
// STILL MISSING, wired by the lead when they land (no stand-ins here):
//   - the backend's next part: screen capture (ScreenCapture), the GPU and its presentation view
//     (Gpu), the program's windows (WindowServices), and the control window (AppWindow);
//   - the part after it: touch input (InputEvents, Gestures), the window list (WindowList) and
//     Accessibility.
// The rotation session and the brightness follower need all of them, so until then there is no
// AppDelegate: the application runs with its Dock icon and ends through the Dock's Quit, SIGINT or
// SIGTERM. The AppDelegate::make call below shows where they go, as in the simulator's wiring.

#import <AppKit/AppKit.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/TurnletApp.h"
#include "macos/AppMainLoop.h"
#include "macos/CoreGraphicsDisplayServices.h"
#include "macos/DispatchSerialQueue.h"
#include "macos/DlopenLibraryLoader.h"
#include "macos/FoundationTextServices.h"
#include "macos/MacApplication.h"
#include "macos/MacSignalSources.h"
#include "macos/ObjCObjectRuntime.h"
#include "macos/PrivacyPermissions.h"
#include "macos/ProcessSystemVersion.h"
#include "macos/SharedWorkspaceNotifications.h"
#include "macos/StandardUserDefaults.h"
#include "macos/UnifiedLog.h"

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
  // Once the services above are joined by the missing ones:
  //   auto delegate = AppDelegate::make({application, defaults,
  //       RotationSession::Services{loop, displays, text, objects, gpu, windows, capture, workspace,
  //                                 permissions, system, log, TouchInput::factory({loop, queues,
  //                                 displays, permissions, system, inputEvents, windowList,
  //                                 accessibility, gestures, libraries, log})},
  //       [&] { return BrightnessFollower::make(loop, displays, text, windows, libraries); }});
  //   signals go to delegate->terminationSignal(), which waits for a running operation;
  //   TurnletApp::runApplication(application, delegate);
  (void)queues, (void)log, (void)defaults, (void)text, (void)displays, (void)objects, (void)permissions,
      (void)system, (void)workspace, (void)libraries;
  macos::MacSignalSources signals(loop, [&application](int) { application.terminate(); });
  application.setActivationPolicy(ActivationPolicy::regular);
  application.run();
}

}  // namespace

int main(int argc, const char* _Nonnull argv[_Nonnull]) {
  @autoreleasepool {
    const std::vector<std::string> arguments(argv, argv + argc);
    // The screens (and so the displays' names) need the application's connection to the window
    // server; making the shared application shows nothing by itself.
    (void)NSApplication.sharedApplication;
    turnlet::macos::CoreGraphicsDisplayServices displays;
    return turnlet::TurnletApp::main(arguments, displays, std::cout, runApplication);
  }
}
