#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <HIServices/AXError.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXUIElementRef /documentation/ApplicationServices/AXUIElement macOS 10.2
typedef const struct __attribute__((objc_bridge(id))) __AXUIElement* AXUIElementRef;

// @doc AXUIElementGetTypeID /documentation/ApplicationServices/AXUIElementGetTypeID() macOS 10.2
CFTypeID AXUIElementGetTypeID(void);
// @doc AXUIElementCopyActionNames /documentation/ApplicationServices/AXUIElementCopyActionNames(_:_:) macOS 10.2
AXError AXUIElementCopyActionNames(AXUIElementRef _Nonnull element, CFArrayRef _Nullable* _Nonnull names __attribute__((cf_returns_retained)));
// @doc AXUIElementCopyAttributeValue /documentation/ApplicationServices/AXUIElementCopyAttributeValue(_:_:_:) macOS 10.2
AXError AXUIElementCopyAttributeValue(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                      CFTypeRef _Nullable* _Nonnull value __attribute__((cf_returns_retained)));
// @doc AXUIElementIsAttributeSettable /documentation/ApplicationServices/AXUIElementIsAttributeSettable(_:_:_:) macOS 10.2
AXError AXUIElementIsAttributeSettable(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                       Boolean* _Nonnull settable);
// @doc AXUIElementSetAttributeValue /documentation/ApplicationServices/AXUIElementSetAttributeValue(_:_:_:) macOS 10.2
AXError AXUIElementSetAttributeValue(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                     CFTypeRef _Nonnull value);
// @doc AXUIElementGetPid /documentation/ApplicationServices/AXUIElementGetPid(_:_:) macOS 10.2
AXError AXUIElementGetPid(AXUIElementRef _Nonnull element, pid_t* _Nonnull pid);
// @doc AXUIElementPerformAction /documentation/ApplicationServices/AXUIElementPerformAction(_:_:) macOS 10.2
AXError AXUIElementPerformAction(AXUIElementRef _Nonnull element, CFStringRef _Nonnull action);
// @doc AXUIElementCopyElementAtPosition /documentation/ApplicationServices/AXUIElementCopyElementAtPosition(_:_:_:_:) macOS 10.2
AXError AXUIElementCopyElementAtPosition(AXUIElementRef _Nonnull application, float x, float y,
                                         AXUIElementRef _Nullable* _Nonnull element __attribute__((cf_returns_retained)));
// @doc AXUIElementCreateApplication /documentation/ApplicationServices/AXUIElementCreateApplication(_:) macOS 10.2
AXUIElementRef _Nonnull AXUIElementCreateApplication(pid_t pid) __attribute__((cf_returns_retained));
// @doc AXUIElementSetMessagingTimeout /documentation/ApplicationServices/AXUIElementSetMessagingTimeout(_:_:) macOS 10.4
AXError AXUIElementSetMessagingTimeout(AXUIElementRef _Nonnull element, float timeoutInSeconds);

#ifdef __cplusplus
}
#endif
