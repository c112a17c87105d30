#pragma once

#include <Foundation/NSString.h>
#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSURL /documentation/Foundation/NSURL
@interface NSURL : NSObject
// @doc URLWithString /documentation/Foundation/NSURL/init(string:)
+ (nullable instancetype)URLWithString:(NSString*)URLString;
@end

#pragma clang assume_nonnull end
