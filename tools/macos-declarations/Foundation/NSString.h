#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSRange.h>

#pragma clang assume_nonnull begin

// @doc unichar /documentation/Foundation/unichar
typedef unsigned short unichar;

// @doc NSString /documentation/Foundation/NSString
@interface NSString : NSObject
// @doc length /documentation/Foundation/NSString/length
@property(readonly) NSUInteger length;
// @doc getCharacters /documentation/Foundation/NSString/getCharacters(_:range:)
- (void)getCharacters:(unichar*)buffer range:(NSRange)range;
@end

// @doc NSLog /documentation/Foundation/NSLog
extern "C" void NSLog(NSString* format, ...) __attribute__((format(__NSString__, 1, 2)));

#pragma clang assume_nonnull end
