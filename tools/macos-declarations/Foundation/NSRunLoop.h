#pragma once

#include <Foundation/NSString.h>

// @doc NSRunLoopMode /documentation/Foundation/RunLoop/Mode
typedef NSString* NSRunLoopMode __attribute__((swift_wrapper(struct)));
