#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreVideo/CoreVideo.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#pragma clang assume_nonnull begin

// @doc CMTimeValue /documentation/CoreMedia/CMTimeValue
typedef int64_t CMTimeValue;
// @doc CMTimeScale /documentation/CoreMedia/CMTimeScale
typedef int32_t CMTimeScale;
// @doc CMTimeEpoch /documentation/CoreMedia/CMTimeEpoch
typedef int64_t CMTimeEpoch;
// @doc CMTimeFlags /documentation/CoreMedia/CMTimeFlags
typedef uint32_t CMTimeFlags;
enum {
  // @doc kCMTimeFlags_Valid /documentation/CoreMedia/CMTimeFlags/valid
  kCMTimeFlags_Valid = 1U << 0,
};

// @doc CMTime /documentation/CoreMedia/CMTime
typedef struct {
  CMTimeValue value;
  CMTimeScale timescale;
  CMTimeFlags flags;
  CMTimeEpoch epoch;
} CMTime;

// @doc CMTimeMake /documentation/CoreMedia/CMTimeMake(value:timescale:)
CMTime CMTimeMake(int64_t value, int32_t timescale);

// @doc CMSampleBufferRef /documentation/CoreMedia/CMSampleBuffer
typedef struct __attribute__((objc_bridge(id))) opaqueCMSampleBuffer* CMSampleBufferRef;

// @doc CMSampleBufferIsValid /documentation/CoreMedia/CMSampleBufferIsValid(_:)
Boolean CMSampleBufferIsValid(CMSampleBufferRef sbuf);
// @doc CMSampleBufferGetSampleAttachmentsArray /documentation/CoreMedia/CMSampleBufferGetSampleAttachmentsArray(_:createIfNecessary:)
CFArrayRef _Nullable CMSampleBufferGetSampleAttachmentsArray(CMSampleBufferRef sbuf, Boolean createIfNecessary);
// @doc CMSampleBufferGetImageBuffer /documentation/CoreMedia/CMSampleBufferGetImageBuffer(_:)
CVImageBufferRef _Nullable CMSampleBufferGetImageBuffer(CMSampleBufferRef sbuf);

#pragma clang assume_nonnull end

#ifdef __cplusplus
}
#endif
