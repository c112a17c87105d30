#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSRange.h>

#pragma clang assume_nonnull begin

// @doc unichar /documentation/Foundation/unichar macOS 10.0
typedef unsigned short unichar;

// @doc NSString /documentation/Foundation/NSString macOS 10.0
@interface NSString : NSObject <NSCopying>
// @doc length /documentation/Foundation/NSString/length macOS 10.0
@property(readonly) NSUInteger length;
// @doc getCharacters /documentation/Foundation/NSString/getCharacters(_:range:) macOS 10.0
- (void)getCharacters:(unichar*)buffer range:(NSRange)range;
// @doc stringWithCharacters /documentation/Foundation/NSString/init(characters:length:) macOS 10.0
+ (instancetype)stringWithCharacters:(const unichar*)characters length:(NSUInteger)length;
// @doc localizedCaseInsensitiveContainsString /documentation/Foundation/NSString/localizedCaseInsensitiveContains(_:) macOS 10.10
- (BOOL)localizedCaseInsensitiveContainsString:(NSString*)str;
@end

// @doc NSLog /documentation/Foundation/NSLog macOS 10.0
extern "C" void NSLog(NSString* format, ...) __attribute__((format(__NSString__, 1, 2)));

#pragma clang assume_nonnull end
