#pragma once

#include <objc/objc.h>

// @doc Method /documentation/ObjectiveC/Method macOS 10.0
typedef struct objc_method* Method;

// @doc class_getInstanceMethod /documentation/ObjectiveC/class_getInstanceMethod(_:_:) macOS 10.0
extern "C" Method _Nullable class_getInstanceMethod(Class _Nullable cls, SEL _Nonnull name);
// @doc method_getTypeEncoding /documentation/ObjectiveC/method_getTypeEncoding(_:) macOS 10.5
extern "C" const char* _Nullable method_getTypeEncoding(Method _Nonnull m);
