#include "sim/capture/MemoryPixelBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace turnlet::sim {

namespace {
constexpr std::size_t rowAlignmentBytes = 64;
}

std::shared_ptr<MemoryPixelBuffer> MemoryPixelBuffer::make(std::size_t width, std::size_t height,
                                                           std::size_t bytesPerRow) {
  return std::make_shared<MemoryPixelBuffer>(width, height, bytesPerRow);
}

MemoryPixelBuffer::MemoryPixelBuffer(std::size_t width, std::size_t height, std::size_t bytesPerRow)
    : columns(width), rows(height), stride(bytesPerRow) {
  if (stride == 0) stride = (width * 4 + rowAlignmentBytes - 1) / rowAlignmentBytes * rowAlignmentBytes;
  if (stride < width * 4) throw std::invalid_argument("bytesPerRow smaller than width × 4");
  const std::size_t size = (stride * height + rowAlignmentBytes - 1) / rowAlignmentBytes * rowAlignmentBytes;
  bytes = static_cast<std::uint8_t*>(std::aligned_alloc(rowAlignmentBytes, size == 0 ? rowAlignmentBytes : size));
  if (!bytes) throw std::bad_alloc();
  std::memset(bytes, 0, size);
}

MemoryPixelBuffer::~MemoryPixelBuffer() { std::free(bytes); }

std::uint32_t MemoryPixelBuffer::pixel(std::size_t x, std::size_t y) const {
  std::uint32_t v;
  std::memcpy(&v, bytes + y * stride + x * 4, 4);
  return v;
}

void MemoryPixelBuffer::setPixel(std::size_t x, std::size_t y, std::uint32_t value) {
  std::memcpy(bytes + y * stride + x * 4, &value, 4);
}

}  // namespace turnlet::sim
