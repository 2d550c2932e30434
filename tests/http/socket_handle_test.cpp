#include "http/socket_handle.h"

#include <gtest/gtest.h>

#include <random>

#include "http/id_component.h"
#include "http/socket_exceptions.h"
#include "tests/support/scripted_server.h"
#include "tests/support/test_sockets.h"

namespace pelmorix {
namespace {

class SocketHandleTest : public ::testing::Test {
 protected:
  ~SocketHandleTest() override {
    for (const TTestSocket socket : taken_) CloseTestSocket(socket);
  }
  // Holds a loopback port, as another program would.
  bool Take(int port) {
    const TTestSocket socket = BoundLoopbackSocket(static_cast<uint16_t>(port));
    if (socket == kNoTestSocket) return false;
    taken_.push_back(socket);
    return true;
  }
  void Release(int port) {
    for (auto it = taken_.begin(); it != taken_.end(); ++it) {
      if (LocalPort(*it) == port) {
        CloseTestSocket(*it);
        taken_.erase(it);
        return;
      }
    }
  }
  // The lowest of three free consecutive ports, all held.
  int TakeThreeFreePorts() {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const int low = 20000 + static_cast<int>(random() % 10000) * 3;
      if (Take(low) && Take(low + 1) && Take(low + 2)) return low;
      Release(low);
      Release(low + 1);
    }
    return 0;
  }
  std::unique_ptr<TIdSocketHandle> NewLoopbackHandle() {
    auto handle = std::make_unique<TIdSocketHandle>(layer_.Stack());
    handle->CreateHandle();
    handle->SetIP("127.0.0.1");
    return handle;
  }

