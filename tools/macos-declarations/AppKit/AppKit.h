#pragma once

#include <AppKit/NSApplication.h>
#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>
