#pragma once

#include <cstdint>

#include "base/stream.h"

namespace pelmorix {

// Sizes a stream ahead of a known count of bytes to come, but never more than 64 MiB ahead of
// the bytes actually written: a reply that announces gigabytes and sends a few bytes must not
// make a memory stream claim gigabytes first.
class TStreamReservation {
 public:
  static constexpr int64_t kMostAhead = int64_t{64} * 1024 * 1024;

  // A count below 0 reserves nothing.
  TStreamReservation(TStream& stream, int64_t count);
  // Before count more bytes are written at the stream's position.
  void BeforeWrite(int64_t count);

 private:
  TStream& stream_;
  int64_t position_ = 0;
  int64_t limit_ = -1;
  int64_t reservedEnd_ = 0;
};

}  // namespace pelmorix
