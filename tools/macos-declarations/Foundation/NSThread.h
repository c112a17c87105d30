#pragma once

#include <Foundation/NSObjCRuntime.h>

// @doc NSThread /documentation/Foundation/Thread
@interface NSThread : NSObject
// @doc isMainThread /documentation/Foundation/Thread/isMainThread-swift.type.property
@property(class, readonly) BOOL isMainThread;
@end
