#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc Boolean /documentation/Kernel/Boolean
typedef unsigned char Boolean;
// @doc OSType /documentation/Kernel/OSType
typedef unsigned int OSType;
// @doc CFIndex /documentation/CoreFoundation/CFIndex
typedef long CFIndex;
// @doc CFOptionFlags /documentation/CoreFoundation/CFOptionFlags
typedef unsigned long CFOptionFlags;
// @doc CFHashCode /documentation/CoreFoundation/CFHashCode
typedef unsigned long CFHashCode;
// @doc CFTypeRef /documentation/CoreFoundation/CFTypeRef
typedef const void* CFTypeRef;
// @doc CFStringRef /documentation/CoreFoundation/CFString
typedef const struct __attribute__((objc_bridge(NSString))) __CFString* CFStringRef;
// @doc CFAllocatorRef /documentation/CoreFoundation/CFAllocator
typedef const struct __attribute__((objc_bridge(id))) __CFAllocator* CFAllocatorRef;

// @doc kCFAllocatorDefault /documentation/CoreFoundation/kCFAllocatorDefault
extern const CFAllocatorRef _Nullable kCFAllocatorDefault;

// @doc CFTypeID /documentation/CoreFoundation/CFTypeID
typedef unsigned long CFTypeID;
// @doc CFGetTypeID /documentation/CoreFoundation/CFGetTypeID(_:)
CFTypeID CFGetTypeID(CFTypeRef cf);

// @doc CFRetain /documentation/CoreFoundation/CFRetain
CFTypeRef CFRetain(CFTypeRef cf);
// @doc CFRelease /documentation/CoreFoundation/CFRelease
void CFRelease(CFTypeRef cf);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
