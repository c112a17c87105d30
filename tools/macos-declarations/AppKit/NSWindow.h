#pragma once

#include <Foundation/Foundation.h>

@class NSScreen;

#pragma clang assume_nonnull begin

// @doc NSWindow /documentation/AppKit/NSWindow
@interface NSWindow : NSObject
// @doc screen /documentation/AppKit/NSWindow/screen
@property(readonly, nullable) NSScreen* screen;
@end

#pragma clang assume_nonnull end
