#import "macos/app/MacApplication.h"

#include "macos/windows/MacAppWindow.h"
#include "macos/app/MacMenu.h"
#include "macos/app/MacStatusItem.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/bridge/TextBridge.h"

using turnlet::macos::EntryThread;
using turnlet::macos::ranWithoutException;

// NSApplication's delegate. NSApplication holds its delegate weakly; MacApplication keeps this
// object, and the object reaches MacApplication by a plain pointer that MacApplication clears
// before it goes.
__attribute__((objc_subclassing_restricted))
@interface TurnletApplicationDelegate : NSObject <NSApplicationDelegate>
@property(nonatomic, assign) turnlet::macos::MacApplication* _Nullable owner;
@end

@implementation TurnletApplicationDelegate

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
  (void)notification;
  ranWithoutException(EntryThread::main, [&] {
    if (auto* owner = self.owner) owner->didFinishLaunching();
  });
}

- (void)applicationDidBecomeActive:(NSNotification*)notification {
  (void)notification;
  ranWithoutException(EntryThread::main, [&] {
    if (auto* owner = self.owner) owner->didBecomeActive();
  });
}

- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag {
  (void)sender;
  // NO: the delegate handled the click; YES lets AppKit do its default (nothing for Turnlet).
  BOOL handledHere = false;
  ranWithoutException(EntryThread::main, [&] {
    auto* owner = self.owner;
    handledHere = owner && owner->shouldHandleReopen(flag);
  });
  return !handledHere;
}

- (BOOL)applicationShouldTerminateAfterLastWindowClosed:(NSApplication*)sender {
  (void)sender;
  BOOL terminate = false;
  ranWithoutException(EntryThread::main, [&] {
    auto* owner = self.owner;
    terminate = owner && owner->shouldTerminateAfterLastWindowClosed();
  });
  return terminate;
}

- (NSApplicationTerminateReply)applicationShouldTerminate:(NSApplication*)sender {
  (void)sender;
  // A delegate that failed to answer quits at once, as with no delegate: cancelling could leave
  // the program impossible to quit.
  turnlet::TerminateReply reply = turnlet::TerminateReply::now;
  ranWithoutException(EntryThread::main, [&] {
    if (auto* owner = self.owner) reply = owner->shouldTerminate();
  });
  switch (reply) {
    case turnlet::TerminateReply::now: return NSTerminateNow;
    case turnlet::TerminateReply::cancel: return NSTerminateCancel;
    case turnlet::TerminateReply::later: return NSTerminateLater;
  }
  return NSTerminateNow;
}

@end

namespace turnlet::macos {

MacApplication::MacApplication() : platformDelegate([[TurnletApplicationDelegate alloc] init]) {
  platformDelegate.owner = this;
  NSApplication.sharedApplication.delegate = platformDelegate;
}

MacApplication::~MacApplication() {
  platformDelegate.owner = nullptr;
  NSApplication.sharedApplication.delegate = nil;
}

void MacApplication::setDelegate(std::weak_ptr<ApplicationDelegate> value) { delegate = std::move(value); }

void MacApplication::setActivationPolicy(ActivationPolicy policy) {
  NSApplicationActivationPolicy platform = NSApplicationActivationPolicyRegular;
  if (policy == ActivationPolicy::accessory) platform = NSApplicationActivationPolicyAccessory;
  if (policy == ActivationPolicy::prohibited) platform = NSApplicationActivationPolicyProhibited;
  [NSApplication.sharedApplication setActivationPolicy:platform];
}

void MacApplication::run() { [NSApplication.sharedApplication run]; }

void MacApplication::terminate() {
  // A request while a reply is pending is answered by that reply.
  if (sequence.accepts()) [NSApplication.sharedApplication terminate:nil];
}

void MacApplication::replyToTerminate(bool terminate) {
  if (sequence.reply(terminate)) [NSApplication.sharedApplication replyToApplicationShouldTerminate:terminate];
}

void MacApplication::activateIgnoringOtherApps() { [NSApplication.sharedApplication activate]; }

void MacApplication::beep() { NSBeep(); }

std::shared_ptr<Menu> MacApplication::makeMenu(const std::string& title) { return std::make_shared<MacMenu>(title); }

void MacApplication::setMainMenu(std::shared_ptr<Menu> menu) {
  auto mac = std::dynamic_pointer_cast<MacMenu>(menu);
  NSApplication.sharedApplication.mainMenu = mac ? mac->platformMenu() : nil;
  mainMenu = std::move(mac);
}

void MacApplication::showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) {
  NSMutableDictionary<NSAttributedStringKey, id>* attributes = [NSMutableDictionary dictionaryWithCapacity:2];
  [attributes setObject:[NSFont systemFontOfSize:NSFont.systemFontSize] forKey:NSFontAttributeName];
  if (NSURL* url = [NSURL URLWithString:makeNSString(linkURL)]) [attributes setObject:url forKey:NSLinkAttributeName];
  NSAttributedString* credits = [[NSAttributedString alloc] initWithString:makeNSString(linkText) attributes:attributes];
  NSMutableDictionary<NSAboutPanelOptionKey, id>* options = [NSMutableDictionary dictionaryWithCapacity:2];
  [options setObject:makeNSString(name) forKey:NSAboutPanelOptionApplicationName];
  [options setObject:credits forKey:NSAboutPanelOptionCredits];
  [NSApplication.sharedApplication orderFrontStandardAboutPanelWithOptions:options];
  activateIgnoringOtherApps();
}

std::shared_ptr<StatusItem> MacApplication::makeSquareStatusItem() { return std::make_shared<MacStatusItem>(); }

std::shared_ptr<AppWindow> MacApplication::makeWindow(const std::string& title, Size contentSize) {
  return std::make_shared<MacAppWindow>(title, contentSize);
}

void MacApplication::didFinishLaunching() {
  if (auto d = delegate.lock()) d->didFinishLaunching();
}

void MacApplication::didBecomeActive() {
  if (auto d = delegate.lock()) d->didBecomeActive();
}

bool MacApplication::shouldHandleReopen(bool hasVisibleWindows) {
  auto d = delegate.lock();
  return d && d->shouldHandleReopen(hasVisibleWindows);
}

bool MacApplication::shouldTerminateAfterLastWindowClosed() {
  auto d = delegate.lock();
  return d && d->shouldTerminateAfterLastWindowClosed();
}

TerminateReply MacApplication::shouldTerminate() {
  auto d = delegate.lock();
  return sequence.request(d.get());
}

}  // namespace turnlet::macos
