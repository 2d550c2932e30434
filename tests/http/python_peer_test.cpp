#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/http/http_client_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

// Python's own file server, which no one here wrote, serving a folder of files.
class PythonPeerTest : public HttpClientTest {
 protected:
  PythonPeerTest() {
    WriteTextFile(files_ / "empty.txt", "");
    WriteTextFile(files_ / "page.html", "<html><body>Tarnovia</body></html>\n");
    std::mt19937 random(11);
    binary_.resize(1500000);
    for (char& byte : binary_) byte = static_cast<char>(random());
    WriteTextFile(files_ / "patch.bin", binary_);
  }

  void Start(bool http11) {
    std::vector<std::string> argv = {"python3", PELMORIX_SOURCE_DIR "/tests/support/serve_files.py",
                                     files_.Path(), "--log", log_ / "requests.log"};
    if (http11) argv.push_back("--http11");
    server_ = std::make_unique<TChildProcess>(argv);
    base_ = "http://127.0.0.1:" + server_->ReadLine();
  }

  // The client port of each logged request.
  std::vector<std::string> LoggedPorts() {
    std::vector<std::string> ports;
    std::istringstream log(ReadTextFile(log_ / "requests.log"));
    for (std::string line; std::getline(log, line);)
      ports.push_back(line.substr(0, line.find(' ')));
    return ports;
  }

  TTempFolder files_, log_;
  std::string binary_;
  std::unique_ptr<TChildProcess> server_;
  std::string base_;
};

TEST_F(PythonPeerTest, FilesArriveWholeOverOneKeptConnectionWithHttp11) {
  Start(true);
  EXPECT_EQ(http_.Get(base_ + "/page.html"), "<html><body>Tarnovia</body></html>\n");
  EXPECT_EQ(http_.Get(base_ + "/empty.txt"), "");
  TTempFolder downloads;
  {
    TFileStream file(downloads / "patch.bin", fmCreate);
    http_.Get(base_ + "/patch.bin", file);
  }
  EXPECT_TRUE(ReadTextFile(downloads / "patch.bin") == binary_);
  try {
    http_.Get(base_ + "/missing.txt");
    ADD_FAILURE();
  } catch (const EIdHTTPProtocolException& error) {
    EXPECT_EQ(error.Message(), "HTTP/1.1 404 File not found");
    EXPECT_EQ(error.ReplyCode(), 404);
    EXPECT_NE(error.ErrorBody().find("404"), std::string::npos);
  }
  EXPECT_EQ(http_.Get(base_ + "/page.html").size(), 35u);
  const std::vector<std::string> ports = LoggedPorts();
  // Its error replies say "Connection: close", so only the request after the 404 reconnects.
  ASSERT_EQ(ports.size(), 5u);
  EXPECT_EQ(std::set<std::string>(ports.begin(), ports.begin() + 4).size(), 1u);
  EXPECT_NE(ports[4], ports[3]);
}

TEST_F(PythonPeerTest, AServerThatClosesAfterEachReplyGetsANewConnectionEachTime) {
  Start(false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(http_.Get(base_ + "/patch.bin").size(), binary_.size());
  EXPECT_THROW(http_.Get(base_ + "/nothing"), EIdHTTPProtocolException);
  EXPECT_EQ(http_.Response().StatusLine, "HTTP/1.0 404 File not found");
  const std::vector<std::string> ports = LoggedPorts();
  ASSERT_EQ(ports.size(), 4u);
  EXPECT_EQ(std::set<std::string>(ports.begin(), ports.end()).size(), 4u);
}

}  // namespace
}  // namespace pelmorix
