#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc SMAppServiceStatus /documentation/ServiceManagement/SMAppService/Status-swift.enum macOS 13.0
enum SMAppServiceStatus : NSInteger {
  // @doc SMAppServiceStatusNotRegistered /documentation/ServiceManagement/SMAppService/Status-swift.enum/notRegistered macOS 13.0
  SMAppServiceStatusNotRegistered = 0,
  // @doc SMAppServiceStatusEnabled /documentation/ServiceManagement/SMAppService/Status-swift.enum/enabled macOS 13.0
  SMAppServiceStatusEnabled = 1,
  // @doc SMAppServiceStatusRequiresApproval /documentation/ServiceManagement/SMAppService/Status-swift.enum/requiresApproval macOS 10.6
  SMAppServiceStatusRequiresApproval = 2,
  // @doc SMAppServiceStatusNotFound /documentation/ServiceManagement/SMAppService/Status-swift.enum/notFound macOS 13.0
  SMAppServiceStatusNotFound = 3,
};

// @doc SMAppService /documentation/ServiceManagement/SMAppService macOS 13.0
@interface SMAppService : NSObject
// @doc mainAppService /documentation/ServiceManagement/SMAppService/mainApp macOS 13.0
@property(class, readonly) SMAppService* mainAppService;
// @doc status /documentation/ServiceManagement/SMAppService/status-swift.property macOS 13.0
@property(readonly) SMAppServiceStatus status;
// @doc registerAndReturnError /documentation/ServiceManagement/SMAppService/register() macOS 13.0
- (BOOL)registerAndReturnError:(NSError* _Nullable* _Nullable)error;
// @doc unregisterAndReturnError /documentation/ServiceManagement/SMAppService/unregister() macOS 13.0
- (BOOL)unregisterAndReturnError:(NSError* _Nullable* _Nullable)error;
// @doc openSystemSettingsLoginItems /documentation/ServiceManagement/SMAppService/openSystemSettingsLoginItems() macOS 13.0
+ (void)openSystemSettingsLoginItems;
@end

#pragma clang assume_nonnull end
