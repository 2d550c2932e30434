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

TEST_F(HttpReplyErrorTest, AnInterimReplyOtherThan100RaisesAndTheReplyBehindItAnswersNothing) {
  TScriptedServer server(
      {TConnectionScript()
           .ReadRequest()
           .Send("HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n" + Reply("first"))
           .Hold(),
       TConnectionScript().ReadRequest().Send(Reply("second")).Hold()});
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.Message(), "HTTP/1.1 103 Early Hints");
    EXPECT_EQ(error.ReplyCode(), 103);
    EXPECT_EQ(error.ErrorBody(), "");
  }
  // The "200" behind the 103 was never read: the connection went with it.
  EXPECT_FALSE(http_.IsConnected());
  EXPECT_EQ(http_.Get(Url(server)), "second");
  EXPECT_EQ(server.AcceptedCount(), 2u);
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
  // Cut to 16 bits, the port one past the range would reach the server's own.
  const int wrapped = server.Port() + 65536;
  try {
    http_.Get("http://127.0.0.1:" + std::to_string(wrapped) + "/");
    ADD_FAILURE();
  } catch (const EIdInvalidPort& error) {
    EXPECT_EQ(error.Message(),
              "Port " + std::to_string(wrapped) + " is outside the range 1 to 65535.");
  }
  EXPECT_THROW(http_.Get("http://127.0.0.1:0/"), EIdInvalidPort);
  EXPECT_EQ(server.AcceptedCount(), 1u);
  EXPECT_EQ(server.Received(0), RequestHead(server, "/"));
}

TEST_F(HttpReplyErrorTest, LineBreaksAndNulInTargetsAndHeaderValuesRaiseBeforeAnythingIsSent) {
  // The cookie's lone CR would pass for a line end in the "Cookie" line; it is not stored.
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send(Reply("a", "200 OK", "Set-Cookie: c=1\rX-Evil: 1\r\n"))
                              .ReadRequest()
                              .Send(Reply("b"))
                              .Hold()});
  EXPECT_EQ(http_.Get(Url(server)), "a");
  for (const std::string& bad :
       {std::string("\r\nX-Evil: 1"), std::string("\n"), std::string("x\0y", 3)}) {
    try {
      http_.Get(Url(server, "/a" + bad));
      ADD_FAILURE();
    } catch (const EIdInvalidRequestCharacter& error) {
      EXPECT_EQ(error.Message(), "Request target holds CR, LF or NUL.");
    }
  }
  http_.Request().UserAgent = "u\r\nX-Evil: 1";
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdInvalidRequestCharacter& error) {
    EXPECT_EQ(error.Message(), "Header User-Agent holds CR, LF or NUL.");
  }
  http_.Request().UserAgent = TIdRequestHeaderInfo::kDefaultUserAgent;
  http_.Request().CustomHeaders.Add("X-Note: a\rb");
  EXPECT_THROW(http_.Get(Url(server)), EIdInvalidRequestCharacter);
  http_.Request().CustomHeaders.Clear();
  // Nothing of the refused requests reached the server, and the connection serves on.
  EXPECT_EQ(http_.Get(Url(server, "/b")), "b");
  EXPECT_EQ(server.AcceptedCount(), 1u);
  EXPECT_EQ(server.Received(0), RequestHead(server, "/") + RequestHead(server, "/b"));
}

// Each server announces or sends far more than it ever finishes and then waits: a client that
// read on would end in the read time-out instead of the reply.
TEST_F(HttpReplyErrorTest, ErrorAndRedirectBodiesAreKeptUpTo64KiBAndTheRestEndsTheConnection) {
  // A pattern whose period divides the chunk size, so that two chunks run on as one text.
  std::string sent(100 * 1024, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>('a' + i % 25);
  const std::string chunk = sent.substr(0, 40000);
  const std::vector<std::string> errors = {
      "HTTP/1.1 404 Not Found\r\nContent-Length: 157286400\r\n\r\n" + sent,
      "HTTP/1.1 500 Internal Server Error\r\nTransfer-Encoding: chunked\r\n\r\n9C40\r\n" + chunk +
          "\r\n9C40\r\n" + chunk + "\r\n",
      "HTTP/1.1 403 Forbidden\r\n\r\n" + sent,
  };
  std::vector<TConnectionScript> scripts;
  for (const std::string& reply : errors) {
    scripts.push_back(TConnectionScript().ReadRequest().Send(reply).Hold());
  }
  scripts.push_back(
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 302 Found\r\nLocation: /next\r\nContent-Length: 157286400\r\n\r\n" + sent)
          .Hold());
  scripts.push_back(TConnectionScript().ReadRequest().Send(Reply("arrived")).Hold());
  TScriptedServer server(scripts);
  const std::string kept = sent.substr(0, 65536);
  for (size_t i = 0; i < errors.size(); ++i) {
    try {
      http_.Get(Url(server));
      ADD_FAILURE() << i;
    } catch (const EIdHTTPProtocolException& error) {
      EXPECT_EQ(error.ErrorBody().size(), 65536u) << i;
      EXPECT_TRUE(error.ErrorBody() == kept) << i;
    }
    EXPECT_FALSE(http_.IsConnected()) << i;
  }
  http_.SetHandleRedirects(true);
  EXPECT_EQ(http_.Get(Url(server)), "arrived");
  EXPECT_EQ(server.AcceptedCount(), errors.size() + 2);
}

}  // namespace
}  // namespace pelmorix
