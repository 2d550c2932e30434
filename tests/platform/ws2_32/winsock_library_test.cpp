#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/ws2_32/error_mapping.h"
#include "platform/ws2_32/winsock.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

// The library as its users see it: loaded from its file, functions looked up by WinSock name.
class WinSockLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // By path: a sanitizer's loader interceptor would not search this program's run path.
    const std::string file = std::string(PELMORIX_BIN_DIR) + "/" + kWinSockLibraryFile;
    library_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    Bind(startup_, "WSAStartup");
    Bind(cleanup_, "WSACleanup");
    Bind(lastError_, "WSAGetLastError");
    Bind(socket_, "socket");
    Bind(connect_, "connect");
    Bind(recv_, "recv");
    Bind(send_, "send");
    Bind(select_, "select");
    Bind(closesocket_, "closesocket");
    Bind(shutdown_, "shutdown");
    Bind(getsockname_, "getsockname");
    Bind(getpeername_, "getpeername");
    Bind(gethostbyname_, "gethostbyname");
    Bind(htons_, "htons");
    Bind(htonl_, "htonl");
    Bind(ntohs_, "ntohs");
    Bind(ioctlsocket_, "ioctlsocket");
  }
  void TearDown() override {
    while (cleanup_ != nullptr && cleanup_() == 0) {
    }
    if (library_ != nullptr) dlclose(library_);
  }
  template <class Proc>
  void Bind(Proc& proc, const char* name) {
    proc = reinterpret_cast<Proc>(dlsym(library_, name));
    ASSERT_NE(proc, nullptr) << name;
  }
  void Start() {
    WSADATA data{};
    ASSERT_EQ(startup_(0x0202, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0202);
  }
  SOCKADDR_IN Loopback(uint16_t port) {
    SOCKADDR_IN address{};
    address.sin_family = WS_AF_INET;
    address.sin_port = htons_(port);
    address.sin_addr.s_addr = htonl_(0x7F000001);
    return address;
  }
  SOCKET ConnectTo(uint16_t port) {
    const SOCKET s = socket_(WS_AF_INET, WS_SOCK_STREAM, 0);
    EXPECT_NE(s, INVALID_SOCKET);
    const SOCKADDR_IN address = Loopback(port);
    EXPECT_EQ(connect_(s, reinterpret_cast<const SOCKADDR*>(&address), sizeof(address)), 0)
        << lastError_();
    return s;
  }

  void* library_ = nullptr;
  TWSAStartupProc startup_ = nullptr;
  TWSACleanupProc cleanup_ = nullptr;
  TWSAGetLastErrorProc lastError_ = nullptr;
  TSocketProc socket_ = nullptr;
  TConnectProc connect_ = nullptr;
  TRecvProc recv_ = nullptr;
  TSendProc send_ = nullptr;
  TSelectProc select_ = nullptr;
  TCloseSocketProc closesocket_ = nullptr;
  TShutdownProc shutdown_ = nullptr;
  TGetSockNameProc getsockname_ = nullptr;
  TGetPeerNameProc getpeername_ = nullptr;
  TGetHostByNameProc gethostbyname_ = nullptr;
  THtonsProc htons_ = nullptr;
  THtonlProc htonl_ = nullptr;
  TNtohsProc ntohs_ = nullptr;
  TIoctlSocketProc ioctlsocket_ = nullptr;
};

