#pragma once

#include <cstdint>

#include "base/stream.h"

namespace pelmorix {

// Standard output as a stream that only grows: what is written cannot be sought, read or cut,
// so the size and the position are the count of bytes written. The bytes go out as they are:
// on Windows the stream puts standard output into binary mode, as the C runtime's text mode
// would put a CR before every LF of a body.
class TStandardOutputStream : public TStream {
 public:
  TStandardOutputStream();
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Sizing ahead and cutting back have nothing to act on.
  void SetSize(int64_t size) override;
  int64_t Size() override { return written_; }

 private:
  int64_t written_ = 0;
};

}  // namespace pelmorix
