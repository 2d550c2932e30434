#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "http/id_http.h"

namespace pelmorix {

// Where the bar stands after `received` of `length` announced bytes, within a file's share of
// the scale from `from` up to `to`; a body of unknown length (length below 1) leaves it at
// `from`.
int BarWithinFile(int from, int to, int64_t received, int64_t length);

// One file's download on the client: its read progress moves the bar within the file's share,
// and at most once per interval the window's messages run through `letMessagesRun`, which may
// end the download by raising. The client's work handlers are back as they were afterwards.
class TDownloadProgress {
 public:
  TDownloadProgress(TIdHTTP& http, int from, int to, std::function<void(int)> showProgress,
                    std::function<void()> letMessagesRun,
                    std::chrono::milliseconds interval = std::chrono::milliseconds(50));
  ~TDownloadProgress();
  TDownloadProgress(const TDownloadProgress&) = delete;
  TDownloadProgress& operator=(const TDownloadProgress&) = delete;

 private:
  void Begin();
  void Advance(int64_t received);

  TIdHTTP& http_;
  int from_;
  int to_;
  std::function<void(int)> show_progress_;
  std::function<void()> let_messages_run_;
  std::chrono::milliseconds interval_;
  TWorkBeginEvent outer_begin_;
  TWorkEvent outer_work_;
  int64_t length_ = -1;
  int shown_ = -1;
  std::chrono::steady_clock::time_point last_messages_;
};

}  // namespace pelmorix
