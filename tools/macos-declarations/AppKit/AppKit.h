#pragma once

#include <AppKit/NSApplication.h>
#include <AppKit/NSEvent.h>
#include <AppKit/NSGestureRecognizer.h>
#include <AppKit/NSPanGestureRecognizer.h>
#include <AppKit/NSPressGestureRecognizer.h>
#include <AppKit/NSScreen.h>
#include <AppKit/NSTouch.h>
#include <AppKit/NSView.h>
#include <AppKit/NSWindow.h>
#include <AppKit/NSWorkspace.h>
#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>
