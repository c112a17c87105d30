#pragma once

#include <Foundation/NSString.h>
#include <objc/NSObject.h>

#pragma clang assume_nonnull begin

// @doc NSBundle /documentation/Foundation/Bundle macOS 10.0
@interface NSBundle : NSObject
// @doc mainBundle /documentation/Foundation/Bundle/main macOS 10.0
@property(class, readonly, strong) NSBundle* mainBundle;
// @doc bundleIdentifier /documentation/Foundation/Bundle/bundleIdentifier macOS 10.0
@property(nullable, readonly, copy) NSString* bundleIdentifier;
@end

#pragma clang assume_nonnull end
