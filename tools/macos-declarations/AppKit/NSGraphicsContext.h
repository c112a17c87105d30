#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSGraphicsContext /documentation/AppKit/NSGraphicsContext
@interface NSGraphicsContext : NSObject
// @doc currentContext /documentation/AppKit/NSGraphicsContext/current
@property(class, strong, nullable) NSGraphicsContext* currentContext;
// @doc saveGraphicsState /documentation/AppKit/NSGraphicsContext/saveGraphicsState()
- (void)saveGraphicsState;
// @doc restoreGraphicsState /documentation/AppKit/NSGraphicsContext/restoreGraphicsState()
- (void)restoreGraphicsState;
@end

#pragma clang assume_nonnull end
