#include "http/stream_reservation.h"

#include <algorithm>

namespace pelmorix {

TStreamReservation::TStreamReservation(TStream& stream, int64_t count) : stream_(stream) {
  if (count < 0) return;
  position_ = stream_.Position();
  limit_ = position_ + count;
  reservedEnd_ = position_ + std::min(count, kMostAhead);
  stream_.SetSize(reservedEnd_);
}

void TStreamReservation::BeforeWrite(int64_t count) {
  if (limit_ < 0) return;
  const int64_t end = position_ + count;
  if (end > reservedEnd_ && reservedEnd_ < limit_) {
    reservedEnd_ = std::min(limit_, end + kMostAhead);
    stream_.SetSize(reservedEnd_);
  }
  position_ = end;
}

}  // namespace pelmorix
