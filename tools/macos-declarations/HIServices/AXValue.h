#pragma once

#include <CoreFoundation/CFBase.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXValueRef /documentation/ApplicationServices/AXValue
typedef const struct __attribute__((objc_bridge(id))) __AXValue* AXValueRef;
// @doc AXValueType /documentation/ApplicationServices/AXValueType
typedef uint32_t AXValueType;

// @doc AXValueGetTypeID /documentation/ApplicationServices/AXValueGetTypeID()
CFTypeID AXValueGetTypeID(void);
// @doc AXValueCreate /documentation/ApplicationServices/AXValueCreate(_:_:)
AXValueRef _Nullable AXValueCreate(AXValueType theType, const void* _Nonnull valuePtr) __attribute__((cf_returns_retained));
// @doc AXValueGetType /documentation/ApplicationServices/AXValueGetType(_:)
AXValueType AXValueGetType(AXValueRef _Nonnull value);
// @doc AXValueGetValue /documentation/ApplicationServices/AXValueGetValue(_:_:_:)
Boolean AXValueGetValue(AXValueRef _Nonnull value, AXValueType theType, void* _Nonnull valuePtr);

#ifdef __cplusplus
}
#endif
