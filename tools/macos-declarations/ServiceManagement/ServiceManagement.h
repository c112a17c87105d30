#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

// @doc SMAppServiceStatus /documentation/ServiceManagement/SMAppService/Status-swift.enum
enum SMAppServiceStatus : NSInteger {
  // @doc SMAppServiceStatusNotRegistered /documentation/ServiceManagement/SMAppService/Status-swift.enum/notRegistered
  SMAppServiceStatusNotRegistered = 0,
  // @doc SMAppServiceStatusEnabled /documentation/ServiceManagement/SMAppService/Status-swift.enum/enabled
  SMAppServiceStatusEnabled = 1,
  // @doc SMAppServiceStatusRequiresApproval /documentation/ServiceManagement/SMAppService/Status-swift.enum/requiresApproval
  SMAppServiceStatusRequiresApproval = 2,
  // @doc SMAppServiceStatusNotFound /documentation/ServiceManagement/SMAppService/Status-swift.enum/notFound
  SMAppServiceStatusNotFound = 3,
};

// @doc SMAppService /documentation/ServiceManagement/SMAppService
@interface SMAppService : NSObject
// @doc mainAppService /documentation/ServiceManagement/SMAppService/mainApp
@property(class, readonly) SMAppService* mainAppService;
// @doc status /documentation/ServiceManagement/SMAppService/status-swift.property
@property(readonly) SMAppServiceStatus status;
// @doc registerAndReturnError /documentation/ServiceManagement/SMAppService/register()
- (BOOL)registerAndReturnError:(NSError* _Nullable* _Nullable)error;
// @doc unregisterAndReturnError /documentation/ServiceManagement/SMAppService/unregister()
- (BOOL)unregisterAndReturnError:(NSError* _Nullable* _Nullable)error;
// @doc openSystemSettingsLoginItems /documentation/ServiceManagement/SMAppService/openSystemSettingsLoginItems()
+ (void)openSystemSettingsLoginItems;
@end

#pragma clang assume_nonnull end
