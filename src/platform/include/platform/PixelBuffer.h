#pragma once

#include <cstddef>
#include <cstdint>

namespace turnlet {

// A captured frame: 32-bit BGRA pixels, 8 bits per channel (blue in the lowest byte of a
// little-endian 32-bit word). Rows are bytesPerRow() apart, which may exceed width() × 4.
// Shared by reference (std::shared_ptr); whoever holds a reference may read the pixels. The
// producer writes a buffer only before handing it out.
class PixelBuffer {
 public:
  virtual ~PixelBuffer() = default;
  virtual std::size_t width() const = 0;        // pixels
  virtual std::size_t height() const = 0;       // pixels
  virtual std::size_t bytesPerRow() const = 0;  // bytes
  virtual std::uint8_t* baseAddress() = 0;
  virtual const std::uint8_t* baseAddress() const = 0;
};

}  // namespace turnlet
