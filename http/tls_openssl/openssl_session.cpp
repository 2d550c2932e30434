#include "http/tls_openssl/openssl_session.h"

#include <openssl/err.h>
#include <openssl/x509v3.h>

#include "http/ssl_exceptions.h"

namespace pelmorix {
namespace {

TIdCertificateProblem ProblemOf(long verifyResult) {
  switch (verifyResult) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
      return TIdCertificateProblem::Untrusted;
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return TIdCertificateProblem::Expired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return TIdCertificateProblem::NotYetValid;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return TIdCertificateProblem::NameMismatch;
    case X509_V_ERR_CERT_REVOKED:
      return TIdCertificateProblem::Revoked;
    default:
      return TIdCertificateProblem::Other;
  }
}

// OpenSSL's reason for the last error of this thread, or the fallback; the queue is emptied.
std::string LastErrorReason(const char* fallback) {
  const unsigned long error = ERR_peek_last_error();
  const char* reason = error != 0 ? ERR_reason_error_string(error) : nullptr;
  ERR_clear_error();
  return reason != nullptr ? reason : fallback;
}

// True when the last error of this thread is the end of the stream before the closing alert.
bool EndedWithoutAlert() {
  const unsigned long error = ERR_peek_last_error();
  return ERR_GET_LIB(error) == ERR_LIB_SSL &&
         ERR_GET_REASON(error) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

}  // namespace

TOpenSslSession::TOpenSslSession(SSL_CTX* context, const TSocketBioMethod& bioMethod,
                                 TIdStack& stack, SOCKET socket, const TIdTlsPeer& peer) {
  ERR_clear_error();
  ssl_ = SSL_new(context);
  if (ssl_ == nullptr) throw EIdSSLConnectError("SSL handshake failed: out of memory");
  BIO* bio = bioMethod.NewBio(stack, socket);
  SSL_set_bio(ssl_, bio, bio);
  X509_VERIFY_PARAM* check = SSL_get0_param(ssl_);
  X509_VERIFY_PARAM_set_hostflags(check, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
  const bool named = peer.IsAddress
                         ? X509_VERIFY_PARAM_set1_ip_asc(check, peer.Name.c_str()) == 1
                         : X509_VERIFY_PARAM_set1_host(check, peer.Name.c_str(), 0) == 1 &&
                               SSL_set_tlsext_host_name(ssl_, peer.Name.c_str()) == 1;
  if (!named) {
    SSL_free(ssl_);
    throw EIdSSLConnectError("SSL handshake failed: host name not usable: " + peer.Name);
  }
  SSL_set_connect_state(ssl_);
}

TOpenSslSession::~TOpenSslSession() { SSL_free(ssl_); }

TIdTlsWait TOpenSslSession::Handshake() {
  const int result = SSL_do_handshake(ssl_);
  if (result == 1) return TIdTlsWait::None;
  const int error = SSL_get_error(ssl_, result);
  if (error == SSL_ERROR_WANT_READ) return TIdTlsWait::Readable;
  if (error == SSL_ERROR_WANT_WRITE) return TIdTlsWait::Writable;
  broken_ = true;
  RaiseHandshakeFailure(error);
}

void TOpenSslSession::RaiseHandshakeFailure(int error) {
  const long verifyResult = SSL_get_verify_result(ssl_);
  if (verifyResult != X509_V_OK) {
    ERR_clear_error();
    throw EIdSSLCertificateError(CertificateProblemText(
        ProblemOf(verifyResult), X509_verify_cert_error_string(verifyResult)));
  }
  const char* fallback = error == SSL_ERROR_SSL ? "protocol error" : "connection closed by peer";
  if (EndedWithoutAlert()) {
    ERR_clear_error();
    throw EIdSSLConnectError("SSL handshake failed: connection closed by peer");
  }
  throw EIdSSLConnectError("SSL handshake failed: " + LastErrorReason(fallback));
}

int TOpenSslSession::Outcome(int result, const char* failure, TIdTlsWait& wait) {
  switch (SSL_get_error(ssl_, result)) {
    case SSL_ERROR_WANT_READ:
      wait = TIdTlsWait::Readable;
      return kMustWait;
    case SSL_ERROR_WANT_WRITE:
      wait = TIdTlsWait::Writable;
      return kMustWait;
    case SSL_ERROR_ZERO_RETURN:
      return 0;
    case SSL_ERROR_SYSCALL:
      // The socket call failed; its number stays with the stack for the caller's check.
      broken_ = true;
      ERR_clear_error();
      return SOCKET_ERROR;
    default:
      broken_ = true;
      if (EndedWithoutAlert()) {
        // Cut short: an end of the stream, told apart from the peer's close.
        ERR_clear_error();
        cut_ = true;
        return 0;
      }
      throw EIdSSLSessionError(std::string(failure) + LastErrorReason("protocol error"));
  }
}

int TOpenSslSession::Read(void* buffer, int length, TIdTlsWait& wait) {
  // After a cut the session is in its failed state; the end of the stream stays the answer.
  if (cut_) return 0;
  size_t read = 0;
  const int result = SSL_read_ex(ssl_, buffer, static_cast<size_t>(length), &read);
  if (result == 1) return static_cast<int>(read);
  return Outcome(result, "SSL read failed: ", wait);
}

int TOpenSslSession::Write(const void* buffer, int length, TIdTlsWait& wait) {
  size_t written = 0;
  const int result = SSL_write_ex(ssl_, buffer, static_cast<size_t>(length), &written);
  if (result == 1) return static_cast<int>(written);
  return Outcome(result, "SSL write failed: ", wait);
}

void TOpenSslSession::Close() {
  if (!broken_ && SSL_is_init_finished(ssl_)) SSL_shutdown(ssl_);
  ERR_clear_error();
}

}  // namespace pelmorix
