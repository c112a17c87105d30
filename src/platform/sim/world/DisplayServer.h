#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayServices.h"
#include "platform/MainLoop.h"

namespace turnlet::sim {

// One simulated display as the window server knows it.
struct SimDisplay {
  DisplayID id = 0;
  std::string name;
  Rect bounds;
  std::uint32_t vendor = 0;
  std::uint32_t product = 0;
  std::uint32_t serial = 0;
  bool builtIn = false;
  bool mirrored = false;
  std::optional<std::string> uuid = std::nullopt;
  bool hasScreen = true;
  double scale = 2;  // pixels per point of the current mode; 0 means the display has no mode
  bool isVirtual = false;  // made by a program, standing in for the display its window is on
};

// What a completed configuration transaction did.
struct LayoutChange {
  std::vector<std::pair<DisplayID, Point>> origins;
};

// The simulated displays and screens behind DisplayServices, with the hooks a test needs to
// change the hardware under the program (connect, disconnect, resize, fail a call) and to read
// back what the program did (completed layouts, notifications).
//
// Every change of the display set or geometry posts one screen-parameters notification on the
// main loop. The user's arrangement (origins set up, connected or moved by the hardware hooks)
// is kept apart from the changes the program makes for itself (configurations completed with
// option 0): a display that reconnects comes back where the user's arrangement had it. Main
// loop only.
class DisplayServer : public DisplayServices {
 public:
  explicit DisplayServer(MainLoop& loop);
  ~DisplayServer() override;

  // DisplayServices
  DisplayError onlineDisplayList(std::span<DisplayID> buffer, std::uint32_t& count) override;
  Rect bounds(DisplayID id) override;
  std::uint32_t vendorNumber(DisplayID id) override;
  bool isBuiltin(DisplayID id) override;
  bool isInMirrorSet(DisplayID id) override;
  DisplayID mainDisplayID() override;
  bool isOnline(DisplayID id) override;
  std::optional<std::string> uuidString(DisplayID id) override;
  std::optional<PixelSize> currentModePixelSize(DisplayID id) override;
  std::vector<ScreenInfo> screens() override;
  DisplayError beginConfiguration(std::optional<DisplayConfiguration>& config) override;
  DisplayError configureOrigin(DisplayConfiguration config, DisplayID id, std::int32_t x, std::int32_t y) override;
  DisplayError completeConfiguration(DisplayConfiguration config, std::uint32_t option) override;
  DisplayError cancelConfiguration(DisplayConfiguration config) override;
  ObserverToken addScreenParametersObserver(std::function<void()> block) override;
  void removeScreenParametersObserver(ObserverToken token) override;

  // The displays present when the system starts; posts nothing.
  void setUp(std::vector<SimDisplay> displays, DisplayID main);

  // Hardware changes.
  void connect(SimDisplay display);           // appended to the online list
  void disconnect(DisplayID id);              // removed; its UUID is kept for a reconnection
  DisplayID reconnect(DisplayID id);          // same display and UUID under a fresh id
  void setBounds(DisplayID id, Rect bounds);  // a move or a resize
  void setMain(DisplayID id);
  void setMirrored(DisplayID id, bool mirrored);
  void setHasScreen(DisplayID id, bool hasScreen);
  DisplayID nextFreeID() const;
  // An id no display has or will be given by nextFreeID(), for a display that connects later.
  DisplayID reserveID();

  const SimDisplay* find(DisplayID id) const;
  std::vector<SimDisplay> displays() const { return online; }

  // Faults.
  std::optional<DisplayError> failListCount;  // the counting call fails
  std::optional<DisplayError> failListFill;   // the filling call fails
  // Runs between the counting and the filling call of the list (a display vanishes, say).
  std::function<void()> betweenListCalls;
  // Replaces the screen list the window server reports (for malformed or duplicate entries).
  std::optional<std::vector<ScreenInfo>> screenListOverride;
  std::optional<DisplayError> failBegin;
  bool beginWithoutConfiguration = false;
  // Makes the n-th configureOrigin call (0-based) of the next transactions fail with the code.
  std::optional<std::pair<int, DisplayError>> failOrigin;
  std::optional<DisplayError> failComplete;

  // Observations.
  const std::vector<LayoutChange>& completedLayouts() const { return layouts; }
  int notificationCount() const { return notifications; }
  int cancelledConfigurations() const { return cancelled; }
  bool configurationOpen() const { return open.has_value(); }
  // Calls made with a configuration that is not open: one already completed (successfully or
  // not) or cancelled, or never begun. On the real system such a handle is dead and using it
  // crashes; here the call fails with kCGErrorIllegalArgument and is counted.
  int deadConfigurationUses() const { return deadUses; }

 private:
  SimDisplay* findMutable(DisplayID id);
  bool isOpen(DisplayConfiguration config);  // counts a dead use when not
  void notifyScreenParameters();

  MainLoop& loop;
  std::vector<SimDisplay> online;
  std::vector<SimDisplay> offline;
  std::map<DisplayID, Point> arranged;  // the user's arrangement, by online display
  DisplayID mainID = 0;
  DisplayID highestReserved = 0;

  struct OpenConfiguration {
    DisplayConfiguration handle;
    std::vector<std::pair<DisplayID, Point>> origins;
    int originCalls = 0;
  };
  std::optional<OpenConfiguration> open;
  DisplayConfiguration nextConfiguration = 1;
  std::vector<LayoutChange> layouts;
  int cancelled = 0;
  int deadUses = 0;

  std::map<ObserverToken, std::function<void()>> observers;
  ObserverToken nextToken = 1;
  int notifications = 0;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace turnlet::sim
