#include <string>

#include "tests/http/http_client_fixture.h"

namespace pelmorix {
namespace {

using HttpConnectionReuseTest = HttpClientTest;

TEST_F(HttpConnectionReuseTest, OneConnectionServesAHostUntilTheHostChanges) {
  TScriptedServer server({
      TConnectionScript().ReadRequest().Send(Reply("one")).ReadRequest().Send(Reply("two")).Hold(),
      TConnectionScript().ReadRequest().Send(Reply("three")).Hold(),
  });
  EXPECT_EQ(http_.Get(Url(server, "/a")), "one");
  EXPECT_EQ(http_.Get(Url(server, "/b")), "two");
  EXPECT_EQ(server.AcceptedCount(), 1u);
  // Another host name for the same server: the first connection is closed before the next one.
  const std::string other = "http://localhost:" + std::to_string(server.Port()) + "/c";
  EXPECT_EQ(http_.Get(other), "three");
  EXPECT_TRUE(server.WaitForFinished(1));
  EXPECT_EQ(server.AcceptedCount(), 2u);
  EXPECT_NE(server.Received(1).find("Host: localhost:"), std::string::npos);
  EXPECT_EQ(http_.Host(), "localhost");
}

TEST_F(HttpConnectionReuseTest, ConnectionValuesOfTheReplyDecideByTheClientsVersion) {
  TScriptedServer server({
      // Version 1.1 keeps a 1.0 reply's connection without "Connection", drops it on "close".
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\na")
          .ReadRequest()
          .Send(Reply("b", "200 OK", "Connection: close\r\n"))
          .Hold(),
      // Version 1.0 asks for keep-alive and keeps the connection only when the reply agrees.
      TConnectionScript()
          .ReadRequest()
          .Send(Reply("c", "200 OK", "Connection: Keep-Alive\r\n"))
          .ReadRequest()
          .Send(Reply("d"))
          .Hold(),
      TConnectionScript().ReadRequest().Send(Reply("e")).Hold(),
  });
  EXPECT_EQ(http_.Get(Url(server)), "a");
  EXPECT_TRUE(http_.IsConnected());
  EXPECT_EQ(http_.Response().ReplyVersion(), TIdHTTPProtocolVersion::pv1_0);
  EXPECT_EQ(http_.Get(Url(server)), "b");
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_TRUE(server.WaitForFinished(1));

  http_.SetProtocolVersion(TIdHTTPProtocolVersion::pv1_0);
  EXPECT_EQ(http_.Get(Url(server)), "c");
  EXPECT_TRUE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server)), "d");
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server)), "e");
  EXPECT_EQ(server.AcceptedCount(), 3u);
  EXPECT_NE(server.Received(1).find("GET / HTTP/1.0\r\nConnection: keep-alive\r\nHost: "),
            std::string::npos);
}

TEST_F(HttpConnectionReuseTest, AKeptConnectionTheServerEndedIsReplacedByANewOne) {
  TScriptedServer server({
      TConnectionScript().ReadRequest().Send(Reply("closed after")).Close(),
      TConnectionScript().ReadRequest().Send(Reply("reset after")).Delay(100).Reset(),
      TConnectionScript().ReadRequest().Send(Reply("fresh")).Hold(),
  });
  EXPECT_EQ(http_.Get(Url(server)), "closed after");
  ASSERT_TRUE(server.WaitForFinished(1));
  EXPECT_EQ(http_.Get(Url(server)), "reset after");
  ASSERT_TRUE(server.WaitForFinished(2));
  EXPECT_EQ(http_.Get(Url(server)), "fresh");
  EXPECT_EQ(server.AcceptedCount(), 3u);
}

TEST_F(HttpConnectionReuseTest, AFailureInTheMiddleOfABodyClosesTheConnection) {
  TScriptedServer server({
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1234")
          .Hold(),
      TConnectionScript().ReadRequest().Send(Reply("clean")).Hold(),
  });
  http_.SetReadTimeout(300);
  TMemoryStream stream;
  EXPECT_THROW(http_.Get(Url(server), stream), EIdReadTimeout);
  EXPECT_EQ(stream.DataString(), "1234");
  EXPECT_FALSE(http_.IsConnected());
  // The rest of the first body, had it come, must not be taken for the next reply.
  EXPECT_EQ(http_.Get(Url(server)), "clean");
  EXPECT_EQ(server.AcceptedCount(), 2u);
}

}  // namespace
}  // namespace pelmorix
