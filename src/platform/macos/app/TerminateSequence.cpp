#include "macos/app/TerminateSequence.h"

namespace turnlet::macos {

TerminateReply TerminateSequence::request(ApplicationDelegate* delegate) {
  // A request inside a pending one (a second Quit, a signal, a logout) must not ask the delegate
  // for a second reply: the pending one answers for both.
  if (state != State::running) return TerminateReply::cancel;
  const TerminateReply answer = delegate ? delegate->shouldTerminate() : TerminateReply::now;
  if (answer == TerminateReply::now) state = State::ending;
  if (answer == TerminateReply::later) state = State::pending;
  return answer;
}

bool TerminateSequence::reply(bool terminate) {
  if (state != State::pending) return false;
  state = terminate ? State::ending : State::running;
  return true;
}

}  // namespace turnlet::macos
