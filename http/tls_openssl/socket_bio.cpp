#include "http/tls_openssl/socket_bio.h"

#include "http/ssl_exceptions.h"

namespace pelmorix {
namespace {

struct TSocketBioTarget {
  TIdStack* Stack;
  SOCKET Socket;
  bool Ended = false;  // a receive found the end of the stream
};

TSocketBioTarget& Target(BIO* bio) { return *static_cast<TSocketBioTarget*>(BIO_get_data(bio)); }

bool WouldBlock(TIdStack& stack, int result) {
  return result == SOCKET_ERROR && stack.WSGetLastError() == WSAEWOULDBLOCK;
}

int ReadSocket(BIO* bio, char* buffer, int length) {
  TSocketBioTarget& target = Target(bio);
  BIO_clear_retry_flags(bio);
  const int received = target.Stack->Receive(target.Socket, buffer, length, 0);
  if (WouldBlock(*target.Stack, received)) BIO_set_retry_read(bio);
  if (received == 0 && length > 0) target.Ended = true;
  return received;
}

int WriteSocket(BIO* bio, const char* buffer, int length) {
  TSocketBioTarget& target = Target(bio);
  BIO_clear_retry_flags(bio);
  const int sent = target.Stack->Send(target.Socket, buffer, length, 0);
  if (WouldBlock(*target.Stack, sent)) BIO_set_retry_write(bio);
  return sent;
}

long ControlSocket(BIO* bio, int command, long, void*) {
  // Sends go out at once, so there is never anything to flush. The end of the stream is told
  // apart from a failed receive, so a stream cut short is not taken for a socket error.
  if (command == BIO_CTRL_FLUSH) return 1;
  if (command == BIO_CTRL_EOF) return Target(bio).Ended ? 1 : 0;
  return 0;
}

int DestroySocketBio(BIO* bio) {
  delete static_cast<TSocketBioTarget*>(BIO_get_data(bio));
  BIO_set_data(bio, nullptr);
  return 1;
}

}  // namespace

TSocketBioMethod::TSocketBioMethod() {
  method_ = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "pelmorix socket");
  if (method_ == nullptr) throw EIdSSLConnectError("SSL handshake failed: out of memory");
  BIO_meth_set_read(method_, ReadSocket);
  BIO_meth_set_write(method_, WriteSocket);
  BIO_meth_set_ctrl(method_, ControlSocket);
  BIO_meth_set_destroy(method_, DestroySocketBio);
}

TSocketBioMethod::~TSocketBioMethod() { BIO_meth_free(method_); }

BIO* TSocketBioMethod::NewBio(TIdStack& stack, SOCKET socket) const {
  BIO* bio = BIO_new(method_);
  if (bio == nullptr) throw EIdSSLConnectError("SSL handshake failed: out of memory");
  BIO_set_data(bio, new TSocketBioTarget{&stack, socket});
  BIO_set_init(bio, 1);
  return bio;
}

}  // namespace pelmorix
