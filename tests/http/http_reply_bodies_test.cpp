#include <random>
#include <string>
#include <vector>

#include "base/format.h"
#include "tests/http/http_client_fixture.h"

namespace pelmorix {
namespace {

using HttpReplyBodyTest = HttpClientTest;

std::string RandomBytes(size_t count) {
  std::mt19937 random(7);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

TEST_F(HttpReplyBodyTest, LengthReplyGivesItsBodyForTheHeadTheLauncherSends) {
  const std::string target = "/starter/index.php?action=getbutton&param1=3";
  TScriptedServer server({TConnectionScript().ReadRequest().Send(Reply("row|3|x")).Hold()});
  EXPECT_EQ(http_.Get(Url(server, target)), "row|3|x");
  EXPECT_EQ(http_.ResponseCode(), 200);
  EXPECT_EQ(server.Received(0), RequestHead(server, target));
  EXPECT_TRUE(http_.IsConnected());
  EXPECT_EQ(http_.RedirectCount(), 0);
}

TEST_F(HttpReplyBodyTest, KnownLengthBodyGoesIntoTheStreamFromItsPositionWithWorkEvents) {
  const std::string body = RandomBytes(300000);
  TScriptedServer server({TConnectionScript().ReadRequest().SendInPieces(
      "HTTP/1.1 200 OK\r\nContent-Length: 300000\r\n\r\n" + body, 70000, 5)});
  std::vector<int64_t> begins, totals;
  http_.OnWorkBegin = [&](TIdComponent*, TWorkMode, int64_t maximum) { begins.push_back(maximum); };
  http_.OnWork = [&](TIdComponent*, TWorkMode, int64_t total) { totals.push_back(total); };
  TMemoryStream stream;
  stream.WriteText("kept:");
  http_.Get(Url(server), stream);
  EXPECT_EQ(stream.DataString(), "kept:" + body);
  EXPECT_EQ(stream.Position(), 5 + 300000);
  EXPECT_EQ(begins, std::vector<int64_t>{300000});
  ASSERT_FALSE(totals.empty());
  EXPECT_EQ(totals.back(), 300000);
}

// Each reply is followed by the next on the same connection, so a body that ends too early or
// too late shows in the reply after it.
TEST_F(HttpReplyBodyTest, BodiesEndWhereTheirFramingSaysOnAKeptConnection) {
  const std::vector<std::pair<std::string, std::string>> replies = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "1A\r\nabcdefghijklmnopqrstuvwxyz\r\na\r\n0123456789\r\n0\r\n\r\n",
       "abcdefghijklmnopqrstuvwxyz0123456789"},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
       "3 ;name=value\r\nabc\r\n2;name=value\r\nde\r\n0\r\n\r\n",
       "abcde"},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "4\r\nwith\r\n8\r\ntrailers\r\n0\r\nExpires: never\r\nX-Sum: 1\r\n\r\n",
       "withtrailers"},
      {"HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\n", ""},
      {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok"},
      {"HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nlast", "last"},
  };
  TConnectionScript script;
  for (const auto& reply : replies) script.ReadRequest().Send(reply.first);
  TScriptedServer server({script.Hold()});
  std::vector<std::string> statuses;
  http_.OnStatus = [&](TIdComponent*, TIdStatus, const std::string& text) {
    statuses.push_back(text);
  };
  for (size_t i = 0; i < replies.size(); ++i) {
    EXPECT_EQ(http_.Get(Url(server, "/" + std::to_string(i))), replies[i].second) << i;
  }
  EXPECT_EQ(server.AcceptedCount(), 1u);
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "Chunk Started"), 3);
  EXPECT_EQ(http_.Response().StatusLine, "HTTP/1.0 200 OK");
}

TEST_F(HttpReplyBodyTest, BodyWithoutLengthIsReadUntilTheServerClosesWhichClosesTheClient) {
  const std::string body = RandomBytes(100000);
  TScriptedServer server(
      {TConnectionScript().ReadRequest().SendInPieces("HTTP/1.1 200 OK\r\n\r\n" + body, 30000, 5),
       TConnectionScript().ReadRequest().Send(Reply("second")).Hold()});
  EXPECT_EQ(http_.Get(Url(server)), body);
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server)), "second");
  EXPECT_EQ(server.AcceptedCount(), 2u);
}

