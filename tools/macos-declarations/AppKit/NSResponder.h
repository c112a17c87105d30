#pragma once

#include <Foundation/Foundation.h>

// @doc NSResponder /documentation/AppKit/NSResponder
@interface NSResponder : NSObject
@end
