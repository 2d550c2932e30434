#include <optional>
#include <string>
#include <vector>

#include "tests/http/http_client_fixture.h"

namespace pelmorix {
namespace {

using HttpClientEventTest = HttpClientTest;

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(HttpClientEventTest, HeadersHandlerThatStopsLeavesTheBodyAndTheConnection) {
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send(Reply("unread body", "200 OK", "X-Big: yes\r\n"))
                              .Hold(),
                          TConnectionScript().ReadRequest().Send(Reply("next")).Hold()});
  std::string seen;
  http_.OnHeadersAvailable = [&](TIdCustomHTTP*, TIdHeaderList& headers, bool& proceed) {
    seen = headers.ValueOf("X-Big");
    proceed = seen != "yes";
  };
  EXPECT_EQ(http_.Get(Url(server)), "");
  EXPECT_EQ(seen, "yes");
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_TRUE(server.WaitForFinished(1));
  EXPECT_EQ(http_.Get(Url(server)), "next");
}

TEST_F(HttpClientEventTest, FollowedRedirectsUpToTheMaximumWithTheRedirectHandler) {
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send(Reply("first body", "302 Found", "Location: /b/next\r\n"))
                              .ReadRequest()
                              .Send(Reply("", "301 Moved", "Location: ../final?x=1\r\n"))
                              .ReadRequest()
                              .Send(Reply("arrived"))
                              .ReadRequest()
                              .Send(Reply("", "302 Found", "Location: /loop\r\n"))
                              .ReadRequest()
                              .Send(Reply("loop body", "302 Found", "Location: /loop\r\n"))
                              .ReadRequest()
                              .Send(Reply("x", "302 Found", "Location: /loop\r\n"))
                              .ReadRequest()
                              .Send(Reply("loop body", "302 Found", "Location: /loop\r\n"))
                              .ReadRequest()
                              .Send(Reply("", "302 Found", "Location: /refused\r\n"))
                              .Hold()});
  http_.SetHandleRedirects(true);
  // Each redirect as the handler sees it: destination, count and the Handled it is offered.
  std::vector<std::string> redirects;
  std::optional<bool> answer;
  http_.OnRedirect = [&](TIdCustomHTTP*, std::string& dest, int& count, bool& handled,
                         TIdHTTPMethod&) {
    redirects.push_back(dest + " " + std::to_string(count) + (handled ? " yes" : " no"));
    if (answer) handled = *answer;
  };
  TMemoryStream stream;
  http_.Get(Url(server, "/a/start"), stream);
  EXPECT_EQ(stream.DataString(), "arrived");
  EXPECT_EQ(redirects, (std::vector<std::string>{"/b/next 1 yes", "../final?x=1 2 yes"}));
  EXPECT_EQ(http_.RedirectCount(), 0);
  const std::string received = server.Received(0);
  EXPECT_NE(received.find("GET /b/next HTTP/1.1"), std::string::npos);
  EXPECT_NE(received.find("GET /final?x=1 HTTP/1.1"), std::string::npos);

  // A loop is a failure: at the maximum the handler is asked with Handled false, and left so,
  // the request raises. The kept connection serves the next request.
  http_.SetRedirectMaximum(2);
  redirects.clear();
  try {
    http_.Get(Url(server, "/loop"));
    ADD_FAILURE();
  } catch (const EIdTooManyRedirects& error) {
    EXPECT_EQ(error.Message(), "Too many redirects: the limit of 2 was reached.");
  }
  EXPECT_EQ(redirects, (std::vector<std::string>{"/loop 1 yes", "/loop 2 no"}));
  // A handler that takes the last one as handled ends the request with the redirect reply.
  answer = true;
  EXPECT_EQ(http_.Get(Url(server, "/loop")), "");
  EXPECT_EQ(http_.ResponseCode(), 302);
  EXPECT_EQ(http_.Response().Location, "/loop");
  // One that refuses a redirect below the maximum raises the reply.
  answer = false;
  EXPECT_THROW(http_.Get(Url(server, "/x")), EIdHTTPProtocolException);
  EXPECT_EQ(server.AcceptedCount(), 1u);
}

