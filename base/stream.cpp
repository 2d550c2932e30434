#include "base/stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pelmorix {

int64_t TStream::Size() {
  const int64_t position = Position();
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream-Lesefehler");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream-Schreibfehler");
}

TMemoryStream::~TMemoryStream() { std::free(data_); }

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_ + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position_ + count;
  if (end > capacity_) SetCapacity(std::max(end, capacity_ + capacity_ / 2));
  std::memcpy(data_ + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

int64_t MemorySeekPosition(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = position;
  if (origin == TSeekOrigin::soEnd) base = size;
  return std::max<int64_t>(0, base + offset);
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = MemorySeekPosition(position_, size_, offset, origin);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  size = std::max<int64_t>(0, size);
  if (size > capacity_) SetCapacity(size);
  size_ = size;
  position_ = std::min(position_, size_);
}

void TMemoryStream::SetCapacity(int64_t capacity) {
  capacity = std::max(capacity, size_);
  if (capacity == capacity_) return;
  if (capacity == 0) {
    std::free(data_);
    data_ = nullptr;
  } else {
    void* grown = std::realloc(data_, static_cast<size_t>(capacity));
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(grown);
  }
  capacity_ = capacity;
}

void TMemoryStream::Clear() {
  size_ = 0;
  position_ = 0;
  SetCapacity(0);
}

}  // namespace pelmorix
