#include <gtest/gtest.h>

#include "http/id_component.h"
#include "http/socket_exceptions.h"
#include "http/socket_layer.h"

namespace pelmorix {
namespace {

// A layer of its own with one component keeps a stack alive for the test.
class SocketStackTest : public ::testing::Test {
 protected:
  TIdSocketLayer layer_;
  TIdComponent component_{layer_};
  TIdStack& stack_ = layer_.Stack();
};

TEST_F(SocketStackTest, AddressFormsAreChosenByTheFirstEmptyPart) {
  const auto text = [&](const std::string& address) {
    return stack_.AddressToText(stack_.ParseAddress(address));
  };
  EXPECT_EQ(text("1.2.3.4"), "1.2.3.4");
  EXPECT_EQ(text("1..2"), "0.0.0.1");
  EXPECT_EQ(text("1.2..4"), "1.0.0.2");
  EXPECT_EQ(text("127.1"), "127.0.0.1");
  EXPECT_EQ(text("1.2.3"), "1.2.0.3");
  EXPECT_EQ(text("1.2.65535"), "1.2.255.255");
  EXPECT_EQ(text("16777217"), "1.0.0.1");
  EXPECT_EQ(text("4294967295"), "255.255.255.255");
  EXPECT_EQ(text("1.16777215"), "1.255.255.255");
  EXPECT_EQ(text("0.0.0.0"), "0.0.0.0");

  for (const char* bad : {"1.2.3.4.5", "256.1.1.1", "", "1.2.3.256", "4294967296", "1.16777216",
                          "1.2.65536", "a.b.c.d", "1.2.3.x", "-1.2.3.4", "example"}) {
    EXPECT_FALSE(stack_.IsAddressText(bad)) << bad;
    try {
      stack_.ParseAddress(bad);
      ADD_FAILURE() << bad;
    } catch (const EIdInvalidIPAddress& error) {
      EXPECT_EQ(error.Message(), std::string(bad) + " is not a valid IP address.");
      EXPECT_STREQ(error.ClassName(), "EIdInvalidIPAddress");
    }
  }
}

TEST_F(SocketStackTest, ResolvesLocalhostAndAddressTextsWithoutLookup) {
  EXPECT_EQ(stack_.ResolveHostText("localhost"), "127.0.0.1");
  EXPECT_EQ(stack_.ResolveHostText("LocalHost"), "127.0.0.1");
  EXPECT_EQ(stack_.ResolveHostText("10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(stack_.ResolveHostText("127.1"), "127.1");
  EXPECT_EQ(stack_.ResolveHostText("2130706433"), "2130706433");
}

TEST_F(SocketStackTest, ErrorTextsCarryNumberLineEndAndTableText) {
  EXPECT_EQ(stack_.ErrorText(10061), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(stack_.ErrorText(10035), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_EQ(stack_.ErrorText(10066), "Socket Error # 10066\r\nDirectory not empty");
  EXPECT_EQ(stack_.ErrorText(11001), "Socket Error # 11001\r\nHost not found.");
  EXPECT_EQ(stack_.ErrorText(11004), "Socket Error # 11004\r\n");
  EXPECT_EQ(stack_.ErrorText(10060), "Socket Error # 10060\r\nConnection timed out.");
}

TEST_F(SocketStackTest, CheckResultIgnoresListedNumbersAndRaisesOthers) {
  layer_.WinSockBinding().WSASetLastError(10048);
  EXPECT_FALSE(stack_.CheckResult(0));
  EXPECT_TRUE(stack_.CheckResult(SOCKET_ERROR, {10048}));
  EXPECT_EQ(stack_.LastErrorNumber(), 10048);
  layer_.WinSockBinding().WSASetLastError(10054);
  try {
    stack_.CheckResult(SOCKET_ERROR, {10048});
    ADD_FAILURE();
  } catch (const EIdSocketError& error) {
    EXPECT_EQ(error.LastError(), 10054);
    EXPECT_EQ(error.Message(), "Socket Error # 10054\r\nConnection reset by peer.");
    EXPECT_STREQ(error.ClassName(), "EIdSocketError");
  }
  EXPECT_EQ(stack_.LastErrorNumber(), 10054);
  std::vector<SOCKET> tooMany(65, 0);
  EXPECT_THROW(stack_.Wait(&tooMany, nullptr, 0, nullptr), EIdStackSetSizeExceeded);
}

TEST(SocketLayer, StackLivesWhileComponentsDoAndTheLibraryStartsOnce) {
  TIdSocketLayer layer;
  EXPECT_FALSE(layer.HasStack());
  EXPECT_FALSE(layer.WinSockBinding().Loaded());
  {
    TIdComponent first(layer);
    EXPECT_TRUE(layer.HasStack());
    EXPECT_TRUE(layer.StackStarted());
    TIdStack* stack = &layer.Stack();
    {
      TIdComponent second(layer);
      EXPECT_EQ(layer.ComponentCount(), 2);
      EXPECT_EQ(&layer.Stack(), stack);
    }
    EXPECT_TRUE(layer.HasStack());
  }
  EXPECT_EQ(layer.ComponentCount(), 0);
  EXPECT_FALSE(layer.HasStack());
  {
    TIdComponent again(layer);
    EXPECT_TRUE(layer.HasStack());
  }
  // Started once: one cleanup balances the library's start count, a second finds it stopped.
  EXPECT_EQ(layer.WinSockBinding().WSACleanup(), 0);
  EXPECT_EQ(layer.WinSockBinding().WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(layer.WinSockBinding().WSAGetLastError(), WSANOTINITIALISED);
}

TEST(SocketLayer, MissingLibraryFailsTheComponentAndKeepsTheCountBalanced) {
  TIdSocketLayer layer("libpelmorix_no_such_library.so");
  try {
    TIdComponent component(layer);
    ADD_FAILURE();
  } catch (const EIdWS2StubError& error) {
    EXPECT_EQ(error.Title(), "Error on loading Winsock2 library (WS2_32.DLL)");
    EXPECT_EQ(error.Message().rfind("Error on loading Winsock2 library (WS2_32.DLL): ", 0), 0u)
        << error.Message();
    EXPECT_STREQ(error.ClassName(), "EIdWS2StubError");
  }
  EXPECT_EQ(layer.ComponentCount(), 0);
  EXPECT_FALSE(layer.HasStack());
  EXPECT_FALSE(layer.StackStarted());
}

}  // namespace
}  // namespace pelmorix
