#include "http/simple_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "http/connection_exceptions.h"

namespace pelmorix {

TIdSimpleBuffer::~TIdSimpleBuffer() { std::free(data_); }

void TIdSimpleBuffer::ReleaseMemory() {
  std::free(data_);
  data_ = nullptr;
  capacity_ = 0;
  size_ = 0;
}

void TIdSimpleBuffer::EnsureCapacity(int64_t size) {
  if (size <= capacity_) return;
  const int64_t capacity = (size + kCapacityStep - 1) / kCapacityStep * kCapacityStep;
  void* grown = std::realloc(data_, static_cast<size_t>(capacity));
  if (grown == nullptr) throw std::bad_alloc();
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
}

void TIdSimpleBuffer::SetSize(int64_t size) {
  if (size <= 0) {
    ReleaseMemory();
    return;
  }
  EnsureCapacity(size);
  size_ = size;
}

void TIdSimpleBuffer::Append(const void* bytes, int64_t count) {
  if (count <= 0) return;
  EnsureCapacity(size_ + count);
  std::memcpy(data_ + size_, bytes, static_cast<size_t>(count));
  size_ += count;
}

void TIdSimpleBuffer::CheckAvailable(int64_t count) const {
  if (count > Size()) throw EIdNotEnoughDataInBuffer("Not enough data in buffer.");
}

void TIdSimpleBuffer::ReportConsumed(int64_t count) {
  if (BytesConsumed) BytesConsumed(this, count);
}

void TIdSimpleBuffer::Discard(int64_t count) {
  if (count <= 0) return;
  CheckAvailable(count);
  if (count == size_) {
    SetSize(0);
  } else {
    std::memmove(data_, data_ + count, static_cast<size_t>(size_ - count));
    size_ -= count;
  }
  ReportConsumed(count);
}

std::string TIdSimpleBuffer::TakeText(int64_t count) {
  if (count <= 0) return "";
  CheckAvailable(count);
  std::string text(Memory(), static_cast<size_t>(count));
  Discard(count);
  return text;
}

}  // namespace pelmorix
