#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CGGeometry.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CGColorRef /documentation/CoreGraphics/CGColor macOS 10.0
typedef struct __attribute__((objc_bridge(id))) CGColor* CGColorRef;

// @doc CGColorCreateSRGB /documentation/CoreGraphics/CGColor/init(srgbRed:green:blue:alpha:) macOS 10.15
CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) __attribute__((cf_returns_retained));

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
