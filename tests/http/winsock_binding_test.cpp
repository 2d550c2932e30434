#include "http/winsock_binding.h"

#include <gtest/gtest.h>

#include <cstring>

#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

TEST(WinSockBinding, TableKeepsTheLibraryOrder) {
  EXPECT_STREQ(TWinSockBinding::EntryName(0), "WSACleanup");
  EXPECT_STREQ(TWinSockBinding::EntryName(TWinSockBinding::kSocket), "socket");
  EXPECT_STREQ(TWinSockBinding::EntryName(TWinSockBinding::kSelect), "select");
  EXPECT_STREQ(TWinSockBinding::EntryName(TWinSockBinding::kGetHostByName), "gethostbyname");
  EXPECT_STREQ(TWinSockBinding::EntryName(TWinSockBinding::kWSAGetLastError), "WSAGetLastError");
  EXPECT_STREQ(TWinSockBinding::EntryName(33), "WSAIsBlocking");
  EXPECT_STREQ(TWinSockBinding::EntryName(95), "WSAProviderConfigChange");
  EXPECT_STREQ(TWinSockBinding::EntryName(96), "WSADuplicateSocketA");
  EXPECT_STREQ(TWinSockBinding::EntryName(TWinSockBinding::kEntryCount - 1), "WSARecvEx");
}

TEST(WinSockBinding, LoadsByNameBindsOnFirstCallAndStubsAfterUnload) {
  TWinSockBinding binding;
  // Before the first start-up every slot is its stub.
  try {
    binding.socket(WS_AF_INET, WS_SOCK_STREAM, 0);
    ADD_FAILURE();
  } catch (const EIdWS2StubError& error) {
    EXPECT_EQ(error.Title(), "Error on call Winsock2 library function socket");
    EXPECT_EQ(error.Win32Error(), 10093u);
  }
  WSADATA data{};
  ASSERT_EQ(binding.Startup(0x0202, data), 0);
  EXPECT_TRUE(binding.Loaded());
  EXPECT_EQ(data.wVersion, 0x0202);
  EXPECT_EQ(binding.Startup(0x0202, data), 0);  // loaded: no second WSAStartup

  const SOCKET s = binding.socket(WS_AF_INET, WS_SOCK_STREAM, 0);
  ASSERT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(binding.closesocket(s), 0);
  // Network order puts the most significant byte first in memory, whatever this machine's is.
  const uint16_t shortValue = binding.Htons(0x1234);
  const uint32_t longValue = binding.Htonl(0x01020304);
  EXPECT_EQ(std::memcmp(&shortValue, "\x12\x34", 2), 0);
  EXPECT_EQ(std::memcmp(&longValue, "\x01\x02\x03\x04", 4), 0);
  EXPECT_EQ(binding.Ntohs(shortValue), 0x1234);
  EXPECT_EQ(binding.Ntohl(longValue), 0x01020304u);
  binding.WSASetLastError(10061);
  EXPECT_EQ(binding.WSAGetLastError(), 10061);
  EXPECT_EQ(binding.WSACleanup(), 0);

  binding.Unload();
  EXPECT_FALSE(binding.Loaded());
  for (const auto& call : {+[](TWinSockBinding& b) { b.socket(WS_AF_INET, WS_SOCK_STREAM, 0); },
                           +[](TWinSockBinding& b) { b.WSAGetLastError(); }}) {
    try {
      call(binding);
      ADD_FAILURE();
    } catch (const EIdWS2StubError& error) {
      EXPECT_EQ(error.Message().rfind("Error on call Winsock2 library function ", 0), 0u);
      EXPECT_NE(error.Message().find(": Either the application has not called WSAStartup"),
                std::string::npos)
          << error.Message();
    }
  }
}

}  // namespace
}  // namespace pelmorix
