#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSDeviceDescriptionKey /documentation/AppKit/NSDeviceDescriptionKey macOS 10.13
typedef NSString* NSDeviceDescriptionKey __attribute__((swift_wrapper(struct)));

// @doc NSScreen /documentation/AppKit/NSScreen macOS 10.0
@interface NSScreen : NSObject
// @doc screens /documentation/AppKit/NSScreen/screens macOS 10.0
@property(class, readonly, copy) NSArray<NSScreen*>* screens;
// @doc frame /documentation/AppKit/NSScreen/frame macOS 10.0
@property(readonly) NSRect frame;
// @doc deviceDescription /documentation/AppKit/NSScreen/deviceDescription macOS 10.0
@property(readonly, copy) NSDictionary<NSDeviceDescriptionKey, id>* deviceDescription;
// @doc localizedName /documentation/AppKit/NSScreen/localizedName macOS 10.15
@property(readonly, copy) NSString* localizedName;
@end

#pragma clang assume_nonnull end
