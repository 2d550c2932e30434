#include <string>

#include "http/io_handler_ssl_socket.h"
#include "tests/http/http_client_fixture.h"
#include "tests/support/tls_test_server.h"

namespace pelmorix {
namespace {

using HttpCookieExchangeTest = HttpClientTest;

// The "Cookie" line of the request a connection received as its nth request (0-based), or "-".
std::string CookieLine(const std::string& received, int request) {
  size_t at = 0;
  for (int i = 0; i < request; ++i) at = received.find("\r\n\r\n", at) + 4;
  const size_t end = received.find("\r\n\r\n", at);
  const size_t line = received.find("Cookie: ", at);
  if (line == std::string::npos || line > end) return "-";
  return received.substr(line + 8, received.find("\r\n", line) - line - 8);
}

TEST_F(HttpCookieExchangeTest, CookiesOfEveryReplyGoBackByDomainPathExpiryAndSecurity) {
  const std::string setCookies =
      "Set-Cookie: root=1; path=/\r\n"
      "Set-Cookie: starter=2; path=/starter/\r\n"
      "Set-Cookie: secure=3; path=/; secure\r\n"
      "Set-Cookie: old=4; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT\r\n"
      "Set-Cookie: now=5; path=/; max-age=0\r\n"
      "Set-Cookie: sibling=6; path=/; domain=127.0.0.2\r\n"
      "Set-Cookie: document=7; path=/starter/index.php\r\n"
      "Set-Cookie: empty=; path=/\r\n";
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send("HTTP/1.1 100 Continue\r\nSet-Cookie: early=0; path=/\r\n\r\n" +
                                    Reply("", "200 OK", setCookies))
                              .ReadRequest()
                              .Send(Reply("no", "404 Not Found", "Set-Cookie: root=9; path=/\r\n"))
                              .ReadRequest()
                              .Send(Reply(""))
                              .ReadRequest()
                              .Send(Reply(""))
                              .Hold()});
  EXPECT_EQ(http_.CookieManager(), nullptr);
  EXPECT_EQ(http_.Get(Url(server, "/")), "");
  ASSERT_NE(http_.CookieManager(), nullptr);
  EXPECT_THROW(http_.Get(Url(server, "/starter/index.php?action=getpage")),
               EIdHTTPProtocolException);
  http_.Get(Url(server, "/starter/index.php"));
  http_.Get(Url(server, "/other/"));

  const std::string received = server.Received(0);
  EXPECT_EQ(CookieLine(received, 0), "-");
  // /starter/ before /; among equal paths the later name first; the 100 reply's cookie counts.
  EXPECT_EQ(CookieLine(received, 1), "starter=2; root=1; early=0");
  // Set again by an error reply: replaced in place.
  EXPECT_EQ(CookieLine(received, 2), "starter=2; root=9; early=0");
  EXPECT_EQ(CookieLine(received, 3), "root=9; early=0");
}

TEST_F(HttpCookieExchangeTest, WithoutCookiesNoStoreAndAnAssignedStoreIsUsedAndKept) {
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send(Reply("", "200 OK", "Set-Cookie: a=1\r\n"))
                              .ReadRequest()
                              .Send(Reply("", "200 OK", "Set-Cookie2: b=2; Version=1\r\n"))
                              .ReadRequest()
                              .Send(Reply(""))
                              .Hold()});
  http_.SetAllowCookies(false);
  http_.Get(Url(server));
  EXPECT_EQ(http_.CookieManager(), nullptr);

  auto store = std::make_unique<TIdCookieManager>();
  http_.SetCookieManager(store.get());
  http_.Get(Url(server));
  http_.Get(Url(server));
  EXPECT_EQ(CookieLine(server.Received(0), 1), "-");
  EXPECT_EQ(CookieLine(server.Received(0), 2), "b=2");
  EXPECT_EQ(store->Cookies().Count(), 1);
  http_.SetCookieManager(nullptr);
  EXPECT_EQ(store->Cookies().Count(), 1);
}

TEST(HttpsCookieExchange, APlainReplyNeitherSetsNorReplacesSecureCookies) {
  // Both servers are 127.0.0.1, so their cookies are one host's.
  TTlsTestServer tls;
  TScriptedServer plain({TConnectionScript()
                             .ReadRequest()
                             .Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n"
                                   "Set-Cookie: s=forged; path=/\r\n"
                                   "Set-Cookie: t=1; path=/; secure\r\n"
                                   "Set-Cookie: p=3; path=/\r\n\r\n")
                             .Hold()});
  TIdSocketLayer layer;
  TIdSSLIOHandlerSocket ssl(layer);
  ssl.SetCAFile(tls.CAFile());
  TIdHTTP http(layer);
  http.SetIOHandler(&ssl);
  http.SetReadTimeout(5000);

  EXPECT_EQ(http.Get(tls.Url("good", "/cookies")), "ok");  // s=1 secure, p=2
  http.Get("http://127.0.0.1:" + std::to_string(plain.Port()) + "/");
  EXPECT_EQ(CookieLine(plain.Received(0), 0), "p=2");
  EXPECT_EQ(http.Get(tls.Url("good")), "ok");
  const std::string log = tls.Log();
  EXPECT_NE(log.find("cookie good p=3; s=1\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace pelmorix
