#import "macos/bridge/NumberBridge.h"

#import <CoreFoundation/CoreFoundation.h>

namespace turnlet::macos {

std::optional<PlatformNumber> platformNumber(id object) {
  if (!object || ![object isKindOfClass:[NSNumber class]]) return std::nullopt;
  NSNumber* number = object;
  PlatformNumber read;
  read.kind = CFGetTypeID((__bridge CFTypeRef)number) == CFBooleanGetTypeID() ? NumberKind::boolean
                                                                               : numberKind(number.objCType);
  read.signedValue = number.longLongValue;
  read.unsignedValue = number.unsignedLongLongValue;
  read.realValue = number.doubleValue;
  return read;
}

}  // namespace turnlet::macos
