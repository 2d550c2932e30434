#include "http/tcp_connection.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "http/connect_thread.h"
#include "http/connection_exceptions.h"
#include "http/socket_exceptions.h"
#include "http/tcp_client.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A client of a layer of its own, with a record of its events.
class TcpConnectionTest : public ::testing::Test {
 protected:
  TcpConnectionTest() {
    client_.SetHost("127.0.0.1");
    client_.OnStatus = [this](TIdComponent*, TIdStatus, const std::string& text) {
      events_.push_back(text);
    };
    client_.OnDisconnected = [this](TIdComponent*) { events_.push_back("OnDisconnected"); };
    client_.OnConnected = [this](TIdComponent*) { events_.push_back("OnConnected"); };
    client_.OnWorkBegin = [this](TIdComponent*, TWorkMode mode, int64_t maximum) {
      work_.push_back((mode == wmRead ? "read begin " : "write begin ") + std::to_string(maximum));
    };
    client_.OnWork = [this](TIdComponent*, TWorkMode, int64_t count) { totals_.push_back(count); };
    client_.OnWorkEnd = [this](TIdComponent*, TWorkMode mode) {
      work_.push_back(mode == wmRead ? "read end" : "write end");
    };
  }
  void Connect(TScriptedServer& server, int timeout = 3000) {
    client_.SetPort(server.Port());
    client_.OpenConnection(timeout);
    events_.clear();
  }

  TIdSocketLayer layer_;
  TIdTCPClient client_{layer_};
  std::vector<std::string> events_;
  std::vector<std::string> work_;
  std::vector<int64_t> totals_;
};

TEST_F(TcpConnectionTest, RefusedConnectRaisesTheSocketErrorWithAndWithoutWorker) {
  client_.SetPort(UnusedLoopbackPort());
  for (const int timeout : {3000, 0}) {
    const auto start = Clock::now();
    try {
      client_.OpenConnection(timeout);
      ADD_FAILURE() << timeout;
    } catch (const EIdSocketError& error) {
      EXPECT_EQ(error.LastError(), 10061);
      EXPECT_EQ(error.Message(), "Socket Error # 10061\r\nConnection refused.");
    }
    // Noticed within a slice or two through the worker, at once without it.
    EXPECT_LT(MillisecondsSince(start), 2000) << timeout;
    EXPECT_FALSE(client_.IsConnected());
  }
  // The transport stays and serves the next attempt.
  TScriptedServer server({TConnectionScript().Send("hi\n")});
  Connect(server);
  EXPECT_EQ(client_.ReceiveLine(), "hi");
}

TEST_F(TcpConnectionTest, ConnectToAPeerThatNeverAnswersTimesOut) {
  THangingConnectTarget target;
  if (!target.Saturated()) GTEST_SKIP() << "this system answers connects beyond the backlog";
  client_.SetPort(target.Port());
  const auto start = Clock::now();
  try {
    client_.OpenConnection(1000);
    ADD_FAILURE();
  } catch (const EIdConnectTimeout& error) {
    EXPECT_EQ(error.Message(), "Connect timed out.");
    EXPECT_STREQ(error.ClassName(), "EIdConnectTimeout");
  }
  const long long elapsed = MillisecondsSince(start);
  EXPECT_GE(elapsed, 950);
  EXPECT_LT(elapsed, 6000);
  EXPECT_FALSE(client_.IsConnected());
}

// The caller's slices end when the worker does, not at their full length.
TEST_F(TcpConnectionTest, TheConnectWorkerEndsTheCallersWaitWhenItFinishes) {
  TScriptedServer server({TConnectionScript().Hold()});
  TIdSocketHandle handle(layer_.Stack());
  handle.CreateHandle();
  handle.SetPeerAddress("127.0.0.1", server.Port());
  TIdConnectThread worker(layer_.Stack(), handle);
  EXPECT_FALSE(worker.WaitTerminated(10));  // not started: the wait runs out
  worker.Start();
  const auto start = Clock::now();
  EXPECT_TRUE(worker.WaitTerminated(60000));
  EXPECT_LT(MillisecondsSince(start), 30000);
  EXPECT_EQ(worker.FailureMessage(), "");
}

