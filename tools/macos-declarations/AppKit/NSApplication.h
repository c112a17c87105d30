#pragma once

#include <Foundation/Foundation.h>

// @doc NSModalPanelRunLoopMode /documentation/AppKit/NSModalPanelRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSModalPanelRunLoopMode;
// @doc NSEventTrackingRunLoopMode /documentation/AppKit/NSEventTrackingRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSEventTrackingRunLoopMode;

#pragma clang assume_nonnull begin

// @doc NSApplicationDidChangeScreenParametersNotification /documentation/AppKit/NSApplication/didChangeScreenParametersNotification
extern "C" NSNotificationName const NSApplicationDidChangeScreenParametersNotification;

// @doc NSApplicationActivationPolicy /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum
enum NSApplicationActivationPolicy : NSInteger {
  // @doc NSApplicationActivationPolicyRegular /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/regular
  NSApplicationActivationPolicyRegular = 0,
  // @doc NSApplicationActivationPolicyAccessory /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/accessory
  NSApplicationActivationPolicyAccessory = 1,
  // @doc NSApplicationActivationPolicyProhibited /documentation/AppKit/NSApplication/ActivationPolicy-swift.enum/prohibited
  NSApplicationActivationPolicyProhibited = 2,
};

// @doc NSApplicationTerminateReply /documentation/AppKit/NSApplication/TerminateReply
enum NSApplicationTerminateReply : NSUInteger {
  // @doc NSTerminateCancel /documentation/AppKit/NSApplication/TerminateReply/terminateCancel
  NSTerminateCancel = 0,
  // @doc NSTerminateNow /documentation/AppKit/NSApplication/TerminateReply/terminateNow
  NSTerminateNow = 1,
  // @doc NSTerminateLater /documentation/AppKit/NSApplication/TerminateReply/terminateLater
  NSTerminateLater = 2,
};

// @doc NSAboutPanelOptionKey /documentation/AppKit/NSApplication/AboutPanelOptionKey
typedef NSString* NSAboutPanelOptionKey __attribute__((swift_wrapper(struct)));
// @doc NSAboutPanelOptionApplicationName /documentation/AppKit/NSApplication/AboutPanelOptionKey/applicationName
extern "C" NSAboutPanelOptionKey const NSAboutPanelOptionApplicationName;
// @doc NSAboutPanelOptionCredits /documentation/AppKit/NSApplication/AboutPanelOptionKey/credits
extern "C" NSAboutPanelOptionKey const NSAboutPanelOptionCredits;

@class NSApplication;

// @doc NSApplicationDelegate /documentation/AppKit/NSApplicationDelegate
@protocol NSApplicationDelegate <NSObject>
@optional
// @doc applicationShouldTerminate /documentation/AppKit/NSApplicationDelegate/applicationShouldTerminate(_:)
- (NSApplicationTerminateReply)applicationShouldTerminate:(NSApplication*)sender;
// @doc applicationShouldTerminateAfterLastWindowClosed /documentation/AppKit/NSApplicationDelegate/applicationShouldTerminateAfterLastWindowClosed(_:)
- (BOOL)applicationShouldTerminateAfterLastWindowClosed:(NSApplication*)sender;
// @doc applicationDidFinishLaunching /documentation/AppKit/NSApplicationDelegate/applicationDidFinishLaunching(_:)
- (void)applicationDidFinishLaunching:(NSNotification*)notification;
// @doc applicationShouldHandleReopen /documentation/AppKit/NSApplicationDelegate/applicationShouldHandleReopen(_:hasVisibleWindows:)
- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag;
// @doc applicationDidBecomeActive /documentation/AppKit/NSApplicationDelegate/applicationDidBecomeActive(_:)
- (void)applicationDidBecomeActive:(NSNotification*)notification;
@end

@class NSMenu;

// @doc NSApplication /documentation/AppKit/NSApplication
@interface NSApplication : NSObject
// @doc sharedApplication /documentation/AppKit/NSApplication/shared
@property(class, readonly, strong) NSApplication* sharedApplication;
// @doc setActivationPolicy /documentation/AppKit/NSApplication/setActivationPolicy(_:)
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy;
// @doc run /documentation/AppKit/NSApplication/run()
- (void)run;
// @doc delegate /documentation/AppKit/NSApplication/delegate
@property(weak, nullable) id<NSApplicationDelegate> delegate;
// @doc terminate /documentation/AppKit/NSApplication/terminate(_:)
- (void)terminate:(nullable id)sender;
// @doc replyToApplicationShouldTerminate /documentation/AppKit/NSApplication/reply(toApplicationShouldTerminate:)
- (void)replyToApplicationShouldTerminate:(BOOL)shouldTerminate;
// @doc activate /documentation/AppKit/NSApplication/activate()
- (void)activate;
// @doc mainMenu /documentation/AppKit/NSApplication/mainMenu
@property(strong, nullable) NSMenu* mainMenu;
// @doc orderFrontStandardAboutPanelWithOptions /documentation/AppKit/NSApplication/orderFrontStandardAboutPanel(options:)
- (void)orderFrontStandardAboutPanelWithOptions:(NSDictionary<NSAboutPanelOptionKey, id>*)optionsDictionary;
@end

#pragma clang assume_nonnull end