TEST_F(WinSockLibraryTest, CallsNeedStartupAndCleanupBalancesIt) {
  EXPECT_EQ(socket_(WS_AF_INET, WS_SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(lastError_(), WSANOTINITIALISED);
  EXPECT_EQ(cleanup_(), SOCKET_ERROR);
  Start();
  const SOCKET s = socket_(WS_AF_INET, WS_SOCK_STREAM, 0);
  EXPECT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(closesocket_(s), 0);
  EXPECT_EQ(closesocket_(s), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAENOTSOCK);
  EXPECT_EQ(socket_(23, WS_SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(lastError_(), WSAEAFNOSUPPORT);
  EXPECT_EQ(cleanup_(), 0);
  EXPECT_EQ(cleanup_(), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSANOTINITIALISED);
}

TEST_F(WinSockLibraryTest, RefusedConnectReportsItsNumber) {
  Start();
  const SOCKET s = socket_(WS_AF_INET, WS_SOCK_STREAM, 0);
  const SOCKADDR_IN address = Loopback(UnusedLoopbackPort());
  EXPECT_EQ(connect_(s, reinterpret_cast<const SOCKADDR*>(&address), sizeof(address)),
            SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAECONNREFUSED);
  closesocket_(s);
}

TEST_F(WinSockLibraryTest, ConnectedSocketNamesReceiveAndPeerClose) {
  Start();
  TScriptedServer server({TConnectionScript().ReadBytes(4).Send("pong").Close()});
  const SOCKET s = ConnectTo(server.Port());
  SOCKADDR_IN local{}, peer{};
  int length = sizeof(local);
  ASSERT_EQ(getsockname_(s, reinterpret_cast<SOCKADDR*>(&local), &length), 0);
  EXPECT_EQ(length, 16);
  EXPECT_NE(ntohs_(local.sin_port), 0);
  length = sizeof(peer);
  ASSERT_EQ(getpeername_(s, reinterpret_cast<SOCKADDR*>(&peer), &length), 0);
  EXPECT_EQ(ntohs_(peer.sin_port), server.Port());
  EXPECT_EQ(peer.sin_family, WS_AF_INET);

  EXPECT_EQ(send_(s, "ping", 4, 0), 4);
  char buffer[16];
  std::string got;
  int n;
  while ((n = recv_(s, buffer, sizeof(buffer), 0)) > 0) got.append(buffer, n);
  EXPECT_EQ(n, 0);  // the peer's close
  EXPECT_EQ(got, "pong");
  server.WaitForFinished(1);
  EXPECT_EQ(server.Received(0), "ping");
  closesocket_(s);
}

// The default action of SIGPIPE ends the process, so reaching the end of this test is the check.
TEST_F(WinSockLibraryTest, SendToResetPeerGivesAnErrorNumberNotASignal) {
  Start();
  TScriptedServer server({TConnectionScript().Reset()});
  const SOCKET s = ConnectTo(server.Port());
  ASSERT_TRUE(server.WaitForFinished(1));
  const std::string block(65536, 'x');
  int result = 0;
  for (int i = 0; i < 100 && result != SOCKET_ERROR; ++i) {
    result = send_(s, block.data(), static_cast<int>(block.size()), 0);
    usleep(10000);
  }
  ASSERT_EQ(result, SOCKET_ERROR);
  const int error = lastError_();
  EXPECT_TRUE(error == WSAECONNRESET || error == WSAESHUTDOWN) << error;
  closesocket_(s);
}

TEST_F(WinSockLibraryTest, IoctlSocketSwitchesBlockingModeAndCountsWaitingBytes) {
  Start();
  TScriptedServer server(
      {TConnectionScript().Delay(200).Send("abcdef").Delay(300).Send("g").Hold()});
  const SOCKET s = ConnectTo(server.Port());
  uint32_t argument = 1;
  ASSERT_EQ(ioctlsocket_(s, WS_FIONBIO, &argument), 0);
  char buffer[16];
  // Nothing has come yet: a non-blocking receive says so at once.
  EXPECT_EQ(recv_(s, buffer, sizeof(buffer), 0), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAEWOULDBLOCK);

  FD_SET readSet{};
  readSet.fd_count = 1;
  readSet.fd_array[0] = s;
  TIMEVAL wait{10, 0};
  ASSERT_EQ(select_(0, &readSet, nullptr, nullptr, &wait), 1);
  uint32_t waiting = 0;
  ASSERT_EQ(ioctlsocket_(s, WS_FIONREAD, &waiting), 0);
  EXPECT_EQ(waiting, 6u);
  EXPECT_EQ(recv_(s, buffer, sizeof(buffer), 0), 6);
  ASSERT_EQ(ioctlsocket_(s, WS_FIONREAD, &waiting), 0);
  EXPECT_EQ(waiting, 0u);

  // Back in blocking mode the receive waits for the byte that comes later.
  argument = 0;
  ASSERT_EQ(ioctlsocket_(s, WS_FIONBIO, &argument), 0);
  EXPECT_EQ(recv_(s, buffer, sizeof(buffer), 0), 1);
  EXPECT_EQ(buffer[0], 'g');

  EXPECT_EQ(ioctlsocket_(s, 0x1234, &argument), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAEINVAL);
  EXPECT_EQ(ioctlsocket_(s, WS_FIONBIO, nullptr), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAEFAULT);
  closesocket_(s);
}

TEST_F(WinSockLibraryTest, SelectTakesDescriptorsAbove1023AndAtMost64Sockets) {
  Start();
  rlimit limit;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max < 1600) GTEST_SKIP() << "the descriptor limit is too low here";
  if (limit.rlim_cur < 1600) {
    limit.rlim_cur = 1600;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
  }
  TScriptedServer server({TConnectionScript().Delay(300).Send("x").Hold()});
  const SOCKET connected = ConnectTo(server.Port());
  const int high = dup2(static_cast<int>(connected), 1500);
  ASSERT_EQ(high, 1500);
  closesocket_(connected);

  FD_SET readSet{};
  readSet.fd_count = 1;
  readSet.fd_array[0] = static_cast<SOCKET>(high);
  TIMEVAL poll{0, 0};
  EXPECT_EQ(select_(0, &readSet, nullptr, nullptr, &poll), 0);
  EXPECT_EQ(readSet.fd_count, 0u);
  readSet.fd_count = 1;
  readSet.fd_array[0] = static_cast<SOCKET>(high);
  TIMEVAL wait{10, 0};
  EXPECT_EQ(select_(0, &readSet, nullptr, nullptr, &wait), 1);
  EXPECT_EQ(readSet.fd_count, 1u);
  EXPECT_EQ(readSet.fd_array[0], static_cast<SOCKET>(high));

  readSet.fd_count = WS_FD_SETSIZE + 1;
  EXPECT_EQ(select_(0, &readSet, nullptr, nullptr, &poll), SOCKET_ERROR);
  EXPECT_EQ(lastError_(), WSAEINVAL);
  closesocket_(static_cast<SOCKET>(high));
}

TEST_F(WinSockLibraryTest, HostLookupAnswersFromTheHostsFile) {
  std::ifstream hosts("/etc/hosts");
  std::stringstream content;
  content << hosts.rdbuf();
  // Without a hosts entry the lookup would ask a name server, which tests never do.
  if (content.str().find("127.0.0.1 localhost") == std::string::npos &&
      content.str().find("127.0.0.1\tlocalhost") == std::string::npos) {
    GTEST_SKIP() << "no localhost line in /etc/hosts";
  }
  Start();
  const HOSTENT* entry = gethostbyname_("localhost");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->h_addrtype, WS_AF_INET);
  EXPECT_EQ(entry->h_length, 4);
  ASSERT_NE(entry->h_addr_list[0], nullptr);
  uint32_t address;
  std::memcpy(&address, entry->h_addr_list[0], 4);
  EXPECT_EQ(address, htonl_(0x7F000001));
}

TEST(WinSockErrorMapping, ErrnoAndResolverAnswersBecomeWinSockNumbers) {
  EXPECT_EQ(ws2::WinSockErrorFromErrno(ECONNREFUSED), 10061);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(ETIMEDOUT), 10060);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(ECONNRESET), 10054);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(ENETUNREACH), 10051);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(EHOSTUNREACH), 10065);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(EADDRINUSE), 10048);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(EPIPE), 10058);
  EXPECT_EQ(ws2::WinSockErrorFromErrno(EWOULDBLOCK), 10035);
  EXPECT_EQ(ws2::WinSockErrorFromResolver(HOST_NOT_FOUND), 11001);
  EXPECT_EQ(ws2::WinSockErrorFromResolver(TRY_AGAIN), 11002);
  EXPECT_EQ(ws2::WinSockErrorFromResolver(NO_DATA), 11004);
}

}  // namespace
}  // namespace pelmorix
