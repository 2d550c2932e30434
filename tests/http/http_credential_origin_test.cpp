#include <string>

#include "tests/http/http_client_fixture.h"

namespace pelmorix {
namespace {

using HttpCredentialOriginTest = HttpClientTest;

TConnectionScript Answers(const std::string& reply) {
  return TConnectionScript().ReadRequest().Send(reply).Hold();
}

TEST_F(HttpCredentialOriginTest, CredentialsGoOnlyToTheOriginTheyWereGivenFor) {
  TScriptedServer other({Answers(Reply("b")), Answers(Reply("later")), Answers(Reply("mine")),
                         Answers(Reply("after"))});
  const std::string otherUrl = "http://127.0.0.1:" + std::to_string(other.Port());
  TScriptedServer server(
      {Answers(Reply("", "302 Found", "Location: " + otherUrl + "/b\r\n")), Answers(Reply("again")),
       Answers(Reply("local")),
       TConnectionScript()
           .ReadRequest()
           .Send(Reply("", "401 Unauthorized", "WWW-Authenticate: Basic realm=\"r\"\r\n"))
           .ReadRequest()
           .Send(Reply("in"))
           .Hold()});
  const auto authorization = [](const std::string& credentials) {
    return "Authorization: Basic " + credentials + "\r\n";
  };
  http_.SetHandleRedirects(true);
  http_.Request().Username = "u";
  http_.Request().Password = "p";
  http_.Request().BasicAuthentication = true;
  // The client's credentials bind to the first request's origin: not to the redirect's target,
  // nor to a later URL of another port or host, but again to their own origin.
  EXPECT_EQ(http_.Get(Url(server)), "b");
  EXPECT_EQ(http_.Get(Url(server, "/again")), "again");
  EXPECT_EQ(http_.Get(otherUrl + "/later"), "later");
  EXPECT_EQ(http_.Get("http://localhost:" + std::to_string(server.Port()) + "/local"), "local");
  // A URL's user and password bind to that URL's origin, and the earlier ones are gone.
  EXPECT_EQ(http_.Get("http://v:w@127.0.0.1:" + std::to_string(other.Port()) + "/mine"), "mine");
  // A challenge of another origin is not offered them; the program's answer stays with it.
  std::string offered = "(not asked)";
  http_.SetHTTPOptions(hoInProcessAuth);
  http_.OnAuthorization = [&](TIdCustomHTTP*, TIdAuthentication& authentication, bool& handled) {
    offered = authentication.Username() + ":" + authentication.Password();
    authentication.SetUsername("x");
    authentication.SetPassword("y");
    handled = true;
  };
  EXPECT_EQ(http_.Get(Url(server, "/challenge")), "in");
  EXPECT_EQ(offered, ":");
  EXPECT_EQ(http_.Get(otherUrl + "/after"), "after");

  EXPECT_EQ(server.Received(0), RequestHead(server, "/", authorization("dTpw")));
  EXPECT_EQ(other.Received(0), RequestHead(other, "/b"));
  EXPECT_EQ(server.Received(1), RequestHead(server, "/again", authorization("dTpw")));
  EXPECT_EQ(other.Received(1), RequestHead(other, "/later"));
  EXPECT_EQ(server.Received(2).find("Authorization"), std::string::npos);
  EXPECT_EQ(other.Received(2), RequestHead(other, "/mine", authorization("djp3")));
  EXPECT_EQ(server.Received(3), RequestHead(server, "/challenge") +
                                    RequestHead(server, "/challenge", authorization("eDp5")));
  EXPECT_EQ(other.Received(3), RequestHead(other, "/after"));
}

}  // namespace
}  // namespace pelmorix
