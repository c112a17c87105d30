#pragma once

#include <AppKit/NSButton.h>

// @doc NSStatusBarButton /documentation/AppKit/NSStatusBarButton macOS 10.10
@interface NSStatusBarButton : NSButton
@end
