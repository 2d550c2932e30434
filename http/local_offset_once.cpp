#include "http/local_offset_once.h"

#include "http/internet_date.h"

namespace pelmorix {

TLocalOffsetOnce::TLocalOffsetOnce(std::function<TDateTime()> query)
    : query_(query ? std::move(query) : LocalOffsetFromUTC) {}

TDateTime TLocalOffsetOnce::Get() {
  if (!known_) {
    offset_ = query_();
    known_ = true;
  }
  return offset_;
}

}  // namespace pelmorix
