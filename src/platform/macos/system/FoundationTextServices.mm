#import "macos/system/FoundationTextServices.h"

#import <Foundation/Foundation.h>

#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

bool FoundationTextServices::localizedCaseInsensitiveContains(std::string_view text, std::string_view pattern) const {
  if (pattern.empty()) return false;
  return static_cast<bool>([makeNSString(text) localizedCaseInsensitiveContainsString:makeNSString(pattern)]);
}

}  // namespace turnlet::macos
