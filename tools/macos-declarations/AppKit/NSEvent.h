#pragma once

#include <Foundation/Foundation.h>

// @doc NSEventModifierFlags /documentation/AppKit/NSEvent/ModifierFlags-swift.struct
enum NSEventModifierFlags : NSUInteger {
  // @doc NSEventModifierFlagShift /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/shift
  NSEventModifierFlagShift = 1 << 17,
  // @doc NSEventModifierFlagControl /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/control
  NSEventModifierFlagControl = 1 << 18,
  // @doc NSEventModifierFlagOption /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/option
  NSEventModifierFlagOption = 1 << 19,
  // @doc NSEventModifierFlagCommand /documentation/AppKit/NSEvent/ModifierFlags-swift.struct/command
  NSEventModifierFlagCommand = 1 << 20,
};
