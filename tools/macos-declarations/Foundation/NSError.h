#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSErrorDomain /documentation/Foundation/NSErrorDomain
typedef NSString* NSErrorDomain;

// @doc NSError /documentation/Foundation/NSError
@interface NSError : NSObject
// @doc domain /documentation/Foundation/NSError/domain
@property(readonly, copy) NSErrorDomain domain;
// @doc code /documentation/Foundation/NSError/code
@property(readonly) NSInteger code;
// @doc localizedDescription /documentation/Foundation/NSError/localizedDescription
@property(readonly, copy) NSString* localizedDescription;
@end

#pragma clang assume_nonnull end
