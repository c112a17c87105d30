#import "macos/system/StandardUserDefaults.h"

#import <Foundation/Foundation.h>

#include <vector>

#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/PlistValue.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

namespace {

std::u16string unitsOf(NSString* _Nullable string) {
  if (!string) return {};
  std::u16string units(string.length, u'\0');
  [string getCharacters:reinterpret_cast<unichar*>(units.data()) range:NSMakeRange(0, string.length)];
  return units;
}

NSString* _Nonnull stringOf(const std::u16string& units) {
  return [NSString stringWithCharacters:reinterpret_cast<const unichar*>(units.data()) length:units.size()];
}

// A property-list object as its value; absent for anything a property list cannot hold, or one
// nested deeper than the opaque form keeps.
std::optional<PlistValue> plistFrom(id _Nullable object, int depth) {
  if (!object || depth > maximumPlistDepth) return std::nullopt;
  if ([object isKindOfClass:[NSString class]]) return PlistValue{unitsOf(object)};
  if (auto number = platformNumber(object)) {
    switch (number->kind) {
      case NumberKind::boolean: return PlistValue{number->signedValue != 0};
      case NumberKind::signedInteger: return PlistValue{number->signedValue};
      case NumberKind::unsignedInteger:
        if (number->unsignedValue > static_cast<std::uint64_t>(INT64_MAX))
          return PlistValue{PlistUnsigned{number->unsignedValue}};
        return PlistValue{static_cast<std::int64_t>(number->unsignedValue)};
      case NumberKind::real:
      case NumberKind::other: return PlistValue{PlistReal{number->realValue}};
    }
  }
  if ([object isKindOfClass:[NSDate class]]) {
    NSDate* date = object;
    return PlistValue{PlistDate{date.timeIntervalSinceReferenceDate}};
  }
  if ([object isKindOfClass:[NSData class]]) {
    NSData* data = object;
    return PlistValue{PlistData{std::string(static_cast<const char*>(data.bytes), data.length)}};
  }
  if ([object isKindOfClass:[NSArray class]]) {
    NSArray* array = object;
    PlistArray items;
    for (NSUInteger i = 0; i < array.count; ++i) {
      auto item = plistFrom([array objectAtIndex:i], depth + 1);
      if (!item) return std::nullopt;
      items.push_back(std::move(*item));
    }
    return PlistValue{std::move(items)};
  }
  if ([object isKindOfClass:[NSDictionary class]]) {
    NSDictionary* dictionary = object;
    NSArray* keys = dictionary.allKeys;
    PlistDictionary entries;
    for (NSUInteger i = 0; i < keys.count; ++i) {
      id key = [keys objectAtIndex:i];
      if (![key isKindOfClass:[NSString class]]) return std::nullopt;
      auto item = plistFrom([dictionary objectForKey:key], depth + 1);
      if (!item) return std::nullopt;
      entries.emplace(unitsOf(key), std::move(*item));
    }
    return PlistValue{std::move(entries)};
  }
  return std::nullopt;
}

id _Nonnull objectFrom(const PlistValue& plist) {
  return std::visit(
      [](const auto& v) -> id _Nonnull {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::u16string>) {
          return stringOf(v);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return [NSNumber numberWithLongLong:v];
        } else if constexpr (std::is_same_v<T, PlistUnsigned>) {
          return [NSNumber numberWithUnsignedLongLong:v.value];
        } else if constexpr (std::is_same_v<T, PlistReal>) {
          return [NSNumber numberWithDouble:v.value];
        } else if constexpr (std::is_same_v<T, bool>) {
          return [NSNumber numberWithBool:v];
        } else if constexpr (std::is_same_v<T, PlistDate>) {
          return [NSDate dateWithTimeIntervalSinceReferenceDate:v.sinceReferenceDate];
        } else if constexpr (std::is_same_v<T, PlistData>) {
          return [NSData dataWithBytes:v.bytes.data() length:v.bytes.size()];
        } else if constexpr (std::is_same_v<T, PlistArray>) {
          NSMutableArray* array = [NSMutableArray arrayWithCapacity:v.size()];
          for (const PlistValue& item : v) [array addObject:objectFrom(item)];
          return array;
        } else {
          NSMutableDictionary<NSString*, id>* dictionary = [NSMutableDictionary dictionaryWithCapacity:v.size()];
          for (const auto& [key, item] : v) [dictionary setObject:objectFrom(item) forKey:stringOf(key)];
          return dictionary;
        }
      },
      plist.value);
}

}  // namespace

std::optional<DefaultsValue> StandardUserDefaults::value(const std::string& key) const {
  auto plist = plistFrom([NSUserDefaults.standardUserDefaults objectForKey:makeNSString(key)], 0);
  if (!plist) return std::nullopt;
  return defaultsValue(*plist);
}

void StandardUserDefaults::set(const std::string& key, DefaultsValue value) {
  auto plist = plistValue(value);
  if (!plist) return;
  [NSUserDefaults.standardUserDefaults setObject:objectFrom(*plist) forKey:makeNSString(key)];
}

void StandardUserDefaults::remove(const std::string& key) {
  [NSUserDefaults.standardUserDefaults removeObjectForKey:makeNSString(key)];
}

}  // namespace turnlet::macos
