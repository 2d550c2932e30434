#include <algorithm>
#include <climits>
#include <vector>

#include "http/connection_exceptions.h"
#include "http/socket_exceptions.h"
#include "http/tcp_connection.h"

namespace pelmorix {

void TIdTCPConnection::SendBytes(const void* bytes, int64_t count, bool sendNow) {
  if (count <= 0) return;
  CheckPeerClosed(true, true);
  if (!IsConnected()) throw EIdNotConnected("Not Connected");
  if (sendBatch_ != nullptr && !sendNow) {
    sendBatch_->Append(bytes, count);
    if (sendBatchThreshold_ > 0 && sendBatch_->Size() >= sendBatchThreshold_) {
      FlushSendBatch(sendBatchThreshold_);
    }
    return;
  }
  const char* data = static_cast<const char*>(bytes);
  int64_t offset = 0;
  while (offset < count) {
    const int length = static_cast<int>(std::min<int64_t>(count - offset, INT_MAX));
    const int sent = ioHandler_->SendSome(data + offset, length);
    closedByPeer_ = sent == 0;
    CheckPeerClosed(true, false);
    if (Stack().CheckResult(sent, {WSAESHUTDOWN, WSAECONNABORTED, WSAECONNRESET})) {
      DropSocket();
      Stack().RaiseError(Stack().LastErrorNumber());
    }
    AdvanceWork(wmWrite, sent);
    offset += sent;
  }
}

void TIdTCPConnection::SendText(const std::string& text) {
  if (!text.empty()) SendBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TIdTCPConnection::SendLine(const std::string& text) { SendText(text + "\r\n"); }

void TIdTCPConnection::SendInteger(int32_t value, bool convertToNetworkOrder) {
  uint32_t bytes = static_cast<uint32_t>(value);
  if (convertToNetworkOrder) bytes = Stack().HostToNetwork(bytes);
  SendBytes(&bytes, sizeof(bytes));
}

void TIdTCPConnection::SendStream(TStream& stream, bool fromStart, bool sendCountFirst,
                                  int64_t size) {
  if (fromStart) stream.SetPosition(0);
  int64_t position = stream.Position();
  const int64_t end = size == 0 ? stream.Size() : position + size;
  const int64_t count = end - position;
  if (sendCountFirst) SendInteger(static_cast<int32_t>(count));
  StartWork(wmWrite, count);
  try {
    std::vector<char> piece(static_cast<size_t>(std::max(sendBufferSize_, 1)));
    for (;;) {
      const int64_t wanted = std::min<int64_t>(end - position, static_cast<int64_t>(piece.size()));
      if (wanted <= 0) break;
      const int64_t read = stream.Read(piece.data(), wanted);
      if (read <= 0) throw EIdNoDataToRead("No data to read.");
      SendBytes(piece.data(), read);
      position += read;
    }
  } catch (...) {
    FinishWork(wmWrite);
    throw;
  }
  FinishWork(wmWrite);
}

void TIdTCPConnection::BeginSendBatch(int threshold) {
  if (sendBatch_ != nullptr) {
    sendBatch_->SetSize(0);
  } else {
    sendBatch_ = std::make_unique<TIdSimpleBuffer>();
  }
  sendBatchThreshold_ = threshold;
}

void TIdTCPConnection::FlushSendBatch(int64_t count) {
  if (sendBatch_ == nullptr || sendBatch_->Size() == 0) return;
  if (count == -1 || sendBatch_->Size() < count) {
    SendBytes(sendBatch_->Memory(), sendBatch_->Size(), true);
    sendBatch_->SetSize(0);
  } else {
    SendBytes(sendBatch_->Memory(), count, true);
    sendBatch_->Discard(count);
  }
}

void TIdTCPConnection::EndSendBatch() {
  try {
    FlushSendBatch(-1);
  } catch (...) {
    sendBatch_.reset();
    throw;
  }
  sendBatch_.reset();
}

void TIdTCPConnection::DiscardSendBatch() {
  if (sendBatch_ != nullptr) sendBatch_->SetSize(0);
  EndSendBatch();
}

}  // namespace pelmorix
