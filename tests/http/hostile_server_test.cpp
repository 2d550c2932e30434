#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "tests/http/http_client_fixture.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

using Clock = std::chrono::steady_clock;

// Far beyond every wait a case may take: a hang or a retry loop shows as a failure, not as a
// stuck test run.
constexpr long long kCaseLimitMs = 15000;

// What one request ended in.
struct TOutcome {
  std::string ClassName;  // empty: no exception
  std::string Message;
  long long Milliseconds = 0;
};

// Random bytes without a line end.
std::string Garbage(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random());
    if (byte == '\n' || byte == '\r') byte = '.';
  }
  return bytes;
}

class HostileServerTest : public HttpClientTest {
 protected:
  TOutcome Fetch(const std::string& url, TStream& stream) {
    TOutcome outcome;
    const auto start = Clock::now();
    try {
      http_.Get(url, stream);
    } catch (const Exception& error) {
      outcome.ClassName = error.ClassName();
      outcome.Message = error.Message();
    }
    outcome.Milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_LT(outcome.Milliseconds, kCaseLimitMs) << url;
    return outcome;
  }
  TOutcome Fetch(const std::string& url) {
    TMemoryStream stream;
    return Fetch(url, stream);
  }
};

TEST_F(HostileServerTest, AHeadDribbledByteByByteIsReadWhole) {
  // Each byte comes well within the read time-out, the whole head takes several of them.
  const std::string reply =
      Reply("dribbled", "200 OK", "Server: slow\r\nX-Padding: 0123456789\r\n");
  TScriptedServer server({TConnectionScript().ReadRequest().SendInPieces(reply, 1, 8).Hold()});
  http_.SetReadTimeout(300);
  TMemoryStream stream;
  const TOutcome outcome = Fetch(Url(server), stream);
  EXPECT_EQ(outcome.ClassName, "");
  EXPECT_GT(outcome.Milliseconds, 300);
  EXPECT_EQ(stream.DataString(), "dribbled");
  EXPECT_EQ(http_.Response().Server, "slow");
  EXPECT_TRUE(http_.IsConnected());
}

TEST_F(HostileServerTest, PeersThatStallEndInTheReadTimeOut) {
  // Silent from the start, after half a head, and in the middle of a body.
  const std::string reply = Reply("0123456789");
  const size_t bodyStart = reply.find("\r\n\r\n") + 4;
  TScriptedServer server({
      TConnectionScript().ReadRequest().Hold(),
      TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\nContent-Le").Hold(),
      TConnectionScript().ReadRequest().Send(reply.substr(0, bodyStart + 6)).Hold(),
  });
  http_.SetReadTimeout(400);
  for (int i = 0; i < 3; ++i) {
    TMemoryStream stream;
    const TOutcome outcome = Fetch(Url(server), stream);
    EXPECT_EQ(outcome.ClassName, "EIdReadTimeout") << i;
    EXPECT_EQ(outcome.Message, "Read Timeout") << i;
    EXPECT_GE(outcome.Milliseconds, 380) << i;
    EXPECT_FALSE(http_.IsConnected()) << i;
    if (i == 2) {
      // What arrived of the body before the stall stays in the stream.
      EXPECT_EQ(stream.DataString(), "012345");
    }
  }
  EXPECT_EQ(server.AcceptedCount(), 3u);
}

TEST_F(HostileServerTest, LinesBeyondTheMaximumLengthEndTheRequest) {
  // The limit counts the bytes before the LF, the CR among them.
  const std::string longestValue(16384 - std::string("X-Long: \r").size(), 'a');
  const std::string tooLong(16385, 'a');
  TScriptedServer server({
      // The longest line allowed still passes, on a connection that stays usable.
      TConnectionScript()
          .ReadRequest()
          .Send(Reply("fits", "200 OK", "X-Long: " + longestValue + "\r\n"))
          .ReadRequest()
          .Send("HTTP/1.1 200 OK " + tooLong + "\r\n\r\n")
          .Hold(),
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nX-Long: " + tooLong + "\r\nContent-Length: 2\r\n\r\nno")
          .Hold(),
      // Without a line end at all the limit still ends the wait.
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + tooLong)
          .Hold(),
  });
  EXPECT_EQ(http_.Get(Url(server)), "fits");
  EXPECT_EQ(http_.Response().HeaderLines.ValueOf("X-Long"), longestValue);
  for (int i = 0; i < 3; ++i) {
    const TOutcome outcome = Fetch(Url(server));
    EXPECT_EQ(outcome.ClassName, "EIdReadLnMaxLineLengthExceeded") << i;
    EXPECT_EQ(outcome.Message, "Max line length exceeded.") << i;
    // A reply cut off in its middle is not left in front of the next one.
    EXPECT_FALSE(http_.IsConnected()) << i;
  }
  EXPECT_EQ(server.AcceptedCount(), 3u);
}

