#pragma once

#include <Foundation/Foundation.h>

// @doc NSResponder /documentation/AppKit/NSResponder macOS 10.0
@interface NSResponder : NSObject
@end
