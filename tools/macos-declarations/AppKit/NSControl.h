#pragma once

#include <AppKit/NSView.h>

// @doc NSControl /documentation/AppKit/NSControl
@interface NSControl : NSView
@end
