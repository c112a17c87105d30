#pragma once

// @doc NSBeep /documentation/AppKit/NSBeep()
extern "C" void NSBeep(void);
