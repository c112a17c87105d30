#pragma once

#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSUserDefaults /documentation/Foundation/UserDefaults
@interface NSUserDefaults : NSObject
// @doc standardUserDefaults /documentation/Foundation/UserDefaults/standard
@property(class, readonly, strong) NSUserDefaults* standardUserDefaults;
// @doc objectForKey /documentation/Foundation/UserDefaults/object(forKey:)
- (nullable id)objectForKey:(NSString*)defaultName;
// @doc setObject /documentation/Foundation/UserDefaults/set(_:forKey:)-1hlmr
- (void)setObject:(nullable id)value forKey:(NSString*)defaultName;
// @doc removeObjectForKey /documentation/Foundation/UserDefaults/removeObject(forKey:)
- (void)removeObjectForKey:(NSString*)defaultName;
@end

#pragma clang assume_nonnull end
