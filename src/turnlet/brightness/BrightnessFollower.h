#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "brightness/BrightnessShade.h"
#include "platform/DisplayServices.h"
#include "platform/LibraryLoader.h"
#include "platform/MainLoop.h"
#include "platform/TextServices.h"
#include "platform/WindowServices.h"
#include "runtime/RepeatingTimer.h"

namespace turnlet {

// Dims the iPad in software to follow the main display's brightness: five times a second it reads
// the brightness and lays a black click-through shade over the iPad display, less steeply than
// proportionally below a quarter of full brightness.
//
// States (status): Off ("Software dimming · Off"); Waiting, no iPad, no timer ("… · Waiting for
// Sidecar"); and, with the iPad found and the timer running, Blocked ("… · Keep your Mac as main
// display"), Unreadable ("Main display brightness is unavailable") or Following ("… · Following
// n%"). Layout changes and a new preferred display re-run the search; each tick re-samples.
//
// It reads brightness, finds displays and makes shades only through its four operations. Main
// loop only; the timer and the layout observer hold the follower weakly.
class BrightnessFollower : public std::enable_shared_from_this<BrightnessFollower> {
  struct Passkey {};

 public:
  struct Destination {
    DisplayID id = 0;
    WindowFrame frame;  // the display's screen
  };
  struct Operations {
    std::function<std::optional<double>(DisplayID)> readBrightness;
    std::function<DisplayID()> mainDisplayID;
    std::function<std::optional<Destination>(std::optional<DisplayID> preferred)> findDestination;
    std::function<std::shared_ptr<BrightnessShade>()> makeShade;
  };

  static constexpr double sampleIntervalSeconds = 0.2;
  static constexpr double sampleToleranceSeconds = 0.04;

  // The ordinary follower: brightness through a DisplayBrightnessReader made with it, the iPad by
  // DisplayInfo::findSidecar and its screen, shades as BrightnessShadeWindows.
  static std::shared_ptr<BrightnessFollower> make(MainLoop& loop, DisplayServices& displays, const TextServices& text,
                                                  WindowServices& windows, LibraryLoader& libraries);
  static std::shared_ptr<BrightnessFollower> make(MainLoop& loop, DisplayServices& displays, Operations operations);
  BrightnessFollower(Passkey, MainLoop& loop, DisplayServices& displays, Operations operations);
  BrightnessFollower(const BrightnessFollower&) = delete;
  BrightnessFollower& operator=(const BrightnessFollower&) = delete;

  void setEnabled(bool enabled);
  bool isEnabled() const { return enabled; }
  const std::string& status() const { return statusText; }
  void refreshDisplays();

  // Set by the owner: called after every change of status.
  std::function<void()> onChange;
  // The display the owner wants treated as the iPad; after changing it while enabled, the owner
  // calls refreshDisplays().
  std::optional<DisplayID> preferredDisplayID;

  const std::optional<Destination>& destination() const { return followed; }

  // The shown share of the picture for brightness b (0 to 1); the shade's opacity is 1 − this.
  static double shownLevel(double brightness);

 private:
  void sample();
  void setStatus(const std::string& text);
  void removeShade();

  MainLoop& loop;
  DisplayServices& displays;
  Operations operations;
  bool enabled = false;
  std::string statusText = "Software dimming · Off";
  std::optional<Destination> followed;
  std::shared_ptr<BrightnessShade> shade;
  std::unique_ptr<RepeatingTimer> timer;
  std::optional<DisplayServices::ObserverToken> screenObserver;
};

}  // namespace turnlet