TEST_F(HttpClientEventTest, RedirectsFollowOnlyHttpAndResolveNetworkPathsAndQueries) {
  // "//authority/path" takes the authority under the same scheme; "?query" keeps the document.
  TScriptedServer other({TConnectionScript()
                             .ReadRequest()
                             .Send(Reply("", "302 Found", "Location: ?q=2\r\n"))
                             .ReadRequest()
                             .Send(Reply("there"))
                             .Hold()});
  const std::string otherPort = std::to_string(other.Port());
  const std::vector<std::string> refused = {"ftp://127.0.0.1:" + otherPort + "/x",
                                            "file:///etc/passwd", "javascript:alert(1)"};
  TConnectionScript script;
  for (const std::string& location : refused) {
    script.ReadRequest().Send(Reply("no", "302 Found", "Location: " + location + "\r\n"));
  }
  TScriptedServer server(
      {TConnectionScript()
           .ReadRequest()
           .Send(Reply("", "302 Found", "Location: //127.0.0.1:" + otherPort + "/n/doc?q=1\r\n"))
           .Hold(),
       script.Hold()});
  http_.SetHandleRedirects(true);
  EXPECT_EQ(http_.Get(Url(server, "/start")), "there");
  EXPECT_EQ(other.Received(0), RequestHead(other, "/n/doc?q=1") + RequestHead(other, "/n/doc?q=2"));

  // Other schemes are refused; each refused reply was read whole, so one connection serves all.
  for (const std::string& location : refused) {
    try {
      http_.Get(Url(server));
      ADD_FAILURE() << location;
    } catch (const EIdRedirectSchemeRefused& error) {
      EXPECT_EQ(error.Message(), "Redirect to the scheme \"" +
                                     location.substr(0, location.find(':')) +
                                     "\" refused: only http and https are followed.");
    }
  }
  EXPECT_EQ(server.AcceptedCount(), 2u);
  EXPECT_EQ(other.AcceptedCount(), 1u);
}

TEST_F(HttpClientEventTest, UnansweredChallengeRaisesAndLeavesNoCredentialsBehind) {
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send(Reply("who?", "401 Unauthorized",
                                          "WWW-Authenticate: Digest realm=\"a\"\r\n"
                                          "WWW-Authenticate: Basic realm=\"b\"\r\n"))
                              .ReadRequest()
                              .Send(Reply("open"))
                              .Hold()});
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.ReplyCode(), 401);
    EXPECT_EQ(error.ErrorBody(), "who?");
  }
  EXPECT_EQ(http_.Request().Authenticator, nullptr);
  // The next request carries no empty "Authorization: Basic Og==".
  EXPECT_EQ(http_.Get(Url(server)), "open");
  EXPECT_EQ(server.Received(0), RequestHead(server, "/") + RequestHead(server, "/"));
}

TEST_F(HttpClientEventTest, InProcessAuthenticationAsksTheProgramAndRetriesALimitedNumber) {
  const std::string challenge =
      Reply("denied", "401 Unauthorized", "WWW-Authenticate: Basic realm=\"r\"\r\n");
  TConnectionScript script;
  script.ReadRequest().Send(challenge).ReadRequest().Send(Reply("welcome"));
  for (int i = 0; i < 4; ++i) script.ReadRequest().Send(challenge);
  TScriptedServer server({script.Hold()});
  http_.SetHTTPOptions(hoInProcessAuth);
  int asked = 0;
  http_.OnAuthorization = [&](TIdCustomHTTP*, TIdAuthentication& authentication, bool& handled) {
    ++asked;
    authentication.SetUsername("user");
    authentication.SetPassword("pw");
    handled = true;
  };
  EXPECT_EQ(http_.Get(Url(server)), "welcome");
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(http_.Request().BasicAuthentication);
  EXPECT_EQ(http_.Request().Username, "user");
  EXPECT_NE(server.Received(0).find("Authorization: Basic dXNlcjpwdw==\r\n"), std::string::npos);

  // Refused every time: the attempts stop at AuthRetries and the last refusal is raised.
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.ReplyCode(), 401);
    EXPECT_EQ(error.ErrorBody(), "denied");
  }
  EXPECT_EQ(server.AcceptedCount(), 1u);
  // The attempts count across the client's requests: the first answered challenge took two
  // (asking the program, then sending), so of the server's four further challenges only one is
  // answered before AuthRetries ends it; the program is not asked again.
  const std::string received = server.Received(0);
  EXPECT_EQ(Occurrences(received, "GET / HTTP/1.1"), 4);
  EXPECT_EQ(Occurrences(received, "Authorization: Basic dXNlcjpwdw=="), http_.AuthRetries());
  EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace pelmorix
