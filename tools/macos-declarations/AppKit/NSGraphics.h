#pragma once

// @doc NSBeep /documentation/AppKit/NSBeep() macOS 10.0
extern "C" void NSBeep(void);
