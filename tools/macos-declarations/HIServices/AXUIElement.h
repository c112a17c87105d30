#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <HIServices/AXError.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc AXUIElementRef /documentation/ApplicationServices/AXUIElement
typedef const struct __attribute__((objc_bridge(id))) __AXUIElement* AXUIElementRef;

// @doc AXUIElementGetTypeID /documentation/ApplicationServices/AXUIElementGetTypeID()
CFTypeID AXUIElementGetTypeID(void);
// @doc AXUIElementCopyActionNames /documentation/ApplicationServices/AXUIElementCopyActionNames(_:_:)
AXError AXUIElementCopyActionNames(AXUIElementRef _Nonnull element, CFArrayRef _Nullable* _Nonnull names __attribute__((cf_returns_retained)));
// @doc AXUIElementCopyAttributeValue /documentation/ApplicationServices/AXUIElementCopyAttributeValue(_:_:_:)
AXError AXUIElementCopyAttributeValue(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                      CFTypeRef _Nullable* _Nonnull value __attribute__((cf_returns_retained)));
// @doc AXUIElementIsAttributeSettable /documentation/ApplicationServices/AXUIElementIsAttributeSettable(_:_:_:)
AXError AXUIElementIsAttributeSettable(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                       Boolean* _Nonnull settable);
// @doc AXUIElementSetAttributeValue /documentation/ApplicationServices/AXUIElementSetAttributeValue(_:_:_:)
AXError AXUIElementSetAttributeValue(AXUIElementRef _Nonnull element, CFStringRef _Nonnull attribute,
                                     CFTypeRef _Nonnull value);
// @doc AXUIElementGetPid /documentation/ApplicationServices/AXUIElementGetPid(_:_:)
AXError AXUIElementGetPid(AXUIElementRef _Nonnull element, pid_t* _Nonnull pid);
// @doc AXUIElementPerformAction /documentation/ApplicationServices/AXUIElementPerformAction(_:_:)
AXError AXUIElementPerformAction(AXUIElementRef _Nonnull element, CFStringRef _Nonnull action);
// @doc AXUIElementCopyElementAtPosition /documentation/ApplicationServices/AXUIElementCopyElementAtPosition(_:_:_:_:)
AXError AXUIElementCopyElementAtPosition(AXUIElementRef _Nonnull application, float x, float y,
                                         AXUIElementRef _Nullable* _Nonnull element __attribute__((cf_returns_retained)));
// @doc AXUIElementCreateApplication /documentation/ApplicationServices/AXUIElementCreateApplication(_:)
AXUIElementRef _Nonnull AXUIElementCreateApplication(pid_t pid) __attribute__((cf_returns_retained));
// @doc AXUIElementSetMessagingTimeout /documentation/ApplicationServices/AXUIElementSetMessagingTimeout(_:_:)
AXError AXUIElementSetMessagingTimeout(AXUIElementRef _Nonnull element, float timeoutInSeconds);

#ifdef __cplusplus
}
#endif
