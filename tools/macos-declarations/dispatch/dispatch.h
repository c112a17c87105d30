#pragma once

#include <stdint.h>
#include <sys/qos.h>

#include <os/object.h>

#pragma clang assume_nonnull begin

// @doc OS_dispatch_queue /documentation/Dispatch/OS_dispatch_queue macOS 10.6
@protocol OS_dispatch_queue <OS_object>
@end
// @doc dispatch_queue_t /documentation/Dispatch/dispatch_queue_t macOS 10.6
typedef NSObject<OS_dispatch_queue>* dispatch_queue_t;

// @doc OS_dispatch_queue_attr /documentation/Dispatch/OS_dispatch_queue_attr macOS 10.6
@protocol OS_dispatch_queue_attr <OS_object>
@end
// @doc dispatch_queue_attr_t /documentation/Dispatch/dispatch_queue_attr_t macOS 10.6
typedef NSObject<OS_dispatch_queue_attr>* dispatch_queue_attr_t;

// @doc OS_dispatch_object /documentation/Dispatch/OS_dispatch_object macOS 10.6
@protocol OS_dispatch_object <OS_object>
@end
// @doc dispatch_object_t /documentation/Dispatch/dispatch_object_t macOS 10.6
typedef NSObject<OS_dispatch_object>* dispatch_object_t;

// @doc OS_dispatch_source /documentation/Dispatch/OS_dispatch_source macOS 10.6
@protocol OS_dispatch_source <OS_dispatch_object>
@end
// @doc dispatch_source_t /documentation/Dispatch/dispatch_source_t macOS 10.6
typedef NSObject<OS_dispatch_source>* dispatch_source_t;
// @doc dispatch_source_type_t /documentation/Dispatch/dispatch_source_type_t macOS 10.6
typedef const struct dispatch_source_type_s* dispatch_source_type_t;

// @doc OS_dispatch_semaphore /documentation/Dispatch/OS_dispatch_semaphore macOS 10.6
@protocol OS_dispatch_semaphore <OS_dispatch_object>
@end
// @doc dispatch_semaphore_t /documentation/Dispatch/dispatch_semaphore_t macOS 10.6
typedef NSObject<OS_dispatch_semaphore>* dispatch_semaphore_t;

// @doc DISPATCH_QUEUE_SERIAL /documentation/Dispatch/DISPATCH_QUEUE_SERIAL macOS 10.6
#define DISPATCH_QUEUE_SERIAL NULL

// @doc dispatch_block_t /documentation/Dispatch/dispatch_block_t macOS 10.6
typedef void (^dispatch_block_t)(void);
// @doc dispatch_qos_class_t /documentation/Dispatch/dispatch_qos_class_t macOS 10.10
typedef qos_class_t dispatch_qos_class_t;
// @doc dispatch_time_t /documentation/Dispatch/dispatch_time_t macOS 10.6
typedef uint64_t dispatch_time_t;
// @doc DISPATCH_TIME_NOW /documentation/Dispatch/DISPATCH_TIME_NOW macOS 10.6
#define DISPATCH_TIME_NOW (0ull)

extern "C" {

// The reference returns the main queue's own subtype (dispatch_queue_main_t); the queue is all
// the backend needs.
// @doc dispatch_get_main_queue /documentation/Dispatch/dispatch_get_main_queue macOS 10.6
dispatch_queue_t dispatch_get_main_queue(void);
// @doc dispatch_queue_attr_make_with_qos_class /documentation/Dispatch/dispatch_queue_attr_make_with_qos_class macOS 10.10
__attribute__((warn_unused_result)) dispatch_queue_attr_t dispatch_queue_attr_make_with_qos_class(
    dispatch_queue_attr_t _Nullable attr, dispatch_qos_class_t qos_class, int relative_priority);
// @doc dispatch_queue_create /documentation/Dispatch/dispatch_queue_create macOS 10.6
__attribute__((warn_unused_result)) __attribute__((ns_returns_retained)) dispatch_queue_t dispatch_queue_create(
    const char* _Nullable label, dispatch_queue_attr_t _Nullable attr);
// @doc dispatch_async /documentation/Dispatch/dispatch_async macOS 10.6
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
// @doc dispatch_sync /documentation/Dispatch/dispatch_sync macOS 10.6
void dispatch_sync(dispatch_queue_t queue, dispatch_block_t block);
// @doc dispatch_time /documentation/Dispatch/dispatch_time macOS 10.6
__attribute__((warn_unused_result)) dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);
// @doc dispatch_after /documentation/Dispatch/dispatch_after macOS 10.6
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);

// @doc dispatch_semaphore_create /documentation/Dispatch/dispatch_semaphore_create macOS 10.6
__attribute__((warn_unused_result)) __attribute__((ns_returns_retained)) dispatch_semaphore_t _Nullable
dispatch_semaphore_create(intptr_t value);
// @doc dispatch_semaphore_signal /documentation/Dispatch/dispatch_semaphore_signal macOS 10.6
intptr_t dispatch_semaphore_signal(dispatch_semaphore_t dsema);
// @doc dispatch_semaphore_wait /documentation/Dispatch/dispatch_semaphore_wait macOS 10.6
intptr_t dispatch_semaphore_wait(dispatch_semaphore_t dsema, dispatch_time_t timeout);

// @doc dispatch_source_create /documentation/Dispatch/dispatch_source_create macOS 10.6
__attribute__((warn_unused_result)) __attribute__((ns_returns_retained)) dispatch_source_t _Nullable
dispatch_source_create(dispatch_source_type_t type, uintptr_t handle, uintptr_t mask, dispatch_queue_t _Nullable queue);
// @doc dispatch_source_set_event_handler /documentation/Dispatch/dispatch_source_set_event_handler macOS 10.6
void dispatch_source_set_event_handler(dispatch_source_t source, dispatch_block_t _Nullable handler);
// @doc dispatch_source_cancel /documentation/Dispatch/dispatch_source_cancel macOS 10.6
void dispatch_source_cancel(dispatch_source_t source);
// @doc dispatch_activate /documentation/Dispatch/dispatch_activate macOS 10.12
void dispatch_activate(dispatch_object_t object);
// The signal source type; the SDK names it through this macro.
// @doc _dispatch_source_type_signal /documentation/Dispatch/DISPATCH_SOURCE_TYPE_SIGNAL macOS 10.6
extern const struct dispatch_source_type_s _dispatch_source_type_signal;
// @doc DISPATCH_SOURCE_TYPE_SIGNAL /documentation/Dispatch/DISPATCH_SOURCE_TYPE_SIGNAL macOS 10.6
#define DISPATCH_SOURCE_TYPE_SIGNAL (&_dispatch_source_type_signal)

}  // extern "C"

#pragma clang assume_nonnull end
