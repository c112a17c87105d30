#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSAccessibilityRole /documentation/AppKit/NSAccessibility-swift.struct/Role macOS 10.13
typedef NSString* NSAccessibilityRole;

// @doc NSAccessibilityImageRole /documentation/AppKit/NSAccessibility-swift.struct/Role/image macOS 10.0
extern "C" NSAccessibilityRole const NSAccessibilityImageRole;

// @doc NSAccessibility /documentation/AppKit/NSAccessibilityProtocol macOS 10.10
@protocol NSAccessibility <NSObject>
// @doc setAccessibilityElement /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityElement(_:) macOS 10.10
- (void)setAccessibilityElement:(BOOL)accessibilityElement;
// @doc setAccessibilityRole /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityRole(_:) macOS 10.0
- (void)setAccessibilityRole:(nullable NSAccessibilityRole)accessibilityRole;
// @doc setAccessibilityLabel /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityLabel(_:) macOS 10.0
- (void)setAccessibilityLabel:(nullable NSString*)accessibilityLabel;
@end

#pragma clang assume_nonnull end
