#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "http/connection_exceptions.h"
#include "http/io_handler.h"

namespace pelmorix {

// A transport that plays a fixed text as everything the server sends. Each receive hands out
// the next piece, sized by the byte it starts at, so lines and bodies arrive split at varied
// places; the end of the text is the server's close. A connection opened again continues where
// the last one ended. Nothing waits and no thread is started, so no input can make it hang.
class TPlayedTransport : public TIdIOHandler {
 public:
  TPlayedTransport(TIdSocketLayer& layer, std::string_view played)
      : TIdIOHandler(layer), played_(played) {}

  void PrepareTransport() override { open_ = true; }
  void EstablishTo(const std::string&, int, int, int, int, int, const std::string&) override {
    connected_ = true;
    ++connects_;
  }
  bool HasSocket() override { return connected_; }
  void ShutTransport() override {
    open_ = false;
    connected_ = false;
  }
  // Either bytes or the close are always there to be read.
  bool WaitReadable(int) override { return true; }
  int ReceiveSome(void* buffer, int length) override {
    if (!connected_) throw EIdClosedSocket("Disconnected.");
    const size_t left = played_.size() - position_;
    if (left == 0 || length <= 0) return 0;
    const size_t piece = 1 + static_cast<unsigned char>(played_[position_]) % kLongestPiece;
    const size_t count = std::min({piece, left, static_cast<size_t>(length)});
    std::memcpy(buffer, played_.data() + position_, count);
    position_ += count;
    return static_cast<int>(count);
  }
  // Every other call finds nothing waiting, so both the direct receive and the one after the
  // wait are played.
  int ReceiveWaiting(void* buffer, int length) override {
    if (!connected_ || waitingCalls_++ % 2 == 0) return kNothingWaiting;
    return ReceiveSome(buffer, length);
  }
  int SendSome(const void* buffer, int length) override {
    if (!connected_) throw EIdClosedSocket("Disconnected.");
    sent_.append(static_cast<const char*>(buffer), static_cast<size_t>(length));
    return length;
  }

  const std::string& Sent() const { return sent_; }
  int Connects() const { return connects_; }

 private:
  static constexpr size_t kLongestPiece = 61;

  std::string_view played_;
  size_t position_ = 0;
  bool connected_ = false;
  int connects_ = 0;
  unsigned waitingCalls_ = 0;
  std::string sent_;
};

}  // namespace pelmorix
