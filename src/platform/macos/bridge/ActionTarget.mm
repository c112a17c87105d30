#import "macos/bridge/ActionTarget.h"

#include "macos/bridge/CallbackSlot.h"
#include "macos/bridge/KeepAlive.h"
#include "macos/bridge/PlatformEntry.h"

@implementation TurnletActionTarget {
  turnlet::macos::CallbackSlot<id> _action;
}

- (instancetype)initWithAction:(std::function<void(id _Nullable sender)>)action {
  self = [super init];
  if (self) _action.set(std::move(action));
  return self;
}

- (void)perform:(id _Nullable)sender {
  turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::main, [&] {
    turnlet::macos::KeepAlive keep(self);  // the action may drop the last owner of this target
    _action(sender);
  });
}

- (void)invalidate {
  _action.clear();
}

@end
