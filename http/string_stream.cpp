#include "http/string_stream.h"

#include <algorithm>
#include <cstring>

#include "base/large_block.h"

namespace pelmorix {

void TStringStream::Reserve(size_t capacity) {
  if (capacity < data_.size() + kLargeReservation) {
    data_.reserve(capacity);
    return;
  }
  // A large text is filled page by page as it arrives; large pages save most of the faults.
  // The new room is advised before the text so far is copied into it, so the copy gains too.
  std::string larger;
  larger.reserve(capacity);
  AdviseLargePages(larger.data(), larger.capacity());
  larger.append(data_);
  data_ = std::move(larger);
}

void TStringStream::Materialise(int64_t end) {
  const auto length = static_cast<size_t>(std::min(end, size_));
  if (length > data_.size()) data_.resize(length);
}

int64_t TStringStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  Materialise(position_ + n);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const char* bytes = static_cast<const char*>(buffer);
  // Implied zeros and a gap after the end are written out first.
  if (static_cast<size_t>(position_) > data_.size()) data_.resize(static_cast<size_t>(position_));
  const auto start = static_cast<size_t>(position_);
  const size_t inside = std::min(data_.size() - start, static_cast<size_t>(count));
  data_.replace(start, inside, bytes, inside);
  const size_t rest = static_cast<size_t>(count) - inside;
  if (rest > 0) {
    // Doubling keeps a text that grows in steps from being copied once per step.
    const size_t needed = data_.size() + rest;
    if (needed > data_.capacity()) Reserve(std::max(needed, 2 * data_.capacity()));
    data_.append(bytes + inside, rest);
  }
  position_ += count;
  size_ = std::max(size_, position_);
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = MemorySeekPosition(position_, size_, offset, origin);
  return position_;
}

void TStringStream::SetSize(int64_t size) {
  size = std::max<int64_t>(0, size);
  if (static_cast<size_t>(size) < data_.size()) {
    data_.resize(static_cast<size_t>(size));
  } else if (static_cast<size_t>(size) > data_.capacity()) {
    Reserve(std::max(static_cast<size_t>(size), 2 * data_.capacity()));
  }
  size_ = size;
  position_ = std::min(position_, size_);
}

std::string TStringStream::TakeDataString() {
  Materialise(size_);
  std::string text = std::move(data_);
  data_.clear();
  size_ = 0;
  position_ = 0;
  return text;
}

}  // namespace pelmorix
