#include <gtest/gtest.h>

#include "http/socket_exceptions.h"
#include "http/socket_layer.h"
#include "http/tcp_client.h"

namespace pelmorix {
namespace {

// Names the system's resolver turns down before it asks a name server (an empty label, a label
// of 64 letters), so no query leaves the machine; the answer is the socket library's own.
TEST(HostLookup, AMalformedNameFailsAsHostNotFoundWithAndWithoutWorker) {
  TIdSocketLayer layer;
  TIdTCPClient client{layer};
  client.SetPort(80);
  for (const std::string& host :
       {std::string("no..such.host"), std::string(64, 'x') + ".example"}) {
    client.SetHost(host);
    for (const int timeout : {3000, 0}) {
      try {
        client.OpenConnection(timeout);
        ADD_FAILURE() << host << " " << timeout;
      } catch (const EIdSocketError& error) {
        EXPECT_EQ(error.LastError(), 11001) << host;
        EXPECT_EQ(error.Message(), "Socket Error # 11001\r\nHost not found.") << host;
      }
      EXPECT_FALSE(client.IsConnected());
    }
  }
}

}  // namespace
}  // namespace pelmorix
