#pragma once

#include <Foundation/NSString.h>

// @doc NSRunLoopMode /documentation/Foundation/RunLoop/Mode macOS 10.0
typedef NSString* NSRunLoopMode __attribute__((swift_wrapper(struct)));