  TIdSocketLayer layer_;
  TIdComponent component_{layer_};
  TTestSocketUse socketUse_;
  std::vector<TTestSocket> taken_;
};

TEST_F(SocketHandleTest, BindsHighestFreePortOfTheRangeOrRaises) {
  const int low = TakeThreeFreePorts();
  ASSERT_NE(low, 0);
  Release(low);
  auto handle = NewLoopbackHandle();
  handle->SetClientPortMin(low);
  handle->SetClientPortMax(low + 2);
  handle->BindLocal();
  EXPECT_EQ(handle->Port(), low);
  EXPECT_EQ(handle->IP(), "127.0.0.1");

  // All three in use: low is now held by the first handle.
  auto second = NewLoopbackHandle();
  second->SetClientPortMin(low);
  second->SetClientPortMax(low + 2);
  try {
    second->BindLocal();
    ADD_FAILURE();
  } catch (const EIdCanNotBindPortInRange& error) {
    EXPECT_EQ(error.Message(), "Can not bind in port range (" + std::to_string(low) + " - " +
                                   std::to_string(low + 2) + ")");
  }

  auto reversed = NewLoopbackHandle();
  reversed->SetClientPortMin(low + 2);
  reversed->SetClientPortMax(low);
  try {
    reversed->BindLocal();
    ADD_FAILURE();
  } catch (const EIdInvalidPortRange& error) {
    EXPECT_EQ(error.Message(),
              "Invalid Port Range (" + std::to_string(low + 2) + " - " + std::to_string(low) + ")");
  }

  // A fixed port in use, and a fixed port set together with a range, bind that port only.
  auto fixed = NewLoopbackHandle();
  fixed->SetPort(low + 1);
  fixed->SetClientPortMin(low);
  fixed->SetClientPortMax(low + 2);
  try {
    fixed->BindLocal();
    ADD_FAILURE();
  } catch (const EIdCouldNotBindSocket& error) {
    EXPECT_EQ(error.Message(), "Could not bind socket. Address and port are already in use.");
  }

  // Without a range the system chooses the port.
  auto any = std::make_unique<TIdSocketHandle>(layer_.Stack());
  any->CreateHandle();
  any->BindLocal();
  EXPECT_NE(any->Port(), 0);
  EXPECT_EQ(any->IP(), "0.0.0.0");
}

TEST_F(SocketHandleTest, WaitReadablePollsBlocksAndRaisesWhenClosed) {
  TScriptedServer server({TConnectionScript().Delay(300).Send("data").Hold()});
  TIdSocketHandle handle(layer_.Stack());
  handle.CreateHandle();
  handle.BindLocal();
  handle.SetPeerAddress("127.1", server.Port());
  ASSERT_EQ(handle.ConnectToPeer(), 0);
  EXPECT_EQ(handle.PeerIP(), "127.0.0.1");
  EXPECT_EQ(handle.PeerPort(), server.Port());
  EXPECT_EQ(handle.IP(), "127.0.0.1");

  EXPECT_FALSE(handle.WaitReadable(0));
  EXPECT_TRUE(handle.WaitReadable(-2));
  char buffer[8];
  EXPECT_EQ(handle.ReceiveSome(buffer, sizeof(buffer)), 4);

  handle.ShutAndClose();
  EXPECT_FALSE(handle.HandleAllocated());
  handle.ShutAndClose();  // a second close does nothing
  try {
    handle.WaitReadable(0);
    ADD_FAILURE();
  } catch (const EIdConnClosedGracefully& error) {
    EXPECT_EQ(error.Message(), "Connection Closed Gracefully.");
  }
}

TEST_F(SocketHandleTest, NonBlockingSocketReceivesWhatWaitsAndStillBlocksForTheRest) {
  constexpr size_t kLargeSend = 32 * 1024 * 1024;  // more than the socket buffers hold
  TScriptedServer server({TConnectionScript()
                              .Send("early")
                              .Delay(300)
                              .Send("late")
                              .Delay(300)
                              .ReadBytes(kLargeSend)
                              .Send("done")
                              .Hold()});
  TIdSocketHandle handle(layer_.Stack());
  handle.CreateHandle();
  handle.SetPeerAddress("127.0.0.1", server.Port());
  ASSERT_EQ(handle.ConnectToPeer(), 0);
  char buffer[64];
  ASSERT_TRUE(handle.WaitReadable(-2));
  // In blocking mode a receive could wait, so nothing is taken even though bytes are there.
  EXPECT_EQ(handle.ReceiveWaiting(buffer, sizeof(buffer)), TIdSocketHandle::kNothingWaiting);

  ASSERT_TRUE(handle.SetNonBlocking());
  EXPECT_EQ(handle.ReceiveWaiting(buffer, sizeof(buffer)), 5);
  EXPECT_EQ(std::string(buffer, 5), "early");
  EXPECT_EQ(handle.ReceiveWaiting(buffer, sizeof(buffer)), TIdSocketHandle::kNothingWaiting);
  // A plain receive still waits for what comes later.
  EXPECT_EQ(handle.ReceiveSome(buffer, sizeof(buffer)), 4);
  EXPECT_EQ(std::string(buffer, 4), "late");

  // Sends go on while the peer reads nothing, filling the socket buffers, and end whole.
  const std::string large(kLargeSend, 'x');
  size_t sent = 0;
  while (sent < large.size()) {
    const int count = handle.SendSome(
        large.data() + sent, static_cast<int>(std::min<size_t>(large.size() - sent, 1024 * 1024)));
    ASSERT_GT(count, 0);
    sent += static_cast<size_t>(count);
  }
  EXPECT_EQ(handle.ReceiveSome(buffer, sizeof(buffer)), 4);
  EXPECT_EQ(std::string(buffer, 4), "done");
  EXPECT_TRUE(server.Problems().empty());

  // A new socket of the handle starts in blocking mode again.
  handle.CreateHandle();
  EXPECT_EQ(handle.ReceiveWaiting(buffer, sizeof(buffer)), TIdSocketHandle::kNothingWaiting);
}

}  // namespace
}  // namespace pelmorix
