#pragma once

#include <AppKit/NSAnimationContext.h>
#include <AppKit/NSApplication.h>
#include <AppKit/NSColor.h>
#include <AppKit/NSEvent.h>
#include <AppKit/NSGestureRecognizer.h>
#include <AppKit/NSPanGestureRecognizer.h>
#include <AppKit/NSPressGestureRecognizer.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSScreen.h>
#include <AppKit/NSTouch.h>
#include <AppKit/NSView.h>
#include <AppKit/NSWindow.h>
#include <AppKit/NSWorkspace.h>
#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>
