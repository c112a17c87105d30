#pragma once

#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSAttributedStringKey /documentation/Foundation/NSAttributedString/Key macOS 10.0
typedef NSString* NSAttributedStringKey __attribute__((swift_wrapper(struct)));

// @doc NSAttributedString /documentation/Foundation/NSAttributedString macOS 10.0
@interface NSAttributedString : NSObject
// @doc initWithString /documentation/Foundation/NSAttributedString/init(string:attributes:) macOS 10.0
- (instancetype)initWithString:(NSString*)str attributes:(nullable NSDictionary<NSAttributedStringKey, id>*)attrs;
@end

#pragma clang assume_nonnull end
