#include <openssl/err.h>
#include <openssl/ssl.h>

#include "http/ssl_exceptions.h"
#include "http/tls_openssl/openssl_session.h"

namespace pelmorix {
namespace {

// Read-ahead into a buffer of a few records lets one socket receive bring in several of them.
constexpr long kReadBufferLength = 4 * 16384 + 2048;

class TOpenSslContext : public TIdTlsContext {
 public:
  explicit TOpenSslContext(const TIdTlsSettings& settings) {
    ERR_clear_error();
    context_ = SSL_CTX_new(TLS_client_method());
    if (context_ == nullptr) throw EIdSSLConnectError("SSL handshake failed: out of memory");
    SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
    SSL_CTX_set_max_proto_version(context_, TLS1_3_VERSION);
    SSL_CTX_set_read_ahead(context_, 1);
    SSL_CTX_set_default_read_buffer_len(context_, kReadBufferLength);
    if (settings.VerifyPeer) {
      SSL_CTX_set_verify(context_, SSL_VERIFY_PEER, nullptr);
      const bool loaded =
          settings.CAFile.empty()
              ? SSL_CTX_set_default_verify_paths(context_) == 1
              : SSL_CTX_load_verify_locations(context_, settings.CAFile.c_str(), nullptr) == 1;
      if (!loaded) {
        SSL_CTX_free(context_);
        ERR_clear_error();
        throw EIdSSLConnectError("SSL CA file could not be loaded: " + settings.CAFile);
      }
    } else {
      SSL_CTX_set_verify(context_, SSL_VERIFY_NONE, nullptr);
    }
  }
  ~TOpenSslContext() override { SSL_CTX_free(context_); }

  // OpenSSL fetches nothing for its check: revocation lists are not consulted here.
  std::unique_ptr<TIdTlsSession> NewSession(TIdStack& stack, SOCKET socket, const TIdTlsPeer& peer,
                                            int /*lookupTimeoutMilliseconds*/) override {
    return std::make_unique<TOpenSslSession>(context_, bioMethod_, stack, socket, peer);
  }

 private:
  SSL_CTX* context_ = nullptr;
  TSocketBioMethod bioMethod_;
};

}  // namespace

std::unique_ptr<TIdTlsContext> NewTlsContext(const TIdTlsSettings& settings) {
  return std::make_unique<TOpenSslContext>(settings);
}

}  // namespace pelmorix
