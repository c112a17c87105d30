#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSAccessibilityRole /documentation/AppKit/NSAccessibility-swift.struct/Role
typedef NSString* NSAccessibilityRole;

// @doc NSAccessibilityImageRole /documentation/AppKit/NSAccessibility-swift.struct/Role/image
extern "C" NSAccessibilityRole const NSAccessibilityImageRole;

// @doc NSAccessibility /documentation/AppKit/NSAccessibilityProtocol
@protocol NSAccessibility <NSObject>
// @doc setAccessibilityElement /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityElement(_:)
- (void)setAccessibilityElement:(BOOL)accessibilityElement;
// @doc setAccessibilityRole /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityRole(_:)
- (void)setAccessibilityRole:(nullable NSAccessibilityRole)accessibilityRole;
// @doc setAccessibilityLabel /documentation/AppKit/NSAccessibilityProtocol/setAccessibilityLabel(_:)
- (void)setAccessibilityLabel:(nullable NSString*)accessibilityLabel;
@end

#pragma clang assume_nonnull end
