#include "http/managed_buffer.h"

#include <cstring>

namespace pelmorix {

void TIdManagedBuffer::Discard(int64_t count) {
  if (count <= 0) return;
  CheckAvailable(count);
  if (count == Size()) {
    EmptyBuffer();
  } else {
    consumedOffset_ += count;
    if (consumedOffset_ >= kPackThreshold) Compact();
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

char* TIdManagedBuffer::ReserveTail(int64_t count) {
  EnsureCapacity(size_ + count);
  return data_ + size_;
}

}  // namespace pelmorix
