#pragma once

#include <Foundation/NSOperation.h>
#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSNotificationName /documentation/Foundation/NSNotification/Name-swift.struct
typedef NSString* NSNotificationName __attribute__((swift_wrapper(struct)));

// @doc NSNotification /documentation/Foundation/NSNotification
@interface NSNotification : NSObject
@end

// @doc NSNotificationCenter /documentation/Foundation/NotificationCenter
@interface NSNotificationCenter : NSObject
// @doc defaultCenter /documentation/Foundation/NotificationCenter/default
@property(class, readonly, strong) NSNotificationCenter* defaultCenter;
// @doc addObserverForName /documentation/Foundation/NotificationCenter/addObserver(forName:object:queue:using:)
- (id<NSObject>)addObserverForName:(nullable NSNotificationName)name
                            object:(nullable id)obj
                             queue:(nullable NSOperationQueue*)queue
                        usingBlock:(void (^)(NSNotification* notification))block;
// @doc removeObserver /documentation/Foundation/NotificationCenter/removeObserver(_:)
- (void)removeObserver:(id)observer;
@end

#pragma clang assume_nonnull end
