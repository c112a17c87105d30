#pragma once

#include "platform/Application.h"

namespace turnlet::macos {

// The application's side of AppKit's terminate protocol. AppKit asks the delegate whether to
// terminate (applicationShouldTerminate:); a `later` answer makes AppKit run its loop in the
// modal-panel mode until replyToApplicationShouldTerminate: comes, exactly once. The Quit command,
// SIGINT and SIGTERM, the Dock's Quit and logging out all arrive as the same request.
//
// While a reply is pending the delegate is not asked again: a further request is refused at once
// (the pending one will end the application), and only the first reply to the pending request
// reaches AppKit; a reply with nothing pending is dropped. Main loop only.
class TerminateSequence final {
 public:
  // Whether a request may go to AppKit at all (the application's own terminate()): not while a
  // reply is pending and not once the application has agreed to end.
  bool accepts() const { return state == State::running; }

  // AppKit asks; `delegate` may be null (no delegate: terminate now). Returns AppKit's answer.
  TerminateReply request(ApplicationDelegate* delegate);

  // The delegate's reply to a `later` answer. Returns whether to hand it to AppKit.
  bool reply(bool terminate);

  bool pending() const { return state == State::pending; }
  // The application agreed to end: it answered `now` or replied true.
  bool ending() const { return state == State::ending; }

 private:
  enum class State { running, pending, ending };
  State state = State::running;
};

}  // namespace turnlet::macos
