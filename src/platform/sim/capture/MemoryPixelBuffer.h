#pragma once

#include <cstdint>
#include <memory>

#include "platform/PixelBuffer.h"

namespace turnlet::sim {

// A pixel buffer in ordinary memory, as the simulated capture service and the simulated GPU's
// textures hold them. The first row starts on a 64-byte boundary. Not thread-safe for writes.
class MemoryPixelBuffer : public PixelBuffer {
 public:
  // bytesPerRow 0 means width × 4 rounded up to 64 bytes, as capture buffers are laid out.
  static std::shared_ptr<MemoryPixelBuffer> make(std::size_t width, std::size_t height, std::size_t bytesPerRow = 0);

  MemoryPixelBuffer(std::size_t width, std::size_t height, std::size_t bytesPerRow);
  ~MemoryPixelBuffer() override;
  MemoryPixelBuffer(const MemoryPixelBuffer&) = delete;
  MemoryPixelBuffer& operator=(const MemoryPixelBuffer&) = delete;

  std::size_t width() const override { return columns; }
  std::size_t height() const override { return rows; }
  // The simulation reads and writes its buffers directly; the platform interface has no address.
  std::size_t bytesPerRow() const { return stride; }
  std::uint8_t* baseAddress() { return bytes; }
  const std::uint8_t* baseAddress() const { return bytes; }

  // A pixel as a 32-bit value: blue in bits 0–7, green 8–15, red 16–23, alpha 24–31.
  std::uint32_t pixel(std::size_t x, std::size_t y) const;
  void setPixel(std::size_t x, std::size_t y, std::uint32_t value);

 private:
  std::size_t columns;
  std::size_t rows;
  std::size_t stride;
  std::uint8_t* bytes;
  std::size_t mapped = 0;  // the bytes mapped from the system; 0: from the allocator
};

// Packs channels into the 32-bit BGRA value of MemoryPixelBuffer::pixel().
constexpr std::uint32_t bgra(std::uint32_t blue, std::uint32_t green, std::uint32_t red, std::uint32_t alpha = 255) {
  return (blue & 255) | (green & 255) << 8 | (red & 255) << 16 | (alpha & 255) << 24;
}

}  // namespace turnlet::sim
