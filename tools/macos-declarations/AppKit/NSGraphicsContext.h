#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSGraphicsContext /documentation/AppKit/NSGraphicsContext macOS 10.0
@interface NSGraphicsContext : NSObject
// @doc currentContext /documentation/AppKit/NSGraphicsContext/current macOS 10.0
@property(class, strong, nullable) NSGraphicsContext* currentContext;
// @doc saveGraphicsState /documentation/AppKit/NSGraphicsContext/saveGraphicsState() macOS 10.0
- (void)saveGraphicsState;
// @doc restoreGraphicsState /documentation/AppKit/NSGraphicsContext/restoreGraphicsState() macOS 10.0
- (void)restoreGraphicsState;
@end

#pragma clang assume_nonnull end
