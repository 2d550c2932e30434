#include "launcher/download_progress.h"

#include <algorithm>

#include "http/http_response.h"
#include "http/reply_framing.h"

namespace pelmorix {

int BarWithinFile(int from, int to, int64_t received, int64_t length) {
  if (length < 1 || received <= 0) return from;
  if (received >= length) return to;
  // Rounded down, so the next file's value is reached only when this file is whole.
  return from + static_cast<int>(static_cast<double>(to - from) * static_cast<double>(received) /
                                 static_cast<double>(length));
}

TDownloadProgress::TDownloadProgress(TIdHTTP& http, int from, int to,
                                     std::function<void(int)> showProgress,
                                     std::function<void()> letMessagesRun,
                                     std::chrono::milliseconds interval)
    : http_(http),
      from_(from),
      to_(to),
      show_progress_(std::move(showProgress)),
      let_messages_run_(std::move(letMessagesRun)),
      interval_(interval),
      outer_begin_(http.OnWorkBegin),
      outer_work_(http.OnWork),
      last_messages_(std::chrono::steady_clock::now()) {
  http_.OnWorkBegin = [this](TIdComponent* sender, TWorkMode mode, int64_t max) {
    if (outer_begin_) outer_begin_(sender, mode, max);
    if (mode == wmRead) Begin();
  };
  http_.OnWork = [this](TIdComponent* sender, TWorkMode mode, int64_t count) {
    if (outer_work_) outer_work_(sender, mode, count);
    if (mode == wmRead) Advance(count);
  };
}

TDownloadProgress::~TDownloadProgress() {
  http_.OnWorkBegin = outer_begin_;
  http_.OnWork = outer_work_;
}

void TDownloadProgress::Begin() {
  // Only a length the reply announces counts; a chunked body reports each chunk as a phase of
  // its own, and a body read until the close has none.
  // The body reader has framed this reply already, so the headers frame it without a fault.
  const TIdReplyFraming framing = ReplyFraming(http_.Response().HeaderLines);
  length_ = framing.Kind == TIdReplyFraming::kLength ? framing.Length : -1;
}

void TDownloadProgress::Advance(int64_t received) {
  const int position = BarWithinFile(from_, to_, received, length_);
  if (position != shown_) {
    shown_ = position;
    show_progress_(position);
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - last_messages_ < interval_) return;
  last_messages_ = now;
  let_messages_run_();
}

}  // namespace pelmorix
