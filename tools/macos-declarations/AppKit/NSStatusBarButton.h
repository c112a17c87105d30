#pragma once

#include <AppKit/NSButton.h>

// @doc NSStatusBarButton /documentation/AppKit/NSStatusBarButton
@interface NSStatusBarButton : NSButton
@end
