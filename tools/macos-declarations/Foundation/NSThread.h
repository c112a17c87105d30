#pragma once

#include <Foundation/NSObjCRuntime.h>

// @doc NSThread /documentation/Foundation/Thread macOS 10.0
@interface NSThread : NSObject
// @doc isMainThread /documentation/Foundation/Thread/isMainThread-swift.type.property macOS 10.5
@property(class, readonly) BOOL isMainThread;
@end
