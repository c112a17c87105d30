#pragma once

#include <os/object.h>

#pragma clang assume_nonnull begin

// @doc OS_os_log /documentation/os/OSLog macOS 10.12
@protocol OS_os_log <OS_object>
@end
// @doc os_log_t /documentation/os/os_log_t macOS 10.12
typedef NSObject<OS_os_log>* os_log_t;

extern "C" {

// @doc os_log_create /documentation/os/os_log_create macOS 10.12
__attribute__((warn_unused_result)) __attribute__((ns_returns_retained)) os_log_t os_log_create(const char* subsystem,
                                                                                             const char* category);
// A macro over os_log_with_type in the SDK, whose format must be a string literal in the unified
// log's format language ("%{public}s"); the format attribute checks the same.
// @doc os_log_info /documentation/os/os_log_info macOS 10.12
void os_log_info(os_log_t log, const char* format, ...) __attribute__((format(os_log, 2, 3)));

}  // extern "C"

#pragma clang assume_nonnull end
