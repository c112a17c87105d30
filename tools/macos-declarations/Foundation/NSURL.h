#pragma once

#include <Foundation/NSString.h>
#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSURL /documentation/Foundation/NSURL macOS 10.0
@interface NSURL : NSObject
// @doc URLWithString /documentation/Foundation/NSURL/init(string:) macOS 10.0
+ (nullable instancetype)URLWithString:(NSString*)URLString;
@end

#pragma clang assume_nonnull end