TEST_F(TcpConnectionTest, OpenReportsStatusesAndRefusesASecondOpen) {
  TScriptedServer server({TConnectionScript().Hold()});
  client_.SetHost("localhost");
  client_.SetPort(server.Port());
  client_.OpenConnection(0);
  EXPECT_EQ(events_,
            (std::vector<std::string>{"Resolving hostname localhost.", "Connecting to 127.0.0.1.",
                                      "Connected.", "OnConnected"}));
  try {
    client_.OpenConnection(0);
    ADD_FAILURE();
  } catch (const EIdAlreadyConnected& error) {
    EXPECT_EQ(error.Message(), "Already connected.");
  }
  EXPECT_TRUE(client_.IsConnected());
  events_.clear();
  client_.CloseConnection();
  EXPECT_EQ(events_,
            (std::vector<std::string>{"Disconnecting.", "OnDisconnected", "Disconnected."}));
  EXPECT_EQ(client_.IOHandler(), nullptr);
  events_.clear();
  client_.CloseConnection();
  EXPECT_TRUE(events_.empty());
}

TEST_F(TcpConnectionTest, SilentPeerEndsReadsByTheReadTimeout) {
  TScriptedServer server({TConnectionScript().Send("partial").Hold()});
  Connect(server);
  client_.SetReadTimeout(400);
  auto start = Clock::now();
  try {
    client_.ReceiveLine();
    ADD_FAILURE();
  } catch (const EIdReadTimeout& error) {
    EXPECT_EQ(error.Message(), "Read Timeout");
  }
  EXPECT_GE(MillisecondsSince(start), 380);
  // Nothing received is lost; an explicit time-out gives an empty line instead.
  EXPECT_EQ(client_.InputBuffer().Size(), 7);
  start = Clock::now();
  EXPECT_EQ(client_.ReceiveLine("\n", 200), "");
  EXPECT_TRUE(client_.LineTimedOut());
  EXPECT_GE(MillisecondsSince(start), 180);
  EXPECT_TRUE(client_.IsConnected());
}

TEST_F(TcpConnectionTest, LinesEndAtLfWithCrDroppedAndLoneCrKept) {
  TScriptedServer server({TConnectionScript()
                              .SendInPieces("crlf\r\nlf\n\r\nlone\rcr\nab||cd\r", 3, 5)
                              .Send("\nlast")
                              .Close()});
  Connect(server);
  EXPECT_EQ(client_.ReceiveLine(), "crlf");
  EXPECT_EQ(client_.ReceiveLine(), "lf");
  EXPECT_EQ(client_.ReceiveLine(), "");
  EXPECT_EQ(client_.ReceiveLine(), "lone\rcr");
  EXPECT_EQ(client_.ReceiveLine("||"), "ab");
  EXPECT_EQ(client_.ReceiveLine(""), "cd");
  // An unterminated rest does not make a line once the peer has closed.
  try {
    client_.ReceiveLine();
    ADD_FAILURE();
  } catch (const EIdConnClosedGracefully& error) {
    EXPECT_EQ(error.Message(), "Connection Closed Gracefully.");
  }
  EXPECT_EQ(client_.InputBuffer().TakeText(4), "last");
}

TEST_F(TcpConnectionTest, MaxLineLengthRaisesOrSplits) {
  const std::string longest(16384, 'a');
  const std::string tooLong(16385, 'b');
  TScriptedServer server({TConnectionScript()
                              .Send(longest + "\n" + tooLong + "\n" + tooLong + "\r\n")
                              .Send(std::string(16385, 'c'))
                              .Hold()});
  Connect(server);
  EXPECT_EQ(client_.ReceiveLine(), longest);
  try {
    client_.ReceiveLine();
    ADD_FAILURE();
  } catch (const EIdReadLnMaxLineLengthExceeded& error) {
    EXPECT_EQ(error.Message(), "Max line length exceeded.");
  }
  client_.InputBuffer().Discard(16386);  // the refused line
  client_.SetMaxLineAction(maSplit);
  EXPECT_EQ(client_.ReceiveLine(), std::string(16384, 'b'));
  EXPECT_TRUE(client_.LineWasSplit());
  EXPECT_EQ(client_.ReceiveLine(), "b");
  EXPECT_FALSE(client_.LineWasSplit());
  // Without a terminator the 16385th byte is one too many as well.
  client_.SetMaxLineAction(maException);
  EXPECT_THROW(client_.ReceiveLine(), EIdReadLnMaxLineLengthExceeded);
  client_.SetMaxLineLength(0);
  client_.SetReadTimeout(200);
  EXPECT_THROW(client_.ReceiveLine(), EIdReadTimeout);
}

