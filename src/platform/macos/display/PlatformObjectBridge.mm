#import "macos/display/PlatformObjectBridge.h"

#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

PlatformObject platformObject(id object, int depth) {
  if (!object) return PlatformObject{};
  if (const auto number = platformNumber(object)) return PlatformObject::numberObject(*number);
  if ([object isKindOfClass:[NSString class]]) return PlatformObject::textObject(utf8String(object));
  if (depth <= 0) return PlatformObject{};
  PlatformObject read;
  if ([object isKindOfClass:[NSDictionary class]]) {
    NSDictionary* dictionary = object;
    read.kind = PlatformObject::Kind::dictionary;
    NSArray* keys = dictionary.allKeys;
    for (NSUInteger i = 0; i < keys.count; ++i) {
      id key = [keys objectAtIndex:i];
      PlatformEntry entry;
      if ([key isKindOfClass:[NSString class]]) entry.key = utf8String(key);
      entry.value = platformObject([dictionary objectForKey:key], depth - 1);
      read.entries.push_back(std::move(entry));
    }
  } else if ([object isKindOfClass:[NSArray class]]) {
    NSArray* array = object;
    read.kind = PlatformObject::Kind::array;
    for (NSUInteger i = 0; i < array.count; ++i) read.items.push_back(platformObject([array objectAtIndex:i], depth - 1));
  }
  return read;
}

}  // namespace turnlet::macos
