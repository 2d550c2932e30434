#pragma once

#include <gtest/gtest.h>

#include <string>

#include "http/id_http.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {

// A client of a layer of its own. Its read time-out keeps a faulty exchange from hanging a test.
class HttpClientTest : public ::testing::Test {
 protected:
  HttpClientTest() { http_.SetReadTimeout(5000); }

  static std::string Url(const TScriptedServer& server, const std::string& path = "/") {
    return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
  }
  // The head the client sends for a GET of the target with no cookies.
  static std::string RequestHead(const TScriptedServer& server, const std::string& target,
                                 const std::string& extraLines = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
           "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Pelmorix HTTP)\r\n" +
           extraLines + "\r\n";
  }
  // A reply with a length.
  static std::string Reply(const std::string& body, const std::string& status = "200 OK",
                           const std::string& extraLines = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           extraLines + "\r\n" + body;
  }

  TIdSocketLayer layer_;
  TIdHTTP http_{layer_};
};

}  // namespace pelmorix
