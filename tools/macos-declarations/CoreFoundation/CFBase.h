#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc Boolean /documentation/Kernel/Boolean macOS 10.0
typedef unsigned char Boolean;
// @doc OSType /documentation/Kernel/OSType macOS 10.0
typedef unsigned int OSType;
// @doc CFIndex /documentation/CoreFoundation/CFIndex macOS 10.0
typedef long CFIndex;
// @doc CFOptionFlags /documentation/CoreFoundation/CFOptionFlags macOS 10.0
typedef unsigned long CFOptionFlags;
// @doc CFHashCode /documentation/CoreFoundation/CFHashCode macOS 10.0
typedef unsigned long CFHashCode;
// @doc CFTypeRef /documentation/CoreFoundation/CFTypeRef macOS 10.0
typedef const void* CFTypeRef;
// @doc CFStringRef /documentation/CoreFoundation/CFString macOS 10.0
typedef const struct __attribute__((objc_bridge(NSString))) __CFString* CFStringRef;
// @doc CFAllocatorRef /documentation/CoreFoundation/CFAllocator macOS 10.0
typedef const struct __attribute__((objc_bridge(id))) __CFAllocator* CFAllocatorRef;

// @doc kCFAllocatorDefault /documentation/CoreFoundation/kCFAllocatorDefault macOS 10.0
extern const CFAllocatorRef _Nullable kCFAllocatorDefault;

// @doc CFTypeID /documentation/CoreFoundation/CFTypeID macOS 10.0
typedef unsigned long CFTypeID;
// @doc CFGetTypeID /documentation/CoreFoundation/CFGetTypeID(_:) macOS 10.0
CFTypeID CFGetTypeID(CFTypeRef cf);

// @doc CFRetain /documentation/CoreFoundation/CFRetain macOS 10.0
CFTypeRef CFRetain(CFTypeRef cf);
// @doc CFRelease /documentation/CoreFoundation/CFRelease macOS 10.0
void CFRelease(CFTypeRef cf);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
