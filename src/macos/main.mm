// Turnlet.app's entry point on macOS. With "--list-displays" among the arguments it prints the
// display listing (the same listing as on every platform, over the CoreGraphics display services)
// and ends; otherwise it brings up the application (a Dock icon and the application's run loop)
// with the main loop registered on it. The application shell over the macOS backend (menus,
// status item, control window, the session) replaces the second mode as the backend's services
// arrive.

#import <AppKit/AppKit.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/TurnletApp.h"
#include "macos/AppMainLoop.h"
#include "macos/CoreGraphicsDisplayServices.h"

int main(int argc, const char* _Nonnull argv[_Nonnull]) {
  @autoreleasepool {
    const std::vector<std::string> arguments(argv, argv + argc);
    // The screens (and so the displays' names) need the application's connection to the window
    // server; making the shared application shows nothing by itself.
    NSApplication* application = NSApplication.sharedApplication;
    turnlet::macos::CoreGraphicsDisplayServices displays;
    return turnlet::TurnletApp::main(arguments, displays, std::cout, [application] {
      [application setActivationPolicy:NSApplicationActivationPolicyRegular];
      turnlet::macos::AppMainLoop loop;
      [application run];
    });
  }
}
