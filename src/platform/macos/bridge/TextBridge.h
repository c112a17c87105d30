#pragma once

#import <Foundation/Foundation.h>

#include <string>
#include <string_view>

namespace turnlet::macos {

// UTF-8 to NSString, malformed bytes read as U+FFFD first (the platform answers nil for them).
NSString* _Nonnull makeNSString(std::string_view utf8);

// NSString to UTF-8, an unpaired surrogate as U+FFFD (the platform has no UTF-8 for it); nil is "".
std::string utf8String(NSString* _Nullable string);

}  // namespace turnlet::macos
