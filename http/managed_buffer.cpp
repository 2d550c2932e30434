#include "http/managed_buffer.h"

#include <algorithm>
#include <cstring>

namespace pelmorix {

void TIdManagedBuffer::Discard(int64_t count) {
  if (count <= 0) return;
  CheckAvailable(count);
  if (count == Size()) {
    EmptyBuffer();
  } else {
    consumedOffset_ += count;
  }
  ReportConsumed(count);
}

void TIdManagedBuffer::EmptyBuffer() {
  consumedOffset_ = 0;
  if (capacity_ > kKeptCapacity) {
    ReleaseMemory();
  } else {
    size_ = 0;
  }
}

void TIdManagedBuffer::Compact() {
  const int64_t visible = Size();
  if (consumedOffset_ > 0 && visible > 0) {
    std::memmove(data_, data_ + consumedOffset_, static_cast<size_t>(visible));
  }
  size_ = visible;
  consumedOffset_ = 0;
}

void TIdManagedBuffer::MakeRoom(int64_t count) {
  if (size_ + count <= capacity_) return;
  if (consumedOffset_ >= kPackThreshold) {
    Compact();
    if (size_ + count <= capacity_) return;
  }
  EnsureCapacity(std::max(size_ + count, std::min(kKeptCapacity, 2 * capacity_)));
}

void TIdManagedBuffer::Append(const void* bytes, int64_t count) {
  if (count <= 0) return;
  MakeRoom(count);
  TIdSimpleBuffer::Append(bytes, count);
}

char* TIdManagedBuffer::ReserveTail(int64_t count) {
  MakeRoom(count);
  return data_ + size_;
}

}  // namespace pelmorix
