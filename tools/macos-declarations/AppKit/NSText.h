#pragma once

#include <Foundation/Foundation.h>

// @doc NSTextAlignment /documentation/AppKit/NSTextAlignment macOS 10.0
typedef enum NSTextAlignment : NSInteger {
#if defined(__arm64__) || defined(__aarch64__)
  // @doc NSTextAlignmentCenter /documentation/AppKit/NSTextAlignment/center macOS 10.0
  NSTextAlignmentCenter = 1,
#else
  // The SDK numbers centre differently on Intel Macs.
  // @doc NSTextAlignmentCenter /documentation/AppKit/NSTextAlignment/center macOS 10.0
  NSTextAlignmentCenter = 2,
#endif
} NSTextAlignment;

// @doc NSLineBreakMode /documentation/AppKit/NSLineBreakMode macOS 10.0
typedef enum NSLineBreakMode : NSUInteger {
  // @doc NSLineBreakByWordWrapping /documentation/AppKit/NSLineBreakMode/byWordWrapping macOS 10.0
  NSLineBreakByWordWrapping = 0,
  // @doc NSLineBreakByTruncatingTail /documentation/AppKit/NSLineBreakMode/byTruncatingTail macOS 10.0
  NSLineBreakByTruncatingTail = 4,
} NSLineBreakMode;
