#include <algorithm>
#include <climits>
#include <cstring>

#include "http/ssl_exceptions.h"
#include "http/tls_schannel/schannel_session.h"

namespace pelmorix {
namespace {

// One receive may bring in several records, as the socket has them.
constexpr size_t kReceiveLength = 4 * 16384 + 2048;
// The content type of a TLS 1.2 record that carries an alert.
constexpr unsigned char kAlertRecord = 21;

}  // namespace

TSchannelSession::TSocketResult TSchannelSession::SendPending() {
  while (pendingStart_ < pending_.size()) {
    const size_t left = pending_.size() - pendingStart_;
    const int sent = stack_.Send(socket_, pending_.data() + pendingStart_,
                                 static_cast<int>(std::min<size_t>(left, INT_MAX)), 0);
    if (sent == SOCKET_ERROR) {
      return stack_.WSGetLastError() == WSAEWOULDBLOCK ? TSocketResult::MustWait
                                                       : TSocketResult::Failed;
    }
    if (sent <= 0) return TSocketResult::Failed;
    pendingStart_ += static_cast<size_t>(sent);
  }
  pending_.clear();
  pendingStart_ = 0;
  return TSocketResult::Done;
}

void TSchannelSession::CompactReceived() {
  received_.erase(0, receivedStart_);
  receivedStart_ = 0;
}

TSchannelSession::TSocketResult TSchannelSession::ReceiveMore() {
  // Only the start of a record is left before the start: a short move.
  CompactReceived();
  const size_t had = received_.size();
  received_.resize(had + kReceiveLength);
  const int received =
      stack_.Receive(socket_, received_.data() + had, static_cast<int>(kReceiveLength), 0);
  received_.resize(had + (received > 0 ? static_cast<size_t>(received) : 0));
  if (received > 0) return TSocketResult::Done;
  if (received == 0) return TSocketResult::Closed;
  return stack_.WSGetLastError() == WSAEWOULDBLOCK ? TSocketResult::MustWait
                                                   : TSocketResult::Failed;
}

bool TSchannelSession::DecryptRecord() {
  if (receivedStart_ == received_.size()) return false;
  char* record = received_.data() + receivedStart_;
  const bool alert = static_cast<unsigned char>(record[0]) == kAlertRecord;
  SecBuffer buffers[4] = {
      {static_cast<ULONG>(received_.size() - receivedStart_), SECBUFFER_DATA, record},
      {0, SECBUFFER_EMPTY, nullptr},
      {0, SECBUFFER_EMPTY, nullptr},
      {0, SECBUFFER_EMPTY, nullptr}};
  SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
  const SECURITY_STATUS status = sspi_.DecryptMessage(&context_, &message, 0, nullptr);
  if (status == SEC_E_INCOMPLETE_MESSAGE) return false;
  if (status != SEC_E_OK && status != SEC_I_CONTEXT_EXPIRED && status != SEC_I_RENEGOTIATE) {
    broken_ = true;
    throw EIdSSLSessionError("SSL read failed: " + SecurityStatusText(status));
  }
  // The record is decrypted in place; what follows it is left as "extra".
  size_t extra = 0;
  bool data = false;
  for (const SecBuffer& buffer : buffers) {
    if (buffer.BufferType == SECBUFFER_DATA && buffer.cbBuffer > 0) {
      if (decryptedStart_ == decrypted_.size()) {
        decrypted_.clear();
        decryptedStart_ = 0;
      }
      decrypted_.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
      data = true;
    } else if (buffer.BufferType == SECBUFFER_EXTRA) {
      extra = buffer.cbBuffer;
    }
  }
  // The records of one receive are taken one after another without moving the rest.
  receivedStart_ = received_.size() - std::min(extra, received_.size() - receivedStart_);
  if (receivedStart_ == received_.size()) {
    received_.clear();
    receivedStart_ = 0;
  }
  // Some Schannels (wine's) hand the closing alert back as an empty record instead of the
  // status that says the context ended.
  if (status == SEC_I_CONTEXT_EXPIRED || (alert && !data)) peerClosed_ = true;
  if (status == SEC_I_RENEGOTIATE) {
    // What follows the record belongs to the package's handshake until it is done again.
    CompactReceived();
    renegotiating_ = true;
    needInput_ = false;
  }
  return true;
}

int TSchannelSession::HandOut(void* buffer, int length) {
  const size_t count = std::min(static_cast<size_t>(length), decrypted_.size() - decryptedStart_);
  std::memcpy(buffer, decrypted_.data() + decryptedStart_, count);
  decryptedStart_ += count;
  return static_cast<int>(count);
}

int TSchannelSession::Read(void* buffer, int length, TIdTlsWait& wait) {
  for (;;) {
    if (decryptedStart_ < decrypted_.size()) return HandOut(buffer, length);
    if (peerClosed_) return 0;
    if (renegotiating_) {
      if (!needInput_) needInput_ = RenegotiationStep();
      if (!renegotiating_) continue;
    } else if (DecryptRecord()) {
      continue;
    }
    // An answer to a handshake message after the handshake goes out before more is read.
    if (!writing_ && pendingStart_ < pending_.size()) {
      const TSocketResult sent = SendPending();
      if (sent == TSocketResult::MustWait) {
        wait = TIdTlsWait::Writable;
        return kMustWait;
      }
      if (sent == TSocketResult::Failed) {
        broken_ = true;
        return SOCKET_ERROR;
      }
    }
    if (renegotiating_ && !needInput_) continue;
    switch (ReceiveMore()) {
      case TSocketResult::Done:
        needInput_ = false;
        break;
      case TSocketResult::MustWait:
        wait = TIdTlsWait::Readable;
        return kMustWait;
      case TSocketResult::Closed:
        // The end of the stream without the closing alert: told to the reader as a close, and
        // as a cut, so what came until it does not pass for all the server sent.
        cut_ = true;
        return 0;
      case TSocketResult::Failed:
        broken_ = true;
        return SOCKET_ERROR;
    }
  }
}

void TSchannelSession::Encrypt(const char* data, int length) {
  if (pendingStart_ == pending_.size()) {
    pending_.clear();
    pendingStart_ = 0;
  }
  for (int done = 0; done < length;) {
    const ULONG piece = std::min<ULONG>(sizes_.cbMaximumMessage, static_cast<ULONG>(length - done));
    const size_t at = pending_.size();
    pending_.resize(at + sizes_.cbHeader + piece + sizes_.cbTrailer);
    char* record = pending_.data() + at;
    std::memcpy(record + sizes_.cbHeader, data + done, piece);
    SecBuffer buffers[4] = {
        {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record},
        {piece, SECBUFFER_DATA, record + sizes_.cbHeader},
        {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record + sizes_.cbHeader + piece},
        {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = sspi_.EncryptMessage(&context_, 0, &message, 0);
    if (status != SEC_E_OK) {
      broken_ = true;
      throw EIdSSLSessionError("SSL write failed: " + SecurityStatusText(status));
    }
    // The trailer the package wrote may be shorter than the largest one.
    pending_.resize(at + buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
    done += static_cast<int>(piece);
  }
}

int TSchannelSession::Write(const void* buffer, int length, TIdTlsWait& wait) {
  if (!writing_) {
    Encrypt(static_cast<const char*>(buffer), length);
    writing_ = true;
  }
  const TSocketResult sent = SendPending();
  if (sent == TSocketResult::MustWait) {
    wait = TIdTlsWait::Writable;
    return kMustWait;
  }
  writing_ = false;
  if (sent == TSocketResult::Failed) {
    broken_ = true;
    return SOCKET_ERROR;
  }
  return length;
}

}  // namespace pelmorix
