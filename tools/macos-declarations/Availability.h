#pragma once

// The SDK a source is compiled against and the deployment target it is compiled for, as numbers
// (150000 for macOS 15.0), which the SDK derives from the compiler's target. Here: the newest
// declarations' macOS and the program's deployment target.

// @doc __MAC_OS_X_VERSION_MAX_ALLOWED /documentation/xcode/build-settings-reference macOS 10.0
#define __MAC_OS_X_VERSION_MAX_ALLOWED 270000
// @doc __MAC_OS_X_VERSION_MIN_REQUIRED /documentation/xcode/build-settings-reference macOS 10.0
#define __MAC_OS_X_VERSION_MIN_REQUIRED 140000
