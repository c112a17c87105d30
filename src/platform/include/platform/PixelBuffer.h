#pragma once

#include <cstddef>

namespace turnlet {

// A captured frame: 32-bit BGRA pixels, 8 bits per channel. Shared by reference
// (std::shared_ptr) and released on any thread. The logic reads only its size; the pixels are
// read by the GPU through a texture view (TextureCache), never by the logic, so the interface
// offers no address (the platform hands one out only between a lock and an unlock).
class PixelBuffer {
 public:
  virtual ~PixelBuffer() = default;
  virtual std::size_t width() const = 0;   // pixels
  virtual std::size_t height() const = 0;  // pixels
};

}  // namespace turnlet
