// The launcher's client speaks https with the system's trust store, and http as before.
#include <gtest/gtest.h>

#include <cstdlib>

#include "launcher/inet.h"
#include "launcher/launcher_transport.h"
#include "tests/support/tls_test_server.h"

namespace pelmorix {
namespace {

TEST(LauncherTransport, HttpsWorksWithTheSystemsTrustStoreAndHttpAsBefore) {
  if (!LauncherUsesTls()) GTEST_SKIP() << "built with PELMORIX_TLS=OFF";
  TTlsTestServer server;
  // OpenSSL's trust store, pointed at the test authority.
  setenv("SSL_CERT_FILE", server.CAFile().c_str(), 1);
  TInet inet("http://127.0.0.1:1");
  EXPECT_TRUE(inet.LauncherHttp().Get(server.Url("good", "/length")) == TTlsTestServer::Body());
  EXPECT_TRUE(inet.LauncherHttp().Get(server.Url("plain", "/chunked")) == TTlsTestServer::Body());
  unsetenv("SSL_CERT_FILE");
}

}  // namespace
}  // namespace pelmorix
