#pragma once

// The reference shows these with implicitly unwrapped (unannotated) pointers: no nullability here.

#include <stdint.h>

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc CFRunLoopRef /documentation/CoreFoundation/CFRunLoop macOS 10.0
typedef struct __attribute__((objc_bridge_mutable(id))) __CFRunLoop* CFRunLoopRef;
// @doc CFRunLoopSourceRef /documentation/CoreFoundation/CFRunLoopSource macOS 10.0
typedef struct __attribute__((objc_bridge_mutable(id))) __CFRunLoopSource* CFRunLoopSourceRef;
// @doc CFRunLoopTimerRef /documentation/CoreFoundation/CFRunLoopTimer macOS 10.0
typedef struct __attribute__((objc_bridge_mutable(NSTimer))) __CFRunLoopTimer* CFRunLoopTimerRef;
// @doc CFRunLoopMode /documentation/CoreFoundation/CFRunLoopMode macOS 10.0
typedef CFStringRef CFRunLoopMode;

// @doc kCFRunLoopCommonModes /documentation/CoreFoundation/CFRunLoopMode/commonModes macOS 10.0
extern const CFRunLoopMode kCFRunLoopCommonModes;

// @doc CFRunLoopSourceContext /documentation/CoreFoundation/CFRunLoopSourceContext macOS 10.0
typedef struct {
  CFIndex version;
  void* info;
  const void* (*retain)(const void* info);
  void (*release)(const void* info);
  CFStringRef (*copyDescription)(const void* info);
  Boolean (*equal)(const void* info1, const void* info2);
  CFHashCode (*hash)(const void* info);
  void (*schedule)(void* info, CFRunLoopRef rl, CFRunLoopMode mode);
  void (*cancel)(void* info, CFRunLoopRef rl, CFRunLoopMode mode);
  void (*perform)(void* info);
} CFRunLoopSourceContext;

// @doc CFRunLoopTimerContext /documentation/CoreFoundation/CFRunLoopTimerContext macOS 10.0
typedef struct {
  CFIndex version;
  void* info;
  const void* (*retain)(const void* info);
  void (*release)(const void* info);
  CFStringRef (*copyDescription)(const void* info);
} CFRunLoopTimerContext;

// @doc CFRunLoopTimerCallBack /documentation/CoreFoundation/CFRunLoopTimerCallBack macOS 10.0
typedef void (*CFRunLoopTimerCallBack)(CFRunLoopTimerRef timer, void* info);

// @doc CFRunLoopGetMain /documentation/CoreFoundation/CFRunLoopGetMain() macOS 10.0
CFRunLoopRef CFRunLoopGetMain(void);
// @doc CFRunLoopRun /documentation/CoreFoundation/CFRunLoopRun() macOS 10.0
void CFRunLoopRun(void);
// @doc CFRunLoopRunResult /documentation/CoreFoundation/CFRunLoopRunResult macOS 10.0
typedef enum CFRunLoopRunResult : int32_t {} CFRunLoopRunResult;
// @doc CFRunLoopRunInMode /documentation/CoreFoundation/CFRunLoopRunInMode(_:_:_:) macOS 10.0
CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds, Boolean returnAfterSourceHandled);
// @doc CFRunLoopStop /documentation/CoreFoundation/CFRunLoopStop(_:) macOS 10.0
void CFRunLoopStop(CFRunLoopRef rl);
// @doc CFRunLoopWakeUp /documentation/CoreFoundation/CFRunLoopWakeUp(_:) macOS 10.0
void CFRunLoopWakeUp(CFRunLoopRef rl);

// @doc CFRunLoopSourceCreate /documentation/CoreFoundation/CFRunLoopSourceCreate(_:_:_:) macOS 10.0
CFRunLoopSourceRef CFRunLoopSourceCreate(CFAllocatorRef allocator, CFIndex order, CFRunLoopSourceContext* context)
    __attribute__((cf_returns_retained));
// @doc CFRunLoopAddSource /documentation/CoreFoundation/CFRunLoopAddSource(_:_:_:) macOS 10.0
void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFRunLoopMode mode);
// @doc CFRunLoopSourceSignal /documentation/CoreFoundation/CFRunLoopSourceSignal(_:) macOS 10.0
void CFRunLoopSourceSignal(CFRunLoopSourceRef source);
// @doc CFRunLoopSourceInvalidate /documentation/CoreFoundation/CFRunLoopSourceInvalidate(_:) macOS 10.0
void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source);

// @doc CFRunLoopTimerCreate /documentation/CoreFoundation/CFRunLoopTimerCreate(_:_:_:_:_:_:_:) macOS 10.0
CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef allocator, CFAbsoluteTime fireDate, CFTimeInterval interval,
                                       CFOptionFlags flags, CFIndex order, CFRunLoopTimerCallBack callout,
                                       CFRunLoopTimerContext* context) __attribute__((cf_returns_retained));
// @doc CFRunLoopAddTimer /documentation/CoreFoundation/CFRunLoopAddTimer(_:_:_:) macOS 10.0
void CFRunLoopAddTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode);
// @doc CFRunLoopTimerSetNextFireDate /documentation/CoreFoundation/CFRunLoopTimerSetNextFireDate(_:_:) macOS 10.0
void CFRunLoopTimerSetNextFireDate(CFRunLoopTimerRef timer, CFAbsoluteTime fireDate);
// @doc CFRunLoopTimerSetTolerance /documentation/CoreFoundation/CFRunLoopTimerSetTolerance(_:_:) macOS 10.9
void CFRunLoopTimerSetTolerance(CFRunLoopTimerRef timer, CFTimeInterval tolerance);
// @doc CFRunLoopTimerInvalidate /documentation/CoreFoundation/CFRunLoopTimerInvalidate(_:) macOS 10.0
void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timer);

#ifdef __cplusplus
}
#endif
