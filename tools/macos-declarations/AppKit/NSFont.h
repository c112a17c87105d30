#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSFontWeight /documentation/AppKit/NSFont/Weight macOS 10.11
typedef CGFloat NSFontWeight;
// @doc NSFontWeightRegular /documentation/AppKit/NSFont/Weight/regular macOS 10.11
extern "C" const NSFontWeight NSFontWeightRegular;
// @doc NSFontWeightMedium /documentation/AppKit/NSFont/Weight/medium macOS 10.11
extern "C" const NSFontWeight NSFontWeightMedium;

// @doc NSFont /documentation/AppKit/NSFont macOS 10.0
@interface NSFont : NSObject
// @doc systemFontOfSize /documentation/AppKit/NSFont/systemFont(ofSize:) macOS 10.0
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize;
// @doc systemFontOfSize /documentation/AppKit/NSFont/systemFont(ofSize:weight:) macOS 10.11
+ (NSFont*)systemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
// @doc monospacedDigitSystemFontOfSize /documentation/AppKit/NSFont/monospacedDigitSystemFont(ofSize:weight:) macOS 10.11
+ (NSFont*)monospacedDigitSystemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight;
// @doc systemFontSize /documentation/AppKit/NSFont/systemFontSize macOS 10.0
@property(class, readonly) CGFloat systemFontSize;
@end

#pragma clang assume_nonnull end
