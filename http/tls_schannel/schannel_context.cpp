#include "http/tls_schannel/schannel_credentials.h"
#include "http/tls_schannel/schannel_session.h"

namespace pelmorix {
namespace {

class TSchannelContext : public TIdTlsContext {
 public:
  explicit TSchannelContext(const TIdTlsSettings& settings)
      : credentials_(std::make_shared<TSchannelCredentials>(settings)) {}

  std::unique_ptr<TIdTlsSession> NewSession(TIdStack& stack, SOCKET socket, const TIdTlsPeer& peer,
                                            int lookupTimeoutMilliseconds) override {
    return std::make_unique<TSchannelSession>(credentials_, stack, socket, peer,
                                              lookupTimeoutMilliseconds);
  }

 private:
  std::shared_ptr<TSchannelCredentials> credentials_;
};

}  // namespace

std::unique_ptr<TIdTlsContext> NewTlsContext(const TIdTlsSettings& settings) {
  return std::make_unique<TSchannelContext>(settings);
}

}  // namespace pelmorix
