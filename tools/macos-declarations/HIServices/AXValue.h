#pragma once

#include <CoreFoundation/CFBase.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXValueRef /documentation/ApplicationServices/AXValue macOS 10.3
typedef const struct __attribute__((objc_bridge(id))) __AXValue* AXValueRef;
// @doc AXValueType /documentation/ApplicationServices/AXValueType macOS 10.3
typedef enum AXValueType : uint32_t {
  // @doc kAXValueTypeCGPoint /documentation/ApplicationServices/AXValueType/cgPoint macOS 10.11
  kAXValueTypeCGPoint = 1,
  // @doc kAXValueTypeCGSize /documentation/ApplicationServices/AXValueType/cgSize macOS 10.11
  kAXValueTypeCGSize = 2,
} AXValueType;

// @doc AXValueGetTypeID /documentation/ApplicationServices/AXValueGetTypeID() macOS 10.3
CFTypeID AXValueGetTypeID(void);
// @doc AXValueCreate /documentation/ApplicationServices/AXValueCreate(_:_:) macOS 10.3
AXValueRef _Nullable AXValueCreate(AXValueType theType, const void* _Nonnull valuePtr) __attribute__((cf_returns_retained));
// @doc AXValueGetType /documentation/ApplicationServices/AXValueGetType(_:) macOS 10.3
AXValueType AXValueGetType(AXValueRef _Nonnull value);
// @doc AXValueGetValue /documentation/ApplicationServices/AXValueGetValue(_:_:_:) macOS 10.3
Boolean AXValueGetValue(AXValueRef _Nonnull value, AXValueType theType, void* _Nonnull valuePtr);

#ifdef __cplusplus
}
#endif