TEST_F(TcpConnectionTest, PeerCloseLeavesBufferedDataReadable) {
  TScriptedServer server({TConnectionScript().Send("hello").Close()});
  Connect(server);
  ASSERT_TRUE(server.WaitForFinished(1));
  char five[5];
  client_.ReceiveExact(five, 5);
  EXPECT_EQ(std::string(five, 5), "hello");
  EXPECT_EQ(client_.FillInput(false, 2000, false), 0);
  EXPECT_TRUE(client_.ClosedByPeer());
  EXPECT_EQ(events_, (std::vector<std::string>{"Disconnected.", "OnDisconnected"}));
  EXPECT_FALSE(client_.IsConnected());
  EXPECT_FALSE(client_.IsConnected());
  EXPECT_EQ(events_.size(), 2u);  // once only
  EXPECT_THROW(client_.ReceiveExact(five, 1), EIdConnClosedGracefully);
  EXPECT_THROW(client_.SendText("x"), EIdConnClosedGracefully);
}

TEST_F(TcpConnectionTest, ProbeNoticesACloseAndKeepsArrivingData) {
  TScriptedServer server({TConnectionScript().Send("early").Delay(200).Close()});
  Connect(server);
  client_.SetReadTimeout(1);
  for (int i = 0; i < 100 && client_.InputBuffer().Size() < 5; ++i) client_.ProbePeerClosed(false);
  EXPECT_EQ(client_.InputBuffer().TakeText(5), "early");
  ASSERT_TRUE(server.WaitForFinished(1));
  for (int i = 0; i < 100 && client_.IsConnected(); ++i) client_.ProbePeerClosed(false);
  EXPECT_FALSE(client_.IsConnected());
}

TEST_F(TcpConnectionTest, ReceiveToStreamUntilCloseDeliversEverythingWithRunningTotals) {
  std::string body;
  for (int i = 0; i < 100000; ++i) body += static_cast<char>(i % 251);
  TScriptedServer server({TConnectionScript()
                              .Send("head\n" + body.substr(0, 1000))
                              .SendInPieces(body.substr(1000), 33333, 20)});
  Connect(server);
  EXPECT_EQ(client_.ReceiveLine(), "head");
  EXPECT_TRUE(totals_.empty());  // lines outside a read phase count nothing
  TMemoryStream stream;
  client_.ReceiveToStream(stream, -1, true);
  EXPECT_EQ(stream.DataString(), body);
  EXPECT_EQ(work_, (std::vector<std::string>{"read begin 0", "read end"}));
  ASSERT_FALSE(totals_.empty());
  EXPECT_EQ(totals_.back(), 100000);
  for (size_t i = 1; i < totals_.size(); ++i) EXPECT_GT(totals_[i], totals_[i - 1]);
  EXPECT_FALSE(client_.IsConnected());
}

TEST_F(TcpConnectionTest, ReceiveToStreamWithACountStopsThereOrKeepsWhatArrived) {
  std::string body(100000, 'z');
  TScriptedServer server({TConnectionScript().Send(body + "next").Send("0123456789").Close()});
  Connect(server);
  TMemoryStream stream;
  stream.WriteText("kept|");
  client_.ReceiveToStream(stream, 100000);
  EXPECT_EQ(stream.DataString(), "kept|" + body);
  EXPECT_EQ(work_, (std::vector<std::string>{"read begin 100000", "read end"}));
  EXPECT_EQ(totals_.back(), 100000);
  char next[4];
  client_.ReceiveExact(next, 4);

  // A count the peer cuts short: the bytes that came stay, then the close is raised.
  TMemoryStream cut;
  EXPECT_THROW(client_.ReceiveToStream(cut, 2147483647), EIdConnClosedGracefully);
  EXPECT_EQ(cut.DataString(), "0123456789");
  EXPECT_EQ(cut.Size(), 10);
  // The announced length was not reserved ahead of the bytes that came.
  EXPECT_LE(cut.Capacity(), TStreamReservation::kMostAhead + 16);
}

