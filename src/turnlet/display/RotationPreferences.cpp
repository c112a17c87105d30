#include "display/RotationPreferences.h"

namespace turnlet {

std::optional<std::string> RotationPreferences::preferredDeviceID() const { return string(preferredDeviceIDKey); }

void RotationPreferences::setPreferredDeviceID(const std::optional<std::string>& deviceID) {
  setString(preferredDeviceIDKey, deviceID);
}

std::optional<std::string> RotationPreferences::lastDeviceID() const { return string(lastDeviceIDKey); }

void RotationPreferences::setLastDeviceID(const std::optional<std::string>& deviceID) {
  setString(lastDeviceIDKey, deviceID);
}

std::optional<std::string> RotationPreferences::rememberedDeviceID() const {
  auto device = preferredDeviceID();
  return device ? device : lastDeviceID();
}

std::optional<QuarterTurn> RotationPreferences::rotation(const std::optional<std::string>& deviceID) const {
  if (!deviceID || deviceID->empty()) return std::nullopt;
  const std::optional<DefaultsValue> stored = defaults.value(std::string(rotationsByDeviceKey));
  const DefaultsDictionary* rotations = stored ? stored->asDictionary() : nullptr;
  if (!rotations) return std::nullopt;
  auto entry = rotations->find(*deviceID);
  if (entry == rotations->end()) return std::nullopt;
  const std::int64_t* degrees = entry->second.asInteger();
  if (!degrees) return std::nullopt;
  return quarterTurnFromRawValue(*degrees);
}

void RotationPreferences::remember(QuarterTurn turn, const std::optional<std::string>& deviceID) {
  if (!deviceID || deviceID->empty()) return;
  const std::string key(rotationsByDeviceKey);
  DefaultsDictionary rotations;
  // A value of another type under the key is not a dictionary of rotations: start afresh.
  if (std::optional<DefaultsValue> stored = defaults.value(key)) {
    if (const DefaultsDictionary* existing = stored->asDictionary()) rotations = *existing;
  }
  rotations[*deviceID] = DefaultsValue{std::int64_t{rawValue(turn)}};
  defaults.set(key, DefaultsValue{std::move(rotations)});
}

std::optional<std::string> RotationPreferences::string(std::string_view key) const {
  const std::optional<DefaultsValue> stored = defaults.value(std::string(key));
  if (!stored) return std::nullopt;
  if (const std::string* text = stored->asString()) return *text;
  return std::nullopt;
}

void RotationPreferences::setString(std::string_view key, const std::optional<std::string>& value) {
  if (value)
    defaults.set(std::string(key), DefaultsValue{*value});
  else
    defaults.remove(std::string(key));
}

}  // namespace turnlet
