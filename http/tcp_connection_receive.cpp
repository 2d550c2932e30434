#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "http/connection_exceptions.h"
#include "http/socket_exceptions.h"
#include "http/tcp_connection.h"

namespace pelmorix {

std::string TIdTCPConnection::TakeSplitLine(int maximum) {
  if (maxLineAction_ == maException) {
    throw EIdReadLnMaxLineLengthExceeded("Max line length exceeded.");
  }
  lineWasSplit_ = true;
  return inputBuffer_.TakeText(maximum);
}

std::string TIdTCPConnection::ReceiveLine(const std::string& terminator, int timeoutMilliseconds,
                                          int maximum) {
  if (maximum == -1) maximum = maxLineLength_;
  const std::string_view ending = terminator.empty() ? std::string_view("\n") : terminator;
  lineWasSplit_ = false;
  lineTimedOut_ = false;
  // The search resumes where the last one ended, less the bytes a terminator could straddle.
  int64_t searchFrom = 0;
  for (;;) {
    const int64_t buffered = inputBuffer_.Size();
    size_t found = std::string_view::npos;
    if (buffered > 0) {
      const std::string_view data(inputBuffer_.Memory(), static_cast<size_t>(buffered));
      found = data.find(ending, static_cast<size_t>(searchFrom));
      searchFrom = std::max<int64_t>(0, buffered - static_cast<int64_t>(ending.size()) + 1);
    }
    if (found != std::string_view::npos) {
      // found is the count of bytes before the terminator.
      if (maximum != 0 && found > static_cast<size_t>(maximum)) return TakeSplitLine(maximum);
      const char* line = inputBuffer_.Memory();
      size_t length = found;
      if (ending == "\n" && length > 0 && line[length - 1] == '\r') --length;
      std::string text(line, length);
      inputBuffer_.Discard(static_cast<int64_t>(found + ending.size()));
      return text;
    }
    if (maximum != 0 && buffered > maximum) return TakeSplitLine(maximum);
    CheckPeerClosed(true, true);
    if (FillInput(true, timeoutMilliseconds, timeoutMilliseconds == -1) == -1) {
      lineTimedOut_ = true;
      return "";
    }
  }
}

void TIdTCPConnection::WaitForInput(int64_t count) {
  while (inputBuffer_.Size() < count) {
    FillInput();
    CheckPeerClosed(true, true);
  }
}

void TIdTCPConnection::ReceiveExact(void* destination, int64_t count) {
  if (count <= 0) return;
  WaitForInput(count);
  std::memcpy(destination, inputBuffer_.Memory(), static_cast<size_t>(count));
  inputBuffer_.Discard(count);
}

int32_t TIdTCPConnection::ReceiveInteger(bool convertFromNetworkOrder) {
  uint32_t value;
  ReceiveExact(&value, sizeof(value));
  if (convertFromNetworkOrder) value = Stack().NetworkToHost(value);
  return static_cast<int32_t>(value);
}

// Writes count buffered bytes straight from the input buffer into the stream and takes them out.
void TIdTCPConnection::WriteBuffered(TStream& stream, int64_t count,
                                     TStreamReservation& reservation) {
  if (count <= 0) return;
  reservation.BeforeWrite(count);
  stream.WriteBuffer(inputBuffer_.Memory(), count);
  inputBuffer_.Discard(count);
}

void TIdTCPConnection::ReceiveToStream(TStream& stream, int64_t count, bool untilClosed) {
  if (count < 0 && !untilClosed) count = ReceiveInteger(true);
  TStreamReservation reservation(stream, count);
  // Reading until the peer closes counts nothing down, so it also ends only at the close.
  int64_t remaining = untilClosed ? INT32_MAX : count;
  StartWork(wmRead, untilClosed ? 0 : count);
  const auto finish = [&] {
    FinishWork(wmRead);
    if (stream.Size() > stream.Position()) stream.SetSize(stream.Position());
  };
  try {
    const int64_t fromBuffer = std::min(inputBuffer_.Size(), remaining);
    WriteBuffered(stream, fromBuffer, reservation);
    if (!untilClosed) remaining -= fromBuffer;
    const int64_t piece = std::min<int64_t>(remaining, std::max(recvBufferSize_, 1));
    while (remaining > 0) {
      // What has arrived goes on at once, so the read progress follows the bytes as they come
      // rather than a piece at a time.
      try {
        WaitForInput(1);
      } catch (const std::exception& error) {
        // What arrived before the failure stays in the stream.
        const int64_t arrived = std::min(remaining, inputBuffer_.Size());
        WriteBuffered(stream, arrived, reservation);
        if (!untilClosed) remaining -= arrived;
        // A TLS stream cut without its closing alert is not a whole body, even here.
        const bool closed = dynamic_cast<const EIdConnClosedGracefully*>(&error) != nullptr;
        if (untilClosed && closed && !(ioHandler_ != nullptr && ioHandler_->StreamCut())) break;
        throw;
      }
      const int64_t taken = std::min({remaining, piece, inputBuffer_.Size()});
      WriteBuffered(stream, taken, reservation);
      if (!untilClosed) remaining -= taken;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace pelmorix