TEST_F(TcpConnectionTest, ReceiveToStreamReadsItsCountFirstWhenNoneIsGiven) {
  const std::string order("\1\2\3\4", 4);
  TScriptedServer server(
      {TConnectionScript().Send(std::string("\0\0\0\5abcdefg", 11) + order + order).Hold()});
  Connect(server);
  TMemoryStream stream;
  client_.ReceiveToStream(stream);
  EXPECT_EQ(stream.DataString(), "abcde");
  EXPECT_EQ(client_.InputBuffer().TakeText(2), "fg");
  EXPECT_EQ(client_.ReceiveInteger(), 0x01020304);
  int32_t raw;
  std::memcpy(&raw, order.data(), 4);
  EXPECT_EQ(client_.ReceiveInteger(false), raw);
}

TEST_F(TcpConnectionTest, SendsLinesTextsStreamsAndBatches) {
  TScriptedServer server({TConnectionScript().ReadFor(300).ReadBytes(100000 + 16).Hold()});
  Connect(server);
  client_.SendText("");
  client_.SendLine();
  client_.SendLine("GET / HTTP/1.1");
  client_.BeginSendBatch();
  client_.SendLine("Host: a");
  client_.SendLine("");
  EXPECT_TRUE(client_.HasSendBatch());
  ::usleep(300000);
  EXPECT_EQ(server.Received(0), "\r\nGET / HTTP/1.1\r\n");  // the batch waits
  client_.EndSendBatch();
  EXPECT_FALSE(client_.HasSendBatch());
  client_.BeginSendBatch();
  client_.SendLine("dropped");
  client_.DiscardSendBatch();
  EXPECT_FALSE(client_.HasSendBatch());

  std::string body;
  for (int i = 0; i < 100000; ++i) body += static_cast<char>('A' + i % 26);
  TMemoryStream stream;
  stream.WriteText(body);
  client_.SendStream(stream);
  client_.SendInteger(0x01020304);
  client_.SendInteger(0x01020304, false);
  client_.SendBytes("end!", 4);
  client_.SendBytes("more", 4);
  EXPECT_EQ(work_, (std::vector<std::string>{"write begin 100000", "write end"}));
  EXPECT_EQ(totals_.back(), 100000);
  client_.CloseConnection();
  ASSERT_TRUE(server.WaitForFinished(1));
  int32_t raw = 0x01020304;
  EXPECT_EQ(server.Received(0), "\r\nGET / HTTP/1.1\r\nHost: a\r\n\r\n" + body +
                                    std::string("\1\2\3\4", 4) +
                                    std::string(reinterpret_cast<char*>(&raw), 4) + "end!more");
}

TEST_F(TcpConnectionTest, SendToAResetPeerRaisesTheSocketErrorAndDrops) {
  // The reset follows the client's first byte, so it cannot overtake the connect.
  TScriptedServer server({TConnectionScript().ReadBytes(1).Reset()});
  Connect(server);
  client_.SendText("!");
  ASSERT_TRUE(server.WaitForFinished(1));
  const std::string block(65536, 'x');
  try {
    for (int i = 0; i < 100; ++i) {
      client_.SendText(block);
      ::usleep(10000);
    }
    ADD_FAILURE();
  } catch (const EIdSocketError& error) {
    EXPECT_TRUE(error.LastError() == 10054 || error.LastError() == 10058 ||
                error.LastError() == 10053)
        << error.LastError();
  }
  EXPECT_FALSE(client_.IsConnected());
}

TEST_F(TcpConnectionTest, ClosedClientOpensAgainWithAnEmptyInputBuffer) {
  TScriptedServer server({TConnectionScript().Send("first\nleft over").Hold(),
                          TConnectionScript().Send("second\n").Hold()});
  Connect(server);
  EXPECT_EQ(client_.ReceiveLine(), "first");
  client_.CloseConnection();
  EXPECT_THROW(client_.ReceiveLine(), EIdNotConnected);
  client_.OpenConnection(3000);
  EXPECT_EQ(client_.ReceiveLine(), "second");
  EXPECT_EQ(server.AcceptedCount(), 2u);
}

}  // namespace
}  // namespace pelmorix
