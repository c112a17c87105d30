// Choosing the iPad among the online displays and checking that it can be rotated now.

#include <algorithm>

#include "display/AppFailure.h"
#include "display/DisplayInfo.h"

namespace turnlet {

namespace {

constexpr const char* kAmbiguousIdentity =
    "The selected iPad is unavailable or has an ambiguous device identity. Reconnect it or choose another display.";
constexpr const char* kNoCandidate =
    "Connect your iPad using Sidecar, then press Rotate. If it has a custom name, choose it under Display in the "
    "menu bar.";
constexpr const char* kSeveralCandidates = "Choose your iPad under Display in the menu bar.";
constexpr const char* kNotExtended = "Set the iPad to an extended display and keep your Mac as the main display first.";
constexpr const char* kMirrored = "Set Sidecar to Use As Separate Display first.";
constexpr const char* kNotReady = "The iPad display is not ready yet. Try again.";

// The main flag is not looked at here: a main display that passes is rejected by validate().
bool isSidecarCandidate(const TextServices& text, const DisplayInfo& display) {
  if (display.builtIn || display.isOwnVirtualDisplay()) return false;
  return text.localizedCaseInsensitiveContains(display.name, "sidecar") ||
         text.localizedCaseInsensitiveContains(display.name, "ipad");
}

DisplayInfo findByName(const TextServices& text, const std::vector<DisplayInfo>& displays) {
  const DisplayInfo* found = nullptr;
  for (const DisplayInfo& display : displays) {
    if (!isSidecarCandidate(text, display)) continue;
    if (found) throw AppFailure(kSeveralCandidates);
    found = &display;
  }
  if (!found) throw AppFailure(kNoCandidate);
  found->validate();
  return *found;
}

}  // namespace

DisplayInfo DisplayInfo::findSidecar(const TextServices& text, const std::optional<std::string>& preferredDeviceID,
                                     const std::vector<DisplayInfo>& among) {
  if (!preferredDeviceID) return findByName(text, among);
  const auto matches = std::count_if(among.begin(), among.end(), [&](const DisplayInfo& display) {
    return display.persistentID && *display.persistentID == *preferredDeviceID;
  });
  if (matches != 1) throw AppFailure(kAmbiguousIdentity);
  const DisplayInfo& chosen = *std::find_if(among.begin(), among.end(), [&](const DisplayInfo& display) {
    return display.persistentID && *display.persistentID == *preferredDeviceID;
  });
  chosen.validate();
  return chosen;
}

DisplayInfo DisplayInfo::findSidecar(DisplayServices& services, const TextServices& text,
                                     std::optional<DisplayID> preferredID) {
  const std::vector<DisplayInfo> displays = online(services);
  if (preferredID) {
    auto it = std::find_if(displays.begin(), displays.end(),
                           [&](const DisplayInfo& display) { return display.id == *preferredID; });
    if (it != displays.end()) {
      it->validate();
      return *it;
    }
  }
  return findByName(text, displays);
}

void DisplayInfo::validate() const {
  if (builtIn || main || isOwnVirtualDisplay()) throw AppFailure(kNotExtended);
  if (mirrored) throw AppFailure(kMirrored);
  // Also rejects NaN sizes: the comparison is false for them.
  if (!(bounds.size.width > 0) || !(bounds.size.height > 0)) throw AppFailure(kNotReady);
}

}  // namespace turnlet
