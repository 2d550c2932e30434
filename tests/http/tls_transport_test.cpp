#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <typeinfo>
#include <vector>

#include "base/stream.h"
#include "http/connection_exceptions.h"
#include "http/id_http.h"
#include "http/io_handler_ssl_socket.h"
#include "http/socket_exceptions.h"
#include "http/ssl_exceptions.h"
#include "tests/support/scripted_server.h"
#include "tests/support/tls_test_server.h"
#include "tests/support/under_wine.h"

namespace pelmorix {
namespace {

// A client with the SSL transport that trusts the test server's private CA.
class TlsTransportTest : public ::testing::Test {
 protected:
  TlsTransportTest() {
    ssl_.SetCAFile(server_.CAFile());
    http_.SetIOHandler(&ssl_);
    http_.SetReadTimeout(5000);
  }

  // The message of the exception the Get raises, with its class checked.
  template <typename TError>
  std::string FailureOf(const std::string& url, TStream* stream = nullptr) {
    try {
      TMemoryStream scratch;
      http_.Get(url, stream != nullptr ? *stream : scratch);
    } catch (const TError& error) {
      return error.Message();
    }
    return "(no " + std::string(typeid(TError).name()) + ")";
  }

  TTlsTestServer server_;
  TIdSocketLayer layer_;
  TIdSSLIOHandlerSocket ssl_{layer_};
  TIdHTTP http_{layer_};
};

TEST_F(TlsTransportTest, BodiesOfEveryKindArriveWholeOverOneKeptSession) {
  int64_t workMaximum = -1, workCount = -1;
  http_.OnWorkBegin = [&](TIdComponent*, TWorkMode mode, int64_t maximum) {
    if (mode == wmRead) workMaximum = maximum;
  };
  http_.OnWork = [&](TIdComponent*, TWorkMode mode, int64_t count) {
    if (mode == wmRead) workCount = count;
  };
  TMemoryStream byLength;
  http_.Get(server_.Url("good", "/length"), byLength);
  EXPECT_TRUE(byLength.DataString() == TTlsTestServer::Body());
  EXPECT_EQ(workMaximum, 200000);
  EXPECT_EQ(workCount, 200000);
  EXPECT_TRUE(http_.Get(server_.Url("good", "/chunked")) == TTlsTestServer::Body());
  EXPECT_TRUE(http_.Get(server_.Url("good", "/close")) == TTlsTestServer::Body());
  EXPECT_FALSE(http_.IsConnected());
  // One handshake served all three: the server saw one client port.
  const std::string log = server_.Log();
  const size_t first = log.find("request good ");
  ASSERT_NE(first, std::string::npos);
  const std::string port = log.substr(first + 13, log.find(' ', first + 13) - first - 13);
  for (const char* path : {"/length", "/chunked", "/close"}) {
    EXPECT_NE(log.find("request good " + port + " GET " + path + " HTTP/1.1"), std::string::npos);
  }
  // A host name goes out as SNI and is checked against the certificate's names.
  EXPECT_EQ(http_.Get("https://localhost:" + std::to_string(server_.Port("good")) + "/"), "ok");
  EXPECT_TRUE(server_.WaitForLogLine("sni good localhost"));
  EXPECT_EQ(log.find("sni good 127.0.0.1"), std::string::npos);
}

TEST_F(TlsTransportTest, RefusedCertificatesSayWhyAndNothingIsSent) {
  const std::pair<const char*, const char*> cases[] = {
      {"expired", "SSL certificate verify failed: certificate expired"},
      {"wrongname", "SSL certificate verify failed: name mismatch"},
      {"untrusted", "SSL certificate verify failed: untrusted certificate authority"}};
  for (const auto& [kind, message] : cases) {
    EXPECT_EQ(FailureOf<EIdSSLCertificateError>(server_.Url(kind, "/length")), message) << kind;
    EXPECT_FALSE(http_.IsConnected());
    EXPECT_TRUE(server_.WaitForLogLine(std::string("handshake-failed ") + kind));
  }
  // A host name is checked as well as an address.
  const std::string otherName = "https://localhost:" + std::to_string(server_.Port("wrongname"));
  EXPECT_EQ(FailureOf<EIdSSLCertificateError>(otherName + "/"),
            "SSL certificate verify failed: name mismatch");
  // The system's trust store does not know the private CA.
  ssl_.SetCAFile("");
  EXPECT_EQ(FailureOf<EIdSSLCertificateError>(server_.Url("good")),
            "SSL certificate verify failed: untrusted certificate authority");
  EXPECT_EQ(server_.Log().find("request "), std::string::npos);
  // Without verification any certificate goes.
  ssl_.SetVerifyPeer(false);
  EXPECT_EQ(http_.Get(server_.Url("untrusted")), "ok");
  // A server that answers the greeting in plain HTTP fails the handshake.
  ssl_.SetVerifyPeer(true);
  TScriptedServer plain({TConnectionScript().Send("HTTP/1.1 400 Bad Request\r\n\r\n").Close()});
  const std::string noTls = "https://127.0.0.1:" + std::to_string(plain.Port()) + "/";
  EXPECT_EQ(FailureOf<EIdSSLConnectError>(noTls), "SSL handshake failed: wrong version number");
}

TEST_F(TlsTransportTest, EveryAuthorityOfTheCAFileIsTrustedAndAFileWithoutOneIsRefused) {
  const std::string folder = server_.CAFile().substr(0, server_.CAFile().rfind('/'));
  const std::string both = folder + "/both.pem";
  WriteTextFile(both, "stranger first\n" + ReadTextFile(folder + "/stranger.pem") +
                          ReadTextFile(server_.CAFile()));
  ssl_.SetCAFile(both);
  EXPECT_EQ(http_.Get(server_.Url("good")), "ok");
  EXPECT_EQ(http_.Get(server_.Url("untrusted")), "ok");
  WriteTextFile(folder + "/none.pem", "no certificate here\n");
  for (const std::string& file : {folder + "/none.pem", folder + "/missing.pem"}) {
    ssl_.SetCAFile(file);
    EXPECT_EQ(FailureOf<EIdSSLConnectError>(server_.Url("good")),
              "SSL CA file could not be loaded: " + file);
  }
}

TEST_F(TlsTransportTest, OnlyTls12And13AreSpoken) {
  const std::string old = FailureOf<EIdSSLConnectError>(server_.Url("tls11"));
  EXPECT_EQ(old.rfind("SSL handshake failed: ", 0), 0u) << old;
  EXPECT_TRUE(server_.WaitForLogLine("handshake-failed tls11"));
  if (RunsUnderWine()) {
    // Wine's Schannel (on GnuTLS) offers TLS 1.2 at most: a server of TLS 1.3 only is refused,
    // at once and with the handshake's failure.
    const std::string refused = FailureOf<EIdSSLConnectError>(server_.Url("tls13"));
    EXPECT_EQ(refused.rfind("SSL handshake failed: ", 0), 0u) << refused;
    EXPECT_TRUE(server_.WaitForLogLine("handshake-failed tls13"));
    EXPECT_EQ(server_.Log().find("request "), std::string::npos);
    GTEST_SKIP() << "wine's Schannel offers no TLS 1.3 (its credentials accept TLS 1.2 only)";
  }
  EXPECT_EQ(http_.Get(server_.Url("tls13")), "ok");
  EXPECT_TRUE(server_.WaitForLogLine("version tls13 TLSv1.3"));
  EXPECT_EQ(server_.Log().find("request tls11"), std::string::npos);
}

TEST_F(TlsTransportTest, AClosingAlertMidBodyFailsAsAPlainCloseDoes) {
  for (const char* kind : {"good", "plain"}) {
    TMemoryStream cut;
    EXPECT_EQ(FailureOf<EIdConnClosedGracefully>(server_.Url(kind, "/cut-length"), &cut),
              "Connection Closed Gracefully.")
        << kind;
    EXPECT_TRUE(cut.DataString() == TTlsTestServer::Body().substr(0, 40000)) << kind;
    EXPECT_EQ(FailureOf<EIdConnClosedGracefully>(server_.Url(kind, "/cut-chunked")),
              "Connection Closed Gracefully.")
        << kind;
  }
}

TEST_F(TlsTransportTest, AStreamCutWithoutTheClosingAlertIsNoWholeBody) {
  // By length, by chunks and until the close: the failure of a cut plain body, the bytes kept.
  for (const char* path : {"/abort-length", "/abort-chunked", "/abort-close"}) {
    TMemoryStream cut;
    EXPECT_EQ(FailureOf<EIdConnClosedGracefully>(server_.Url("good", path), &cut),
              "Connection Closed Gracefully.")
        << path;
    EXPECT_TRUE(cut.DataString() == TTlsTestServer::Body().substr(0, 40000)) << path;
    EXPECT_FALSE(http_.IsConnected()) << path;
  }
  // A kept connection cut so while it waits is made anew for the next request.
  EXPECT_EQ(http_.Get(server_.Url("good", "/abort-idle")), "ok");
  ASSERT_TRUE(server_.WaitForLogLine("aborted good /abort-idle")) << server_.Log();
  EXPECT_EQ(http_.Get(server_.Url("good", "/after")), "ok");
}

TEST_F(TlsTransportTest, ARevokedCertificateIsRefusedAndAnUnansweredLookupIsNone) {
  if (!RunsUnderWine()) GTEST_SKIP() << "OpenSSL here looks up no revocation lists";
  EXPECT_EQ(FailureOf<EIdSSLCertificateError>(server_.Url("revoked")),
            "SSL certificate verify failed: certificate revoked");
  // The list was fetched from where the certificate names it.
  EXPECT_NE(server_.Log().find(" GET /revoked.crl "), std::string::npos) << server_.Log();
  // A revocation source that cannot be reached fails nothing.
  EXPECT_EQ(http_.Get(server_.Url("unanswered")), "ok");
}

TEST_F(TlsTransportTest, AStalledHandshakeEndsWithTheReadTimeout) {
  http_.SetReadTimeout(300);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FailureOf<EIdReadTimeout>(server_.Url("stall")), "Read Timeout");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::seconds(3));
  EXPECT_FALSE(http_.IsConnected());
}

