#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSImage /documentation/AppKit/NSImage macOS 10.0
@interface NSImage : NSObject
// @doc imageWithSystemSymbolName /documentation/AppKit/NSImage/init(systemSymbolName:accessibilityDescription:) macOS 11.0
+ (nullable instancetype)imageWithSystemSymbolName:(NSString*)name accessibilityDescription:(nullable NSString*)description;
@end

#pragma clang assume_nonnull end
