#pragma once

#include <CoreFoundation/CFBase.h>

// @doc CFArrayRef /documentation/CoreFoundation/CFArray macOS 10.0
typedef const struct __attribute__((objc_bridge(NSArray))) __CFArray* CFArrayRef;
