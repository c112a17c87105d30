#pragma once

#include <AppKit/NSMenu.h>
#include <AppKit/NSStatusBarButton.h>

#pragma clang assume_nonnull begin

// @doc NSStatusItem /documentation/AppKit/NSStatusItem
@interface NSStatusItem : NSObject
// @doc button /documentation/AppKit/NSStatusItem/button
@property(readonly, strong, nullable) NSStatusBarButton* button;
// @doc menu /documentation/AppKit/NSStatusItem/menu
@property(strong, nullable) NSMenu* menu;
@end

#pragma clang assume_nonnull end
