// Turnlet.app's entry point on macOS. For now it brings up the application (a Dock icon and the
// application's run loop) with the main loop registered on it; the application shell over the
// macOS backend (menus, status item, control window, the session) replaces this as the backend's
// services arrive.

#import <AppKit/AppKit.h>

#include "macos/AppMainLoop.h"

int main() {
  @autoreleasepool {
    NSApplication* application = NSApplication.sharedApplication;
    [application setActivationPolicy:NSApplicationActivationPolicyRegular];
    turnlet::macos::AppMainLoop loop;
    [application run];
  }
  return 0;
}
