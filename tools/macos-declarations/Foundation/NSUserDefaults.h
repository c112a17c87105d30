#pragma once

#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSUserDefaults /documentation/Foundation/UserDefaults macOS 10.0
@interface NSUserDefaults : NSObject
// @doc standardUserDefaults /documentation/Foundation/UserDefaults/standard macOS 10.0
@property(class, readonly, strong) NSUserDefaults* standardUserDefaults;
// @doc objectForKey /documentation/Foundation/UserDefaults/object(forKey:) macOS 10.0
- (nullable id)objectForKey:(NSString*)defaultName;
// @doc setObject /documentation/Foundation/UserDefaults/set(_:forKey:)-1hlmr macOS 10.0
- (void)setObject:(nullable id)value forKey:(NSString*)defaultName;
// @doc removeObjectForKey /documentation/Foundation/UserDefaults/removeObject(forKey:) macOS 10.0
- (void)removeObjectForKey:(NSString*)defaultName;
@end

#pragma clang assume_nonnull end
