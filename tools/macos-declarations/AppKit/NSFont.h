#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSFont /documentation/AppKit/NSFont
@interface NSFont : NSObject
// @doc systemFontOfSize /documentation/AppKit/NSFont/systemFont(ofSize:)
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize;
// @doc systemFontSize /documentation/AppKit/NSFont/systemFontSize
@property(class, readonly) CGFloat systemFontSize;
@end

#pragma clang assume_nonnull end
