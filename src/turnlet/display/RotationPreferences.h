#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "display/QuarterTurn.h"
#include "platform/UserDefaults.h"

namespace turnlet {

// What the program remembers between runs about displays, kept in the user-defaults store: the
// iPad the user chose, the iPad rotated last, and the last rotation of each iPad. Identities are
// DisplayInfo::persistentID strings, never display ids.
//
// A thin view over a store it does not own (the same store serves the rest of the program); it
// keeps no state of its own, so every read sees the latest write. Main loop only.
class RotationPreferences {
 public:
  static constexpr std::string_view preferredDeviceIDKey = "preferredDisplayDeviceID";
  static constexpr std::string_view lastDeviceIDKey = "lastDisplayDeviceID";
  // Dictionary from persistentID to the rotation's raw value in degrees.
  static constexpr std::string_view rotationsByDeviceKey = "displayRotationsByDevice";

  explicit RotationPreferences(UserDefaults& defaults) : defaults(defaults) {}

  // Absent means automatic detection by name. Setting absent removes the key.
  std::optional<std::string> preferredDeviceID() const;
  void setPreferredDeviceID(const std::optional<std::string>& deviceID);

  // The display rotated successfully last; absent when there is no history.
  std::optional<std::string> lastDeviceID() const;
  void setLastDeviceID(const std::optional<std::string>& deviceID);

  // The iPad a Rotate looks for first: the chosen one, else the one rotated last.
  std::optional<std::string> rememberedDeviceID() const;

  // The rotation last used on the device; absent for no or an empty identity, no entry, or an
  // entry that is not one of the four raw values.
  std::optional<QuarterTurn> rotation(const std::optional<std::string>& deviceID) const;
  // Replaces the device's entry (normal is kept as 0); other devices' entries stay. Does nothing
  // for no or an empty identity.
  void remember(QuarterTurn turn, const std::optional<std::string>& deviceID);

 private:
  std::optional<std::string> string(std::string_view key) const;
  void setString(std::string_view key, const std::optional<std::string>& value);

  UserDefaults& defaults;
};

}  // namespace turnlet
