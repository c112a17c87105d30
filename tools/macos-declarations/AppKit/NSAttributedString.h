#pragma once

#include <Foundation/Foundation.h>
#include <Foundation/NSAttributedString.h>

#pragma clang assume_nonnull begin

// @doc NSFontAttributeName /documentation/Foundation/NSAttributedString/Key/font macOS 10.0
extern "C" NSAttributedStringKey const NSFontAttributeName;
// @doc NSLinkAttributeName /documentation/Foundation/NSAttributedString/Key/link macOS 10.0
extern "C" NSAttributedStringKey const NSLinkAttributeName;

#pragma clang assume_nonnull end
