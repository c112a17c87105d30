#pragma once

#include <Foundation/Foundation.h>

// @doc NSModalPanelRunLoopMode /documentation/AppKit/NSModalPanelRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSModalPanelRunLoopMode;
// @doc NSEventTrackingRunLoopMode /documentation/AppKit/NSEventTrackingRunLoopMode
extern "C" NSRunLoopMode _Nonnull NSEventTrackingRunLoopMode;
