#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc NSDeviceDescriptionKey /documentation/AppKit/NSDeviceDescriptionKey
typedef NSString* NSDeviceDescriptionKey __attribute__((swift_wrapper(struct)));

// @doc NSScreen /documentation/AppKit/NSScreen
@interface NSScreen : NSObject
// @doc screens /documentation/AppKit/NSScreen/screens
@property(class, readonly, copy) NSArray<NSScreen*>* screens;
// @doc frame /documentation/AppKit/NSScreen/frame
@property(readonly) NSRect frame;
// @doc deviceDescription /documentation/AppKit/NSScreen/deviceDescription
@property(readonly, copy) NSDictionary<NSDeviceDescriptionKey, id>* deviceDescription;
// @doc localizedName /documentation/AppKit/NSScreen/localizedName
@property(readonly, copy) NSString* localizedName;
@end

#pragma clang assume_nonnull end
