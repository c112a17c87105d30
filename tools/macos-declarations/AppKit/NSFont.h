#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSFontWeight /documentation/AppKit/NSFont/Weight
typedef CGFloat NSFontWeight;
// @doc NSFontWeightRegular /documentation/AppKit/NSFont/Weight/regular
extern "C" const NSFontWeight NSFontWeightRegular;
// @doc NSFontWeightMedium /documentation/AppKit/NSFont/Weight/medium
extern "C" const NSFontWeight NSFontWeightMedium;

// @doc NSFont /documentation/AppKit/NSFont
@interface NSFont : NSObject
// @doc systemFontOfSize /documentation/AppKit/NSFont/systemFont(ofSize:)
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize;
// @doc systemFontOfSize /documentation/AppKit/NSFont/systemFont(ofSize:weight:)
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
// @doc monospacedDigitSystemFontOfSize /documentation/AppKit/NSFont/monospacedDigitSystemFont(ofSize:weight:)
+ (NSFont*)monospacedDigitSystemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
// @doc systemFontSize /documentation/AppKit/NSFont/systemFontSize
@property(class, readonly) CGFloat systemFontSize;
@end

#pragma clang assume_nonnull end
