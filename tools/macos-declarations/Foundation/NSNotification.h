#pragma once

#include <Foundation/NSOperation.h>
#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSNotificationName /documentation/Foundation/NSNotification/Name-swift.struct macOS 10.0
typedef NSString* NSNotificationName __attribute__((swift_wrapper(struct)));

// @doc NSNotification /documentation/Foundation/NSNotification macOS 10.0
@interface NSNotification : NSObject
@end

// @doc NSNotificationCenter /documentation/Foundation/NotificationCenter macOS 10.0
@interface NSNotificationCenter : NSObject
// @doc defaultCenter /documentation/Foundation/NotificationCenter/default macOS 10.0
@property(class, readonly, strong) NSNotificationCenter* defaultCenter;
// @doc addObserverForName /documentation/Foundation/NotificationCenter/addObserver(forName:object:queue:using:) macOS 10.6
- (id<NSObject>)addObserverForName:(nullable NSNotificationName)name
                            object:(nullable id)obj
                             queue:(nullable NSOperationQueue*)queue
                        usingBlock:(void (^)(NSNotification* notification))block;
// @doc removeObserver /documentation/Foundation/NotificationCenter/removeObserver(_:) macOS 10.0
- (void)removeObserver:(id)observer;
// @doc postNotificationName /documentation/Foundation/NotificationCenter/post(name:object:) macOS 10.0
- (void)postNotificationName:(NSNotificationName)aName object:(nullable id)anObject;
@end

#pragma clang assume_nonnull end
