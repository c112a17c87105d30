#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "display/AppFailure.h"
#include "display/CaseInsensitiveSearch.h"
#include "display/DisplayInfo.h"
#include "sim/DisplayServer.h"
#include "sim/ManualLoop.h"

using namespace turnlet;

namespace {

const std::string kAmbiguous =
    "The selected iPad is unavailable or has an ambiguous device identity. Reconnect it or choose another display.";
const std::string kNoCandidate =
    "Connect your iPad using Sidecar, then press Rotate. If it has a custom name, choose it under Display in the menu "
    "bar.";
const std::string kSeveral = "Choose your iPad under Display in the menu bar.";
const std::string kNotExtended = "Set the iPad to an extended display and keep your Mac as the main display first.";
const std::string kMirrored = "Set Sidecar to Use As Separate Display first.";
const std::string kNotReady = "The iPad display is not ready yet. Try again.";

DisplayInfo macDisplay() {
  DisplayInfo d;
  d.id = 1;
  d.name = "Built-in Retina Display";
  d.bounds = Rect(0, 0, 1440, 900);
  d.vendor = 0x0610;
  d.builtIn = true;
  d.main = true;
  d.persistentID = "MAC-UUID";
  return d;
}

DisplayInfo external(DisplayID id, std::string name, std::optional<std::string> uuid = std::nullopt) {
  DisplayInfo d;
  d.id = id;
  d.name = std::move(name);
  d.bounds = Rect(1440, 0, 1366, 1024);
  d.vendor = 0x0610;
  d.persistentID = std::move(uuid);
  return d;
}

// The sentence the call throws, or "returned <id>" when it returns.
template <typename F>
std::string outcome(F&& find) {
  try {
    return "returned " + std::to_string(find().id);
  } catch (const AppFailure& failure) {
    return failure.localizedDescription();
  }
}

std::string byIdentity(std::optional<std::string> identity, const std::vector<DisplayInfo>& displays) {
  return outcome([&] { return DisplayInfo::findSidecar(identity, displays); });
}

}  // namespace

