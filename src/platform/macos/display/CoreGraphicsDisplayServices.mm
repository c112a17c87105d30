#import "macos/display/CoreGraphicsDisplayServices.h"

#import <AppKit/AppKit.h>
#import <ColorSync/ColorSync.h>
#import <CoreGraphics/CoreGraphics.h>

#include <limits>

#include "macos/bridge/CFRef.h"
#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/ScreenSpace.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

static_assert(ConfigurationHandles::staleConfigurationError == kCGErrorIllegalArgument);

namespace {

CGDisplayConfigRef configOf(void* stored) { return static_cast<CGDisplayConfigRef>(stored); }

}  // namespace

CoreGraphicsDisplayServices::CoreGraphicsDisplayServices() : observers(NSNotificationCenter.defaultCenter) {}

CoreGraphicsDisplayServices::~CoreGraphicsDisplayServices() {
  for (void* config : configurations.takeAll()) CGCancelDisplayConfiguration(configOf(config));
}

DisplayError CoreGraphicsDisplayServices::onlineDisplayList(std::span<DisplayID> buffer, std::uint32_t& count) {
  const auto capacity = static_cast<uint32_t>(std::min<std::size_t>(buffer.size(), std::numeric_limits<uint32_t>::max()));
  uint32_t reported = 0;
  const CGError error = CGGetOnlineDisplayList(capacity, capacity == 0 ? nullptr : buffer.data(), &reported);
  count = reported;
  return error;
}

Rect CoreGraphicsDisplayServices::bounds(DisplayID id) { return rectFromCG(CGDisplayBounds(id)); }

std::uint32_t CoreGraphicsDisplayServices::vendorNumber(DisplayID id) { return CGDisplayVendorNumber(id); }

bool CoreGraphicsDisplayServices::isBuiltin(DisplayID id) { return CGDisplayIsBuiltin(id) != 0; }

bool CoreGraphicsDisplayServices::isInMirrorSet(DisplayID id) { return CGDisplayIsInMirrorSet(id) != 0; }

DisplayID CoreGraphicsDisplayServices::mainDisplayID() { return CGMainDisplayID(); }

bool CoreGraphicsDisplayServices::isOnline(DisplayID id) { return CGDisplayIsOnline(id) != 0; }

std::optional<std::string> CoreGraphicsDisplayServices::uuidString(DisplayID id) {
  const auto uuid = CFRef<CFUUIDRef>::adopt(CGDisplayCreateUUIDFromDisplayID(id));
  if (!uuid) return std::nullopt;
  const auto text = CFRef<CFStringRef>::adopt(CFUUIDCreateString(kCFAllocatorDefault, uuid.get()));
  if (!text) return std::nullopt;
  return utf8String((__bridge NSString*)text.get());
}

std::optional<PixelSize> CoreGraphicsDisplayServices::currentModePixelSize(DisplayID id) {
  const auto mode = CFRef<CGDisplayModeRef>::adopt(CGDisplayCopyDisplayMode(id));
  if (!mode) return std::nullopt;
  return modePixelSize(true, CGDisplayModeGetPixelWidth(mode.get()), CGDisplayModeGetPixelHeight(mode.get()));
}

std::vector<ScreenInfo> CoreGraphicsDisplayServices::screens() {
  std::vector<ScreenInfo> result;
  NSArray<NSScreen*>* list = NSScreen.screens;
  for (NSUInteger i = 0; i < list.count; ++i) {
    NSScreen* screen = [list objectAtIndex:i];
    ScreenInfo info;
    info.screenNumber = screenNumber(platformNumber([screen.deviceDescription objectForKey:@"NSScreenNumber"]));
    info.localizedName = utf8String(screen.localizedName);
    info.frame = rectFromCG(screen.frame);  // bottom-left origin, as the interface says
    result.push_back(std::move(info));
  }
  return result;
}

DisplayError CoreGraphicsDisplayServices::beginConfiguration(std::optional<DisplayConfiguration>& config) {
  CGDisplayConfigRef made = nullptr;
  const CGError error = CGBeginDisplayConfiguration(&made);
  config = made ? std::optional(configurations.add(made)) : std::nullopt;
  return error;
}

DisplayError CoreGraphicsDisplayServices::configureOrigin(DisplayConfiguration config, DisplayID id, std::int32_t x,
                                                          std::int32_t y) {
  void* open = configurations.find(config);
  if (!open) return ConfigurationHandles::staleConfigurationError;
  return CGConfigureDisplayOrigin(configOf(open), id, x, y);
}

DisplayError CoreGraphicsDisplayServices::completeConfiguration(DisplayConfiguration config, std::uint32_t option) {
  void* open = configurations.take(config);  // ended whether or not completing succeeds
  if (!open) return ConfigurationHandles::staleConfigurationError;
  return CGCompleteDisplayConfiguration(configOf(open), option);
}

DisplayError CoreGraphicsDisplayServices::cancelConfiguration(DisplayConfiguration config) {
  void* open = configurations.take(config);
  if (!open) return ConfigurationHandles::staleConfigurationError;
  return CGCancelDisplayConfiguration(configOf(open));
}

DisplayServices::ObserverToken CoreGraphicsDisplayServices::addScreenParametersObserver(std::function<void()> block) {
  return observers.add(NSApplicationDidChangeScreenParametersNotification, std::move(block));
}

void CoreGraphicsDisplayServices::removeScreenParametersObserver(ObserverToken token) { observers.remove(token); }

}  // namespace turnlet::macos
