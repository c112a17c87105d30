#pragma once

#include <AppKit/NSControl.h>
#include <AppKit/NSImage.h>

#pragma clang assume_nonnull begin

// @doc NSButton /documentation/AppKit/NSButton
@interface NSButton : NSControl
// @doc image /documentation/AppKit/NSButton/image
@property(strong, nullable) NSImage* image;
@end

#pragma clang assume_nonnull end
