#import "macos/bridge/TextBridge.h"

#include <vector>

#include "macos/bridge/TextEncoding.h"

namespace turnlet::macos {

NSString* makeNSString(std::string_view utf8) {
  const std::string repaired = repairedUtf8(utf8);
  CFStringRef created = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(repaired.data()),
                                                static_cast<CFIndex>(repaired.size()), kCFStringEncodingUTF8, false);
  NSString* string = (__bridge_transfer NSString*)created;  // created here: ARC takes over our reference
  return string ?: @"";
}

std::string utf8String(NSString* string) {
  if (!string) return {};
  const NSUInteger length = string.length;
  std::vector<unichar> units(length);
  [string getCharacters:units.data() range:NSMakeRange(0, length)];
  return utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(units.data()), units.size()));
}

}  // namespace turnlet::macos
