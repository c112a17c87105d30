#pragma once

#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

@interface NSObject (NSKeyValueCoding)
// @doc setValue /documentation/ObjectiveC/NSObject-swift.class/setValue(_:forKey:) macOS 10.0
- (void)setValue:(nullable id)value forKey:(NSString*)key;
@end

#pragma clang assume_nonnull end
