#pragma once

#include <CoreFoundation/CFBase.h>

// @doc CFDictionaryRef /documentation/CoreFoundation/CFDictionary macOS 10.0
typedef const struct __attribute__((objc_bridge(NSDictionary))) __CFDictionary* CFDictionaryRef;
