#include "sim/capture/MemoryPixelBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include <sys/mman.h>

namespace turnlet::sim {

namespace {
constexpr std::size_t rowAlignmentBytes = 64;
// Pictures at least this large are mapped from the system and unmapped when freed: the allocator
// would keep a freed picture of many megabytes for later (its threshold for mapping rises to the
// largest block freed), and the memory a drag took would stay taken once all is still. Smaller
// ones come from the allocator, where the address sanitizer watches their edges.
constexpr std::size_t mappedFromBytes = 4 << 20;
}  // namespace

std::shared_ptr<MemoryPixelBuffer> MemoryPixelBuffer::make(std::size_t width, std::size_t height,
                                                           std::size_t bytesPerRow) {
  return std::make_shared<MemoryPixelBuffer>(width, height, bytesPerRow);
}

MemoryPixelBuffer::MemoryPixelBuffer(std::size_t width, std::size_t height, std::size_t bytesPerRow)
    : columns(width), rows(height), stride(bytesPerRow) {
  if (stride == 0) stride = (width * 4 + rowAlignmentBytes - 1) / rowAlignmentBytes * rowAlignmentBytes;
  if (stride < width * 4) throw std::invalid_argument("bytesPerRow smaller than width × 4");
  const std::size_t size = (stride * height + rowAlignmentBytes - 1) / rowAlignmentBytes * rowAlignmentBytes;
  if (size >= mappedFromBytes) {
    void* pages = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    bytes = static_cast<std::uint8_t*>(pages);  // zeroed, and page-aligned
    mapped = size;
    return;
  }
  bytes = static_cast<std::uint8_t*>(std::aligned_alloc(rowAlignmentBytes, size == 0 ? rowAlignmentBytes : size));
  if (!bytes) throw std::bad_alloc();
  std::memset(bytes, 0, size);
}

MemoryPixelBuffer::~MemoryPixelBuffer() {
  if (mapped) {
    munmap(bytes, mapped);
  } else {
    std::free(bytes);
  }
}

std::uint32_t MemoryPixelBuffer::pixel(std::size_t x, std::size_t y) const {
  std::uint32_t v;
  std::memcpy(&v, bytes + y * stride + x * 4, 4);
  return v;
}

void MemoryPixelBuffer::setPixel(std::size_t x, std::size_t y, std::uint32_t value) {
  std::memcpy(bytes + y * stride + x * 4, &value, 4);
}

}  // namespace turnlet::sim
