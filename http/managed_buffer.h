#pragma once

#include "http/simple_buffer.h"

namespace pelmorix {

// The connection's input buffer. Bytes are appended at the end and taken from the front by
// moving ConsumedOffset; the remaining bytes move to the front only once 32768 or more have been
// taken, so taking many short lines does not move the buffer each time.
class TIdManagedBuffer : public TIdSimpleBuffer {
 public:
  static constexpr int64_t kPackThreshold = 32768;

  int64_t Size() const override { return size_ - consumedOffset_; }
  char* Memory() override { return data_ + consumedOffset_; }
  int64_t ConsumedOffset() const { return consumedOffset_; }

  void Discard(int64_t count) override;
  // Empties the buffer. Memory of a usual size is kept for the next receive.
  void EmptyBuffer();
  void Compact();

  // Room for count more bytes at the end, for a receive call to fill; CommitTail then adds the
  // bytes it received.
  char* ReserveTail(int64_t count);
  void CommitTail(int64_t count) { size_ += count; }

 private:
  static constexpr int64_t kKeptCapacity = 256 * 1024;

  int64_t consumedOffset_ = 0;
};

}  // namespace pelmorix
