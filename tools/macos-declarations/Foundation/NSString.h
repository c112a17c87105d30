#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSRange.h>

#pragma clang assume_nonnull begin

// @doc unichar /documentation/Foundation/unichar
typedef unsigned short unichar;

// @doc NSString /documentation/Foundation/NSString
@interface NSString : NSObject <NSCopying>
// @doc length /documentation/Foundation/NSString/length
@property(readonly) NSUInteger length;
// @doc getCharacters /documentation/Foundation/NSString/getCharacters(_:range:)
- (void)getCharacters:(unichar*)buffer range:(NSRange)range;
// @doc stringWithCharacters /documentation/Foundation/NSString/init(characters:length:)
+ (instancetype)stringWithCharacters:(const unichar*)characters length:(NSUInteger)length;
// @doc localizedCaseInsensitiveContainsString /documentation/Foundation/NSString/localizedCaseInsensitiveContains(_:)
- (BOOL)localizedCaseInsensitiveContainsString:(NSString*)str;
@end

// @doc NSLog /documentation/Foundation/NSLog
extern "C" void NSLog(NSString* format, ...) __attribute__((format(__NSString__, 1, 2)));

#pragma clang assume_nonnull end
