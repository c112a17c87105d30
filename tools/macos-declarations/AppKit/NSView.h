#pragma once

#include <AppKit/NSResponder.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSView /documentation/AppKit/NSView
@interface NSView : NSResponder
// @doc toolTip /documentation/AppKit/NSView/toolTip
@property(copy, nullable) NSString* toolTip;
@end

#pragma clang assume_nonnull end
