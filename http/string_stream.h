#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/large_block.h"
#include "base/stream.h"

namespace pelmorix {

// A stream whose bytes end up as a text without a copy: writes at the end append to the text,
// and growing the size only reserves room, so no byte is written twice. The bytes between the
// written part and a larger size read as zeros.
class TStringStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  int64_t Size() override { return size_; }

  // Hands the whole content over as the text and leaves the stream empty.
  std::string TakeDataString();

 private:
  // Room from which on the unfilled part of the text is advised onto large pages.
  static constexpr size_t kLargeReservation = size_t{4} * 1024 * 1024;

  // Room for at least needed bytes: twice the room so far when that is more, so that a text
  // growing in steps is not copied once per step. Bytes up to announced are expected to come.
  void MakeRoom(size_t needed, size_t announced = 0);
  void Reserve(size_t capacity, size_t announced);
  // Writes out the implied zeros up to the given end.
  void Materialise(int64_t end);

  std::string data_;  // the first data_.size() bytes; the rest up to size_ are zeros
  int64_t size_ = 0;
  int64_t position_ = 0;
  // Backs the announced part of a large room ahead of the bytes; declared after the text, so
  // that it has stopped before the text's memory is freed.
  TPrefault prefault_;
};

}  // namespace pelmorix