TEST_F(TlsTransportTest, NothingLeavesTlsForPlainHttpUnlessTheRedirectHandlerAllowsIt) {
  http_.Request().Username = "u";
  http_.Request().Password = "p";
  http_.Request().BasicAuthentication = true;
  EXPECT_EQ(http_.Get(server_.Url("good", "/a/")), "ok");
  // Relative URLs and Locations stay on TLS; in plain text the TLS port would fail them.
  EXPECT_EQ(http_.Get("/dir/b"), "ok");
  http_.SetHandleRedirects(true);
  std::vector<std::string> offered;
  bool allow = false;
  http_.OnRedirect = [&](TIdCustomHTTP*, std::string& dest, int&, bool& handled, TIdHTTPMethod&) {
    offered.push_back(dest + (handled ? " yes" : " no"));
    if (allow) handled = true;
  };
  EXPECT_EQ(http_.Get(server_.Url("good", "/redirect//dir/c")), "ok");
  // To plain http only when the handler, asked with Handled false, sets it.
  const std::string plain = server_.Url("plain", "/leak");
  EXPECT_EQ(FailureOf<EIdInsecureRedirect>(server_.Url("good", "/redirect/" + plain)),
            "Redirect from https to http refused.");
  EXPECT_TRUE(http_.IsConnected());
  allow = true;
  EXPECT_EQ(http_.Get(server_.Url("good", "/redirect/" + plain)), "ok");
  EXPECT_EQ(offered, (std::vector<std::string>{"/dir/c yes", plain + " no", plain + " no"}));
  const std::string log = server_.Log();
  EXPECT_EQ(log.find("handshake-failed"), std::string::npos) << log;
  // One plain request, the allowed one.
  EXPECT_NE(log.find("request plain"), std::string::npos) << log;
  EXPECT_EQ(log.find("request plain"), log.rfind("request plain")) << log;
  // The credentials went encrypted to their origin, and not in plain text after the redirect.
  EXPECT_NE(log.find("authorization good Basic dTpw\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("authorization plain"), std::string::npos) << log;
}

TEST_F(TlsTransportTest, SecureCookiesGoOverTlsOnly) {
  EXPECT_EQ(http_.Get(server_.Url("good", "/cookies")), "ok");
  EXPECT_EQ(http_.Get(server_.Url("good")), "ok");
  // The same transport carries a plain URL plain, and the next https URL encrypted again.
  EXPECT_EQ(http_.Get(server_.Url("plain")), "ok");
  EXPECT_EQ(http_.Get(server_.Url("good")), "ok");
  const std::string log = server_.Log();
  EXPECT_NE(log.find("cookie good p=2; s=1\n"), std::string::npos) << log;
  EXPECT_NE(log.find("cookie plain p=2\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("cookie plain p=2; s=1"), std::string::npos) << log;
}

}  // namespace
}  // namespace pelmorix
