#pragma once

#include <cstdint>
#include <string>

#include "platform/Menu.h"

namespace turnlet::macos {

// A key equivalent's modifiers as AppKit's modifier flags (NSEventModifierFlags: Shift 1 << 17,
// Control 1 << 18, Option 1 << 19, Command 1 << 20); bits the interface does not define are
// dropped.
std::uint64_t appKitModifierFlags(unsigned modifiers);

// The key as a menu item's key equivalent: AppKit reads an upper-case letter as the letter with
// Shift, so a letter is kept lower case and Shift comes only from the modifiers.
std::string appKitKeyEquivalent(const std::string& key);

}  // namespace turnlet::macos
