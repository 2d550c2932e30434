#include <string>
#include <vector>

#include "base/convert.h"
#include "tests/http/http_client_fixture.h"

namespace pelmorix {
namespace {

using HttpReplyErrorTest = HttpClientTest;

struct TErrorCase {
  std::string Reply;
  std::string StatusLine;
  int Code;
  std::string Body;
};

// All on one connection: after a refused reply whose body was read whole it serves the next
// request, and no redirect target is ever asked for.
TEST_F(HttpReplyErrorTest, RefusedRepliesRaiseWithStatusLineCodeAndBodyAndLeaveTheStream) {
  const std::vector<TErrorCase> cases = {
      {Reply("moved", "301 Moved Permanently", "Location: /elsewhere\r\n"),
       "HTTP/1.1 301 Moved Permanently", 301, "moved"},
      {"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.2/x\r\nTransfer-Encoding: chunked\r\n\r\n"
       "3\r\nabc\r\n0\r\n\r\n",
       "HTTP/1.1 302 Found", 302, "abc"},
      // A 304 announces the length of what it did not send.
      {"HTTP/1.1 304 Not Modified\r\nContent-Length: 1234\r\n\r\n", "HTTP/1.1 304 Not Modified",
       304, ""},
      {Reply("0123456789", "404 Not Found"), "HTTP/1.1 404 Not Found", 404, "0123456789"},
      {Reply("<h1>gone</h1>", "500 Internal Server Error"), "HTTP/1.1 500 Internal Server Error",
       500, "<h1>gone</h1>"},
      {Reply("", "101 Switching Protocols"), "HTTP/1.1 101 Switching Protocols", 101, ""},
      {Reply("here", "200 OK", "Location: /other\r\n"), "HTTP/1.1 200 OK", 200, "here"},
      {Reply("?", "OK"), "HTTP/1.1 OK", -1, "?"},
  };
  TConnectionScript script;
  for (const TErrorCase& error : cases) script.ReadRequest().Send(error.Reply);
  TScriptedServer server({script.ReadRequest().Send(Reply("fine", "200")).Hold()});
  // No limit of its own: a body read that waited for bytes that never come would hang here.
  http_.SetReadTimeout(0);
  for (size_t i = 0; i < cases.size(); ++i) {
    TMemoryStream stream;
    stream.WriteText("untouched");
    try {
      http_.Get(Url(server, "/" + std::to_string(i)), stream);
      ADD_FAILURE() << cases[i].StatusLine;
    } catch (const EIdHTTPProtocolException& error) {
      EXPECT_EQ(error.Message(), cases[i].StatusLine);
      EXPECT_EQ(error.ReplyCode(), cases[i].Code);
      EXPECT_EQ(error.ErrorBody(), cases[i].Body);
    }
    EXPECT_EQ(stream.DataString(), "untouched") << i;
    EXPECT_EQ(http_.ReadTimeout(), 0);
  }
  // A status line without a reason phrase still has its code.
  EXPECT_EQ(http_.Get(Url(server, "/last")), "fine");
  EXPECT_EQ(server.AcceptedCount(), 1u);
}

TEST_F(HttpReplyErrorTest, PeerClosingDuringTheHeadEndsTheHeadThere) {
  TScriptedServer server({
      TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n").Close(),
      TConnectionScript().ReadRequest().Send("HTTP/1.1 404 Not Found\r\nServer: x\r\n").Close(),
      TConnectionScript().ReadRequest().Close(),
  });
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdException& error) {
    EXPECT_STREQ(error.ClassName(), "EIdException");
    EXPECT_EQ(error.Message(), "Undefined situation");
  }
  EXPECT_EQ(http_.Response().ContentLength(), 5);
  EXPECT_FALSE(http_.IsConnected());
  // The code of a refused reply is known even though its body never came.
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.ReplyCode(), 404);
    EXPECT_EQ(error.ErrorBody(), "");
  }
  EXPECT_EQ(http_.Response().Server, "x");
  EXPECT_THROW(http_.Get(Url(server)), EIdConnClosedGracefully);
  EXPECT_FALSE(http_.IsConnected());
}

TEST_F(HttpReplyErrorTest, AnErrorBodyIsReadWithItsOwnTimeOut) {
  // No length and the connection stays open: the body read ends by its 2000 ms time-out even
  // though the client itself waits without limit.
  TScriptedServer server(
      {TConnectionScript().ReadRequest().Send("HTTP/1.1 404 Not Found\r\n\r\npart").Hold(),
       TConnectionScript().ReadRequest().Send(Reply("next")).Hold()});
  http_.SetReadTimeout(0);
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdReadTimeout& error) {
    EXPECT_EQ(error.Message(), "Read Timeout");
  }
  EXPECT_EQ(http_.ReadTimeout(), 0);
  // The unfinished reply is not left in front of the next one.
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server)), "next");
}

TEST_F(HttpReplyErrorTest, UrlsThatCannotBeRequestedRaiseBeforeAnythingIsSent) {
  TScriptedServer server({TConnectionScript().ReadRequest().Send(Reply("a")).Hold()});
  EXPECT_EQ(http_.Get(Url(server)), "a");
  try {
    http_.Get("https://127.0.0.1:" + std::to_string(server.Port()) + "/secret");
    ADD_FAILURE();
  } catch (const EIdIOHandlerPropInvalid& error) {
    EXPECT_EQ(error.Message(), "IOHandler value is not valid");
  }
  try {
    http_.Get("http://127.0.0.1:8x/");
    ADD_FAILURE();
  } catch (const EConvertError& error) {
    EXPECT_NE(error.Message().find("'8x'"), std::string::npos);
  }
  EXPECT_EQ(server.AcceptedCount(), 1u);
  EXPECT_EQ(server.Received(0), RequestHead(server, "/"));
}

}  // namespace
}  // namespace pelmorix
