#pragma once

#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSExceptionName /documentation/Foundation/NSExceptionName macOS 10.0
typedef NSString* NSExceptionName;

// @doc NSException /documentation/Foundation/NSException macOS 10.0
@interface NSException : NSObject
// @doc name /documentation/Foundation/NSException/name macOS 10.0
@property(readonly, copy) NSExceptionName name;
// @doc reason /documentation/Foundation/NSException/reason macOS 10.0
@property(nullable, readonly, copy) NSString* reason;
@end

#pragma clang assume_nonnull end
