#include "http/string_stream.h"

#include <algorithm>
#include <cstring>

namespace pelmorix {

void TStringStream::MakeRoom(size_t needed, size_t announced) {
  if (needed > data_.capacity()) Reserve(std::max(needed, 2 * data_.capacity()), announced);
}

void TStringStream::Reserve(size_t capacity, size_t announced) {
  if (capacity < data_.size() + kLargeReservation) {
    data_.reserve(capacity);
    return;
  }
  // A large text is filled page by page as it arrives; large pages save most of the faults.
  // The new room is advised before the text so far is copied into it, so the copy gains too.
  prefault_.Stop();
  {
    std::string larger;
    larger.reserve(capacity);
    AdviseLargePages(larger.data(), larger.capacity());
    larger.append(data_);
    data_ = std::move(larger);
  }  // the old room is freed here, before any more memory is backed
  // The pages of what is announced are cleared beside the fill rather than in it.
  if (announced > data_.size()) {
    prefault_.Start(data_.data() + data_.size(), announced - data_.size());
  }
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
    MakeRoom(data_.size() + rest);
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
  } else {
    MakeRoom(static_cast<size_t>(size), static_cast<size_t>(size));
  }
  size_ = size;
  position_ = std::min(position_, size_);
}

std::string TStringStream::TakeDataString() {
  prefault_.Stop();
  Materialise(size_);
  std::string text = std::move(data_);
  data_.clear();
  size_ = 0;
  position_ = 0;
  return text;
}

}  // namespace pelmorix
