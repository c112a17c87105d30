#pragma once

#include <AppKit/NSMenu.h>
#include <AppKit/NSStatusBarButton.h>

#pragma clang assume_nonnull begin

// @doc NSStatusItem /documentation/AppKit/NSStatusItem macOS 10.0
@interface NSStatusItem : NSObject
// @doc button /documentation/AppKit/NSStatusItem/button macOS 10.10
@property(readonly, strong, nullable) NSStatusBarButton* button;
// @doc menu /documentation/AppKit/NSStatusItem/menu macOS 10.0
@property(strong, nullable) NSMenu* menu;
@end

#pragma clang assume_nonnull end