TEST_F(HostileServerTest, ChunkSizesThatAreNotHexadecimalRaiseCloseAndKeepTheChunksBefore) {
  // Each on a connection that the server keeps open: the client itself must let it go.
  const std::vector<std::string> sizes = {"zz", "-3", "0x10", "", "8000000000000000"};
  std::vector<TConnectionScript> scripts;
  for (const std::string& size : sizes) {
    scripts.push_back(TConnectionScript()
                          .ReadRequest()
                          .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "5\r\nabcde\r\n" +
                                size + "\r\nfghij\r\n0\r\n\r\n")
                          .Hold());
  }
  scripts.push_back(TConnectionScript().ReadRequest().Send(Reply("next")).Hold());
  TScriptedServer server(scripts);
  for (const std::string& size : sizes) {
    TMemoryStream stream;
    const TOutcome outcome = Fetch(Url(server), stream);
    EXPECT_EQ(outcome.ClassName, "EIdInvalidChunkSize") << size;
    EXPECT_EQ(outcome.Message, "Invalid chunk size.") << size;
    EXPECT_EQ(stream.DataString(), "abcde") << size;
    EXPECT_FALSE(http_.IsConnected()) << size;
  }
  EXPECT_EQ(http_.Get(Url(server)), "next");
  EXPECT_EQ(server.AcceptedCount(), sizes.size() + 1);
}

TEST_F(HostileServerTest, HeadsAndInterimRepliesPastTheirBoundsRaiseAndClose) {
  constexpr int64_t kBound = TIdHTTPProtocol::kMaxHeadBytes;
  std::string manyLines;  // each line counts 8 bytes with its line end
  while (static_cast<int64_t>(manyLines.size()) <= kBound) manyLines += "X-A: b\r\n";
  std::string interim;
  for (int i = 0; i < TIdHTTPProtocol::kMaxInterimReplies; ++i) {
    interim += "HTTP/1.1 100 Continue\r\n\r\n";
  }
  TScriptedServer server({
      // As many skipped replies as allowed still lead to the real one.
      TConnectionScript()
          .ReadRequest()
          .Send(interim + Reply("allowed", "200 OK", "Connection: close\r\n"))
          .Hold(),
      TConnectionScript()
          .ReadRequest()
          .Send(interim + "HTTP/1.1 100 Continue\r\n\r\n" + Reply("one too many"))
          .Hold(),
      TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\n" + manyLines).Hold(),
      // Trailers count as head.
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\n" + manyLines)
          .Hold(),
      // Without a line limit of the client's, one line of the head is bound as well.
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nX-Long: " + std::string(kBound, 'a') + "\r\n\r\n")
          .Hold(),
      TConnectionScript().ReadRequest().Send(Reply("next")).Hold(),
  });
  EXPECT_EQ(http_.Get(Url(server)), "allowed");
  TOutcome outcome = Fetch(Url(server));
  EXPECT_EQ(outcome.ClassName, "EIdTooManyInterimReplies");
  EXPECT_EQ(outcome.Message, "Too many interim replies.");
  EXPECT_FALSE(http_.IsConnected());
  http_.SetMaxLineLength(0);
  for (int i = 0; i < 3; ++i) {
    TMemoryStream stream;
    outcome = Fetch(Url(server), stream);
    EXPECT_EQ(outcome.ClassName, "EIdReplyHeadTooLarge") << i;
    EXPECT_EQ(outcome.Message, "Reply head too large.") << i;
    EXPECT_FALSE(http_.IsConnected()) << i;
    if (i == 1) {
      EXPECT_EQ(stream.DataString(), "a");  // the chunk before the trailers
    }
  }
  EXPECT_EQ(http_.Get(Url(server)), "next");
}

