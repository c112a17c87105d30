#pragma once

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CGColorSpaceRef /documentation/CoreGraphics/CGColorSpace macOS 10.0
typedef struct __attribute__((objc_bridge(id))) CGColorSpace* CGColorSpaceRef;

// @doc kCGColorSpaceSRGB /documentation/CoreGraphics/CGColorSpace/sRGB macOS 10.5
extern const CFStringRef kCGColorSpaceSRGB;
// @doc kCGColorSpaceDisplayP3 /documentation/CoreGraphics/CGColorSpace/displayP3 macOS 10.11.2
extern const CFStringRef kCGColorSpaceDisplayP3;

// @doc CGColorSpaceCreateWithName /documentation/CoreGraphics/CGColorSpace/init(name:) macOS 10.2
CGColorSpaceRef _Nullable CGColorSpaceCreateWithName(CFStringRef name) __attribute__((cf_returns_retained));

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