TEST_F(HttpReplyBodyTest, ABodyCutShortRaisesAndKeepsWhatArrivedInTheStream) {
  TScriptedServer server(
      {TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1234"),
       TConnectionScript()
           .ReadRequest()
           .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n8\r\nxy")
           .Close(),
       TConnectionScript().ReadRequest().Send(Reply("whole")).Hold()});
  TMemoryStream stream;
  try {
    http_.Get(Url(server), stream);
    ADD_FAILURE() << "a short body passed as complete";
  } catch (const EIdConnClosedGracefully& error) {
    EXPECT_EQ(error.Message(), "Connection Closed Gracefully.");
  }
  EXPECT_EQ(stream.DataString(), "1234");
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_THROW(http_.Get(Url(server), stream), EIdConnClosedGracefully);
  EXPECT_EQ(stream.DataString(), "1234abcdexy");
  EXPECT_EQ(http_.Get(Url(server)), "whole");
}

TEST_F(HttpReplyBodyTest, ALengthBeyondThirtyTwoBitsIsStillALength) {
  // Announces 4 GiB and sends a few bytes: read as a length, cut short, never until the close.
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send("HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\nabc")
                              .Close()});
  TMemoryStream stream;
  EXPECT_THROW(http_.Get(Url(server), stream), EIdConnClosedGracefully);
  EXPECT_EQ(stream.DataString(), "abc");
  EXPECT_EQ(http_.Response().ContentLength(), -1);
}

// The forged reply rides in a chunk: a body framed by its length would leave it on the kept
// connection as the answer to the next request.
TEST_F(HttpReplyBodyTest, AChunkedBodyThatAlsoNamesALengthIsReadByItsChunksAndEndsTheConnection) {
  const std::string forged = Reply("forged");
  const std::string sizeLine = Format("%X\r\n", static_cast<unsigned>(forged.size()));
  TScriptedServer server(
      {TConnectionScript()
           .ReadRequest()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(sizeLine.size()) +
                 "\r\nTransfer-Encoding: chunked\r\n\r\n" + sizeLine + forged + "\r\n0\r\n\r\n")
           .Hold(),
       TConnectionScript().ReadRequest().Send(Reply("real")).Hold()});
  EXPECT_EQ(http_.Get(Url(server, "/1")), forged);
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server, "/2")), "real");
  EXPECT_EQ(server.AcceptedCount(), 2u);
}

// Each refusal ends its connection; "identity" is no coding and keeps it.
TEST_F(HttpReplyBodyTest, FramingsTheClientCannotFollowAreRefused) {
  const std::string body = "\r\n4\r\nbody\r\n0\r\n\r\n";
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"Transfer-Encoding: gzip, chunked\r\n" + body,
       "Transfer coding \"gzip, chunked\" cannot be decoded."},
      {"Transfer-Encoding: notchunked\r\n" + body,
       "Transfer coding \"notchunked\" cannot be decoded."},
      {"Content-Length: 4\r\nContent-Length: 14\r\n" + body,
       "Reply with differing Content-Length headers."},
      // The data runs past its size, into what would be read as the next size line.
      {"Transfer-Encoding: chunked\r\n\r\n2\r\nbody\r\n0\r\n\r\n", "Invalid chunk size."},
  };
  std::vector<TConnectionScript> scripts;
  for (const auto& reply : refused) {
    scripts.push_back(
        TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\n" + reply.first).Hold());
  }
  scripts.push_back(TConnectionScript()
                        .ReadRequest()
                        .Send(Reply("ok", "200 OK", "Transfer-Encoding: identity\r\n"))
                        .ReadRequest()
                        .Send(Reply("kept"))
                        .Hold());
  TScriptedServer server(scripts);
  for (const auto& reply : refused) {
    try {
      http_.Get(Url(server));
      ADD_FAILURE() << reply.first;
    } catch (const EIdException& error) {
      EXPECT_EQ(error.Message(), reply.second);
    }
    EXPECT_FALSE(http_.IsConnected()) << reply.first;
  }
  EXPECT_EQ(http_.Get(Url(server)), "ok");
  EXPECT_EQ(http_.Get(Url(server)), "kept");
  EXPECT_EQ(server.AcceptedCount(), refused.size() + 1);
}

}  // namespace
}  // namespace pelmorix
