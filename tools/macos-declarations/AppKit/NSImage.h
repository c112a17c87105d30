#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSImage /documentation/AppKit/NSImage
@interface NSImage : NSObject
// @doc imageWithSystemSymbolName /documentation/AppKit/NSImage/init(systemSymbolName:accessibilityDescription:)
+ (nullable instancetype)imageWithSystemSymbolName:(NSString*)name accessibilityDescription:(nullable NSString*)description;
@end

#pragma clang assume_nonnull end
