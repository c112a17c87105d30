#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSErrorDomain /documentation/Foundation/NSErrorDomain macOS 10.0
typedef NSString* NSErrorDomain;

// @doc NSError /documentation/Foundation/NSError macOS 10.0
@interface NSError : NSObject
// @doc domain /documentation/Foundation/NSError/domain macOS 10.0
@property(readonly, copy) NSErrorDomain domain;
// @doc code /documentation/Foundation/NSError/code macOS 10.0
@property(readonly) NSInteger code;
// @doc localizedDescription /documentation/Foundation/NSError/localizedDescription macOS 10.0
@property(readonly, copy) NSString* localizedDescription;
@end

#pragma clang assume_nonnull end
