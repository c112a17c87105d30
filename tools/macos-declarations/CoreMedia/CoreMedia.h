#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreVideo/CoreVideo.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CMTimeValue /documentation/CoreMedia/CMTimeValue macOS 10.7
typedef int64_t CMTimeValue;
// @doc CMTimeScale /documentation/CoreMedia/CMTimeScale macOS 10.7
typedef int32_t CMTimeScale;
// @doc CMTimeEpoch /documentation/CoreMedia/CMTimeEpoch macOS 10.7
typedef int64_t CMTimeEpoch;
// @doc CMTimeFlags /documentation/CoreMedia/CMTimeFlags macOS 10.7
typedef uint32_t CMTimeFlags;
enum {
  // @doc kCMTimeFlags_Valid /documentation/CoreMedia/CMTimeFlags/valid macOS 10.7
  kCMTimeFlags_Valid = 1U << 0,
};

// @doc CMTime /documentation/CoreMedia/CMTime macOS 10.7
typedef struct {
  CMTimeValue value;
  CMTimeScale timescale;
  CMTimeFlags flags;
  CMTimeEpoch epoch;
} CMTime;

// @doc CMTimeMake /documentation/CoreMedia/CMTimeMake(value:timescale:) macOS 10.7
CMTime CMTimeMake(int64_t value, int32_t timescale);

// @doc CMSampleBufferRef /documentation/CoreMedia/CMSampleBuffer macOS 10.7
typedef struct __attribute__((objc_bridge(id))) opaqueCMSampleBuffer* CMSampleBufferRef;

// @doc CMSampleBufferIsValid /documentation/CoreMedia/CMSampleBufferIsValid(_:) macOS 10.7
Boolean CMSampleBufferIsValid(CMSampleBufferRef sbuf);
// @doc CMSampleBufferGetSampleAttachmentsArray /documentation/CoreMedia/CMSampleBufferGetSampleAttachmentsArray(_:createIfNecessary:) macOS 10.7
CFArrayRef _Nullable CMSampleBufferGetSampleAttachmentsArray(CMSampleBufferRef sbuf, Boolean createIfNecessary);
// @doc CMSampleBufferGetImageBuffer /documentation/CoreMedia/CMSampleBufferGetImageBuffer(_:) macOS 10.7
CVImageBufferRef _Nullable CMSampleBufferGetImageBuffer(CMSampleBufferRef sbuf);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