TEST(TargetDisplay, NameSearchIgnoresCaseWithoutBreakingCharacters) {
  const struct {
    const char* text;
    const char* pattern;
    bool found;
  } rows[] = {
      {"Sidecar Display (AirPlay)", "sidecar", true},
      {"SIDECAR", "sidecar", true},
      {"Anna\u2019s iPad", "ipad", true},
      {"IPAD PRO", "ipad", true},
      {"iPad de Zo\u00E9", "ipad", true},
      {"J\u00FCrgens IPAD", "ipad", true},
      {"\u00C9cran \u00C0 c\u00F4t\u00E9", "ipad", false},
      {"\u00C9CRAN", "\u00E9cran", true},                     // folding beyond ASCII
      {"\u0399\u03A0\u0391\u0394", "\u03B9\u03C0\u03B1\u03B4", true},  // Greek capitals
      {"\u041F\u041B\u0410\u041D\u0428\u0415\u0422", "\u043F\u043B\u0430\u043D", true},  // Cyrillic
      {"\u017Fidecar", "sidecar", true},                      // long s folds to s
      {"\uFF29\uFF30\uFF21\uFF24", "ipad", false},            // fullwidth letters are other letters
      {"i\u0307pad", "ipad", false},                          // a dot above the i makes another letter
      {"ipa\u0064\u0307", "ipad", false},                     // the match would split the last letter
      {"ipad\u0307x", "ipad", false},
      {"x\u0301ipad", "ipad", true},                          // a mark before the match belongs to x
      {"iP\xC3" "ad", "ipad", false},                         // malformed UTF-8 is no letter
      {"\xFF\xFEipad\xC0", "ipad", true},
      {"\xE2\x82", "ipad", false},                            // truncated sequence at the end
      {"ip", "ipad", false},
      {"", "", true},
      {"", "ipad", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(containsCaseInsensitive(row.text, row.pattern), row.found);
  }
}

TEST(TargetDisplay, AGivenIdentityIsTrustedOnlyWhenExactlyOneDisplayCarriesIt) {
  const DisplayInfo monitor = external(2, "LG UltraFine", "MONITOR-UUID");
  const DisplayInfo ipad = external(3, "Sidecar Display", "IPAD-UUID");
  const DisplayInfo noUUID = external(4, "iPad without identity");

  EXPECT_EQ(byIdentity("MONITOR-UUID", {macDisplay(), monitor, ipad}), "returned 2");  // name not consulted
  EXPECT_EQ(byIdentity("IPAD-UUID", {macDisplay(), monitor, ipad}), "returned 3");
  EXPECT_EQ(byIdentity("GONE-UUID", {macDisplay(), monitor, ipad}), kAmbiguous);
  EXPECT_EQ(byIdentity("ipad-uuid", {ipad}), kAmbiguous);  // identities compare exactly
  EXPECT_EQ(byIdentity("", {noUUID}), kAmbiguous);         // no identity never matches
  EXPECT_EQ(byIdentity("IPAD-UUID", {}), kAmbiguous);

  DisplayInfo twin = external(5, "LG UltraFine", "IPAD-UUID");
  EXPECT_EQ(byIdentity("IPAD-UUID", {ipad, twin}), kAmbiguous);  // even though only one is an iPad by name

  // The chosen display is validated, and its failure passed on.
  DisplayInfo mirroredIPad = ipad;
  mirroredIPad.mirrored = true;
  EXPECT_EQ(byIdentity("IPAD-UUID", {mirroredIPad}), kMirrored);
  EXPECT_EQ(byIdentity("MAC-UUID", {macDisplay(), ipad}), kNotExtended);
}

TEST(TargetDisplay, WithoutIdentityTheNameDecides) {
  const DisplayInfo mac = macDisplay();
  const DisplayInfo monitor = external(2, "DELL U2720Q");
  const DisplayInfo sidecar = external(3, "Sidecar Display");
  const DisplayInfo ipad = external(4, "Anna's iPad");
  DisplayInfo builtInSidecar = external(5, "SIDECAR PANEL");
  builtInSidecar.builtIn = true;
  DisplayInfo ownByName = external(6, "Turnlet Desktop");
  DisplayInfo ownByVendor = external(7, "iPad (Turnlet)");
  ownByVendor.vendor = 0x544C;

  EXPECT_EQ(byIdentity(std::nullopt, {mac, monitor, sidecar}), "returned 3");
  EXPECT_EQ(byIdentity(std::nullopt, {mac, monitor, ipad}), "returned 4");
  EXPECT_EQ(byIdentity(std::nullopt, {mac, sidecar, ipad}), kSeveral);
  EXPECT_EQ(byIdentity(std::nullopt, {mac, monitor}), kNoCandidate);
  EXPECT_EQ(byIdentity(std::nullopt, {}), kNoCandidate);
  EXPECT_EQ(byIdentity(std::nullopt, {mac, builtInSidecar}), kNoCandidate);
  EXPECT_EQ(byIdentity(std::nullopt, {ownByName, ownByVendor, sidecar}), "returned 3");
  EXPECT_EQ(byIdentity(std::nullopt, {ownByVendor}), kNoCandidate);

  // Main is not a reason to skip a candidate; validation rejects it afterwards.
  DisplayInfo mainIPad = ipad;
  mainIPad.main = true;
  EXPECT_EQ(byIdentity(std::nullopt, {mainIPad}), kNotExtended);
  EXPECT_EQ(byIdentity(std::nullopt, {mainIPad, sidecar}), kSeveral);
}

TEST(TargetDisplay, ValidationChecksInOrder) {
  const auto check = [](DisplayInfo display) {
    try {
      display.validate();
      return std::string("valid");
    } catch (const AppFailure& failure) {
      return failure.message();
    }
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const DisplayInfo ipad = external(3, "Sidecar Display");
  struct Row {
    const char* name;
    std::function<void(DisplayInfo&)> change;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"extended iPad", [](DisplayInfo&) {}, "valid"},
      {"built in", [](DisplayInfo& d) { d.builtIn = true; }, kNotExtended},
      {"main", [](DisplayInfo& d) { d.main = true; }, kNotExtended},
      {"own by name", [](DisplayInfo& d) { d.name = "Turnlet Desktop"; }, kNotExtended},
      {"own by vendor", [](DisplayInfo& d) { d.vendor = 0x544C; }, kNotExtended},
      {"mirrored", [](DisplayInfo& d) { d.mirrored = true; }, kMirrored},
      {"mirrored and main", [](DisplayInfo& d) { d.mirrored = d.main = true; }, kNotExtended},
      {"mirrored and empty", [](DisplayInfo& d) { d.mirrored = true, d.bounds = Rect(); }, kMirrored},
      {"zero width", [](DisplayInfo& d) { d.bounds.size.width = 0; }, kNotReady},
      {"zero height", [](DisplayInfo& d) { d.bounds.size.height = 0; }, kNotReady},
      {"negative width", [](DisplayInfo& d) { d.bounds.size.width = -1366; }, kNotReady},
      {"NaN height", [&](DisplayInfo& d) { d.bounds.size.height = nan; }, kNotReady},
      {"offline (zero bounds)", [](DisplayInfo& d) { d.bounds = Rect(); }, kNotReady},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayInfo display = ipad;
    row.change(display);
    EXPECT_EQ(check(display), row.expected);
  }
}

TEST(TargetDisplay, ByDisplayIDFromAFreshSnapshot) {
  sim::ManualLoop loop;
  sim::DisplayServer server(loop);
  const auto simDisplay = [](DisplayID id, std::string name, Rect bounds) {
    sim::SimDisplay d;
    d.id = id, d.name = std::move(name), d.bounds = bounds;
    return d;
  };
  sim::SimDisplay mac = simDisplay(1, "Built-in Retina Display", Rect(0, 0, 1440, 900));
  mac.builtIn = true;
  server.setUp({mac, simDisplay(2, "DELL U2720Q", Rect(-2560, 0, 2560, 1440)),
                simDisplay(3, "Sidecar Display", Rect(1440, 0, 1366, 1024))},
               1);
  const auto byID = [&](std::optional<DisplayID> id) {
    return outcome([&] { return DisplayInfo::findSidecar(server, id); });
  };

  EXPECT_EQ(byID(2), "returned 2");          // an online id is taken whatever its name
  EXPECT_EQ(byID(1), kNotExtended);          // and validated
  EXPECT_EQ(byID(std::nullopt), "returned 3");
  EXPECT_EQ(byID(99), "returned 3");         // gone offline: back to the name

  server.disconnect(3);
  EXPECT_EQ(byID(3), kNoCandidate);
  const DisplayID again = server.reconnect(3);
  EXPECT_EQ(byID(3), "returned " + std::to_string(again));

  server.failListCount = -1;  // no snapshot at all
  EXPECT_EQ(byID(again), kNoCandidate);
}
