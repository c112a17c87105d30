#pragma once

#import <CoreVideo/CoreVideo.h>

#include "macos/bridge/CFRef.h"
#include "platform/PixelBuffer.h"

namespace turnlet::macos {

// A captured frame: the stream's IOSurface-backed pixel buffer itself, retained, never copied.
// Released on whatever thread lets go of it last (the platform's buffers may end anywhere).
class CoreVideoPixelBuffer final : public PixelBuffer {
 public:
  explicit CoreVideoPixelBuffer(CFRef<CVPixelBufferRef> buffer) : buffer(std::move(buffer)) {}
  std::size_t width() const override { return CVPixelBufferGetWidth(buffer.get()); }
  std::size_t height() const override { return CVPixelBufferGetHeight(buffer.get()); }
  CVPixelBufferRef _Nonnull get() const { return buffer.get(); }

 private:
  CFRef<CVPixelBufferRef> buffer;  // never null
};

}  // namespace turnlet::macos