TEST_F(HostileServerTest, HugeAnnouncedSizesWithFewBytesKeepWhatCameAndRaise) {
  const std::string chunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  TScriptedServer server({
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\nfew bytes")
          .Close(),
      TConnectionScript().ReadRequest().Send(chunkedHead + "2\r\nab\r\n7fffffff\r\ncd").Close(),
      TConnectionScript().ReadRequest().Send(chunkedHead + "ffffffff\r\nef").Close(),
      // Closed in the middle of a size line: the chunks before it stay.
      TConnectionScript().ReadRequest().Send(chunkedHead + "3\r\nghi\r\n1").Close(),
      // A size of 33 bits is no end of the body: what follows it is its data.
      TConnectionScript().ReadRequest().Send(chunkedHead + "100000003\r\njkl\r\n0\r\n\r\n").Close(),
      TConnectionScript()
          .ReadRequest()
          .Send("HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\nto a file")
          .Close(),
  });
  const std::vector<std::string> kept = {"few bytes", "abcd", "ef", "ghi", "jkl\r\n0\r\n\r\n"};
  for (size_t i = 0; i < kept.size(); ++i) {
    TMemoryStream stream;
    const TOutcome outcome = Fetch(Url(server), stream);
    EXPECT_EQ(outcome.ClassName, "EIdConnClosedGracefully") << i;
    EXPECT_EQ(outcome.Message, "Connection Closed Gracefully.") << i;
    EXPECT_EQ(stream.DataString(), kept[i]) << i;
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(kept[i].size())) << i;
    EXPECT_FALSE(http_.IsConnected()) << i;
  }
  EXPECT_EQ(http_.Response().ContentLength(), -1);
  // A file sized ahead for the announced length is cut back to what arrived.
  TTempFolder folder;
  const std::string name = folder / "body.bin";
  {
    TFileStream file(name, fmCreate);
    const TOutcome outcome = Fetch(Url(server), file);
    EXPECT_EQ(outcome.ClassName, "EIdConnClosedGracefully");
    EXPECT_EQ(file.Size(), 9);
  }
  EXPECT_EQ(http_.Response().ContentLength(), 2147483647);
  TFileStream file(name, fmOpenRead);
  char bytes[16] = {};
  EXPECT_EQ(file.Read(bytes, sizeof(bytes)), 9);
  EXPECT_EQ(std::string(bytes, 9), "to a file");
}

TEST_F(HostileServerTest, BinaryGarbageIsARefusedReplyOrAnOverlongLine) {
  // The first line of the garbage becomes the status line, which has no code.
  std::string garbage = Garbage(3000, 11);
  garbage[200] = '\n';
  garbage[1200] = '\n';
  garbage[2500] = '\n';
  TScriptedServer server({
      TConnectionScript().ReadRequest().Send(garbage).Close(),
      // Garbage without any line end runs into the line limit.
      TConnectionScript().ReadRequest().Send(Garbage(20000, 12)).Hold(),
  });
  try {
    http_.Get(Url(server));
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.Message(), garbage.substr(0, 200));
    EXPECT_EQ(error.ReplyCode(), -1);
    // The close ended the head; the unterminated rest is the body, read until that close.
    EXPECT_EQ(error.ErrorBody(), garbage.substr(2501));
  }
  EXPECT_FALSE(http_.IsConnected());
  const TOutcome outcome = Fetch(Url(server));
  EXPECT_EQ(outcome.ClassName, "EIdReadLnMaxLineLengthExceeded");
  EXPECT_EQ(outcome.Message, "Max line length exceeded.");
}

TEST_F(HostileServerTest, ConnectsThatFailEndInTheSocketErrorOrTheConnectTimeOut) {
  // The settings of the launcher's own client.
  http_.SetConnectTimeout(1000);
  http_.SetReadTimeout(3000);
  TOutcome outcome = Fetch("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/");
  EXPECT_EQ(outcome.ClassName, "EIdSocketError");
  EXPECT_EQ(outcome.Message, "Socket Error # 10061\r\nConnection refused.");
  EXPECT_LT(outcome.Milliseconds, 2000);
  EXPECT_FALSE(http_.IsConnected());

  THangingConnectTarget target;
  if (!target.Saturated()) GTEST_SKIP() << "this system answers connects beyond the backlog";
  outcome = Fetch("http://127.0.0.1:" + std::to_string(target.Port()) + "/");
  EXPECT_EQ(outcome.ClassName, "EIdConnectTimeout");
  EXPECT_EQ(outcome.Message, "Connect timed out.");
  EXPECT_GE(outcome.Milliseconds, 950);
  EXPECT_FALSE(http_.IsConnected());
}

}  // namespace
}  // namespace pelmorix
