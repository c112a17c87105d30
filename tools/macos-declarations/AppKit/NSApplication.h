#pragma once

#include <Foundation/Foundation.h>

// @doc NSModalPanelRunLoopMode /documentation/AppKit/NSModalPanelRunLoopMode macOS 10.0
extern "C" NSRunLoopMode _Nonnull NSModalPanelRunLoopMode;
// @doc NSEventTrackingRunLoopMode /documentation/AppKit/NSEventTrackingRunLoopMode macOS 10.0
extern "C" NSRunLoopMode _Nonnull NSEventTrackingRunLoopMode;

#pragma clang assume_nonnull begin

// @doc NSApplicationDidChangeScreenParametersNotification /documentation/AppKit/NSApplication/didChangeScreenParametersNotification macOS 10.0
extern "C" NSNotificationName const NSApplicationDidChangeScreenParametersNotification;

// @doc NSApplicationActivationPolicy /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum macOS 10.6
enum NSApplicationActivationPolicy : NSInteger {
  // @doc NSApplicationActivationPolicyRegular /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/regular macOS 10.6
  NSApplicationActivationPolicyRegular = 0,
  // @doc NSApplicationActivationPolicyAccessory /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/accessory macOS 10.6
  NSApplicationActivationPolicyAccessory = 1,
  // @doc NSApplicationActivationPolicyProhibited /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/prohibited macOS 10.6
  NSApplicationActivationPolicyProhibited = 2,
};

// @doc NSApplicationTerminateReply /documentation/AppKit/NSApplication/TerminateReply macOS 10.0
enum NSApplicationTerminateReply : NSUInteger {
  // @doc NSTerminateCancel /documentation/AppKit/NSApplication/TerminateReply/terminateCancel macOS 10.0
  NSTerminateCancel = 0,
  // @doc NSTerminateNow /documentation/AppKit/NSApplication/TerminateReply/terminateNow macOS 10.0
  NSTerminateNow = 1,
  // @doc NSTerminateLater /documentation/AppKit/NSApplication/TerminateReply/terminateLater macOS 10.0
  NSTerminateLater = 2,
};

// @doc NSAboutPanelOptionKey /documentation/AppKit/NSApplication/AboutPanelOptionKey macOS 10.13
typedef NSString* NSAboutPanelOptionKey __attribute__((swift_wrapper(struct)));
// @doc NSAboutPanelOptionApplicationName /documentation/AppKit/NSApplication/AboutPanelOptionKey/applicationName macOS 10.13
extern "C" NSAboutPanelOptionKey const NSAboutPanelOptionApplicationName;
// @doc NSAboutPanelOptionCredits /documentation/AppKit/NSApplication/AboutPanelOptionKey/credits macOS 10.13
extern "C" NSAboutPanelOptionKey const NSAboutPanelOptionCredits;

@class NSApplication;

// @doc NSApplicationDelegate /documentation/AppKit/NSApplicationDelegate macOS 10.0
@protocol NSApplicationDelegate <NSObject>
@optional
// @doc applicationShouldTerminate /documentation/AppKit/NSApplicationDelegate/applicationShouldTerminate(_:) macOS 10.0
- (NSApplicationTerminateReply)applicationShouldTerminate:(NSApplication*)sender;
// @doc applicationShouldTerminateAfterLastWindowClosed /documentation/AppKit/NSApplicationDelegate/applicationShouldTerminateAfterLastWindowClosed(_:) macOS 10.0
- (BOOL)applicationShouldTerminateAfterLastWindowClosed:(NSApplication*)sender;
// @doc applicationDidFinishLaunching /documentation/AppKit/NSApplicationDelegate/applicationDidFinishLaunching(_:) macOS 10.0
- (void)applicationDidFinishLaunching:(NSNotification*)notification;
// @doc applicationShouldHandleReopen /documentation/AppKit/NSApplicationDelegate/applicationShouldHandleReopen(_:hasVisibleWindows:) macOS 10.0
- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag;
// @doc applicationDidBecomeActive /documentation/AppKit/NSApplicationDelegate/applicationDidBecomeActive(_:) macOS 10.0
- (void)applicationDidBecomeActive:(NSNotification*)notification;
@end

@class NSEvent;
@class NSMenu;

// @doc NSApplication /documentation/AppKit/NSApplication macOS 10.0
@interface NSApplication : NSObject
// @doc sharedApplication /documentation/AppKit/NSApplication/shared macOS 10.0
@property(class, readonly, strong) NSApplication* sharedApplication;
// @doc setActivationPolicy /documentation/AppKit/NSApplication/setActivationPolicy(_:) macOS 10.6
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy;
// @doc run /documentation/AppKit/NSApplication/run() macOS 10.0
- (void)run;
// @doc delegate /documentation/AppKit/NSApplication/delegate macOS 10.0
@property(weak, nullable) id<NSApplicationDelegate> delegate;
// @doc terminate /documentation/AppKit/NSApplication/terminate(_:) macOS 10.0
- (void)terminate:(nullable id)sender;
// @doc replyToApplicationShouldTerminate /documentation/AppKit/NSApplication/reply(toApplicationShouldTerminate:) macOS 10.0
- (void)replyToApplicationShouldTerminate:(BOOL)shouldTerminate;
// @doc activate /documentation/AppKit/NSApplication/activate() macOS 14.0
- (void)activate;
// @doc currentEvent /documentation/AppKit/NSApplication/currentEvent macOS 10.0
@property(readonly, nullable, strong) NSEvent* currentEvent;
// @doc mainMenu /documentation/AppKit/NSApplication/mainMenu macOS 10.0
@property(strong, nullable) NSMenu* mainMenu;
// @doc orderFrontStandardAboutPanelWithOptions /documentation/AppKit/NSApplication/orderFrontStandardAboutPanel(options:) macOS 10.0
- (void)orderFrontStandardAboutPanelWithOptions:(NSDictionary<NSAboutPanelOptionKey, id>*)optionsDictionary;
@end

#pragma clang assume_nonnull end
