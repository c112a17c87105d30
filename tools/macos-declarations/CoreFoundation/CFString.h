#pragma once

// The reference shows these with implicitly unwrapped (unannotated) pointers: no nullability here.

#include <stdint.h>

#include <CoreFoundation/CFBase.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc UInt8 /documentation/Kernel/UInt8 macOS 10.0
typedef unsigned char UInt8;
// @doc CFStringEncoding /documentation/CoreFoundation/CFStringEncoding macOS 10.0
typedef uint32_t CFStringEncoding;
// @doc kCFStringEncodingUTF8 /documentation/CoreFoundation/CFStringBuiltInEncodings/UTF8 macOS 10.0
enum : CFStringEncoding { kCFStringEncodingUTF8 = 0x08000100 };

// Answers NULL when the bytes are not valid in the encoding.
// @doc CFStringCreateWithBytes /documentation/CoreFoundation/CFStringCreateWithBytes(_:_:_:_:_:) macOS 10.0
CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation)
    __attribute__((cf_returns_retained));

#ifdef __cplusplus
}
#endif
