#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>

#include "macos/app/TerminateSequence.h"
#include "platform/Application.h"

@class TurnletApplicationDelegate;

namespace turnlet::macos {

// NSApplication and its delegate. The delegate object hands AppKit's questions to the
// ApplicationDelegate (held weakly): launch finished, the application became active, reopen from
// the Dock, whether to terminate after the last window closed, and whether to terminate, through
// TerminateSequence, so that a `later` answer gets exactly one replyToApplicationShouldTerminate:.
// While AppKit waits for it, it runs its loop in the modal-panel mode, where the main loop's posts
// and timers run too (AppMainLoop), so the shutdown that ends in the reply goes on.
//
// One per process, made on the main thread after the main loop; main loop only.
class MacApplication final : public Application {
 public:
  MacApplication();
  ~MacApplication() override;
  MacApplication(const MacApplication&) = delete;
  MacApplication& operator=(const MacApplication&) = delete;

  void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) override;
  void setActivationPolicy(ActivationPolicy policy) override;
  // [NSApp run]: finishes launching (the delegate's didFinishLaunching) and runs until the
  // application terminates, which ends the process.
  void run() override;
  void terminate() override;
  void replyToTerminate(bool terminate) override;
  // NSApplication's activate, the call documented for macOS 14 and later (the deployment target);
  // the older activateIgnoringOtherApps: is deprecated and no longer steals focus.
  void activateIgnoringOtherApps() override;
  void beep() override;
  std::shared_ptr<Menu> makeMenu(const std::string& title) override;
  void setMainMenu(std::shared_ptr<Menu> menu) override;
  // The standard About panel: the name given, the version and build from Info.plist, and a credit
  // line in the system font that links to `linkURL`.
  void showAboutPanel(const std::string& name, const std::string& linkText, const std::string& linkURL) override;
  std::shared_ptr<StatusItem> makeSquareStatusItem() override;
  std::shared_ptr<AppWindow> makeWindow(const std::string& title, Size contentSize) override;

  // For the delegate object: AppKit's questions.
  void didFinishLaunching();
  void didBecomeActive();
  bool shouldHandleReopen(bool hasVisibleWindows);
  bool shouldTerminateAfterLastWindowClosed();
  TerminateReply shouldTerminate();

 private:
  std::weak_ptr<ApplicationDelegate> delegate;
  TurnletApplicationDelegate* _Nonnull platformDelegate;
  TerminateSequence sequence;
  std::shared_ptr<Menu> mainMenu;
};

}  // namespace turnlet::macos
