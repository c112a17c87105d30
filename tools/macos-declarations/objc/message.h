#pragma once
// Sending a message by its selector. The SDK declares objc_msgSend without parameters: a caller
// casts it to the function type of the method it sends.

#include <objc/objc.h>

#ifdef __cplusplus
extern "C" {
#endif

// @doc objc_msgSend /documentation/ObjectiveC/objc_msgSend macOS 10.0
void objc_msgSend(void);

#ifdef __cplusplus
}
#endif
