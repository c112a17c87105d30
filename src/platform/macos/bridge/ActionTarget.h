#pragma once

#import <Foundation/Foundation.h>

#include <functional>

// The target of a control, menu item or gesture recognizer, or an observer, that hands the call to
// C++. The platform holds targets weakly, so the C++ wrapper keeps this object; the function it
// calls holds its C++ owner weakly (WeakBridge), so no cycle forms. The function may clear the
// target, or drop the wrapper that keeps it, from inside the call.
__attribute__((objc_subclassing_restricted))
@interface TurnletActionTarget : NSObject
- (instancetype _Nonnull)initWithAction:(std::function<void(id _Nullable sender)>)action;
// The selector to give the platform.
- (void)perform:(id _Nullable)sender;
// Drops the function; later calls do nothing.
- (void)invalidate;
@end
