#import "macos/app/MacLoginItem.h"

#import <ServiceManagement/ServiceManagement.h>

#import "macos/bridge/ErrorBridge.h"

namespace turnlet::macos {

namespace {

// A refusal without an error object still tells the user that nothing changed.
PlatformError refusal(NSError* _Nullable error) {
  if (NSError* reported = error) return platformError(reported);
  return PlatformError("SMAppServiceErrorDomain", 0, "macOS did not change the login item.");
}

}  // namespace

LoginItemStatus MacLoginItem::status() {
  switch (SMAppService.mainAppService.status) {
    case SMAppServiceStatusNotRegistered: return LoginItemStatus::notRegistered;
    case SMAppServiceStatusEnabled: return LoginItemStatus::enabled;
    case SMAppServiceStatusRequiresApproval: return LoginItemStatus::requiresApproval;
    case SMAppServiceStatusNotFound: return LoginItemStatus::notFound;
  }
  return LoginItemStatus::notFound;
}

void MacLoginItem::registerItem() {
  NSError* error = nil;
  if (![SMAppService.mainAppService registerAndReturnError:&error]) throw refusal(error);
}

void MacLoginItem::unregisterItem() {
  NSError* error = nil;
  if (![SMAppService.mainAppService unregisterAndReturnError:&error]) throw refusal(error);
}

void MacLoginItem::openSystemSettings() { [SMAppService openSystemSettingsLoginItems]; }

}  // namespace turnlet::macos
