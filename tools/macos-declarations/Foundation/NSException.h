#pragma once

#include <Foundation/NSString.h>

#pragma clang assume_nonnull begin

// @doc NSExceptionName /documentation/Foundation/NSExceptionName
typedef NSString* NSExceptionName;

// @doc NSException /documentation/Foundation/NSException
@interface NSException : NSObject
// @doc name /documentation/Foundation/NSException/name
@property(readonly, copy) NSExceptionName name;
// @doc reason /documentation/Foundation/NSException/reason
@property(nullable, readonly, copy) NSString* reason;
@end

#pragma clang assume_nonnull end
