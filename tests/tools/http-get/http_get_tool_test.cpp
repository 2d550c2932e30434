#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/run_program.h"
#include "tests/support/scripted_server.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tls_test_server.h"

namespace pelmorix {
namespace {

const std::string kHttpGet = PELMORIX_BIN_DIR "/http-get";

std::vector<std::string> Command(std::vector<std::string> args) {
  args.insert(args.begin(), kHttpGet);
  return args;
}

// Python's file server (HTTP/1.1, kept connections) on a folder of files, with a request log.
class HttpGetToolTest : public ::testing::Test {
 protected:
  HttpGetToolTest() {
    std::mt19937 random(5);
    binary_.resize(700000);
    for (char& byte : binary_) byte = static_cast<char>(random());
    WriteTextFile(files_ / "patch.bin", binary_);
    WriteTextFile(files_ / "servers.txt", "http://127.0.0.1/starter/\n");
    WriteTextFile(files_ / "empty.txt", "");
    server_ = std::make_unique<TChildProcess>(
        std::vector<std::string>{"python3", PELMORIX_SOURCE_DIR "/tests/support/serve_files.py",
                                 files_.Path(), "--http11", "--log", log_ / "requests.log"});
    base_ = "http://127.0.0.1:" + server_->ReadLine();
  }

  std::vector<std::string> LoggedPorts() {
    std::vector<std::string> ports;
    std::istringstream log(ReadTextFile(log_ / "requests.log"));
    for (std::string line; std::getline(log, line);)
      ports.push_back(line.substr(0, line.find(' ')));
    return ports;
  }

  TTempFolder files_, log_, out_;
  std::string binary_;
  std::unique_ptr<TChildProcess> server_;
  std::string base_;
};

TEST_F(HttpGetToolTest, BodiesOfAllUrlsGoToTheFileInOrderOverOneConnection) {
  const std::string file = out_ / "bodies";
  WriteTextFile(file, "old content that must go");
  for (const bool text : {false, true}) {
    std::vector<std::string> args = {"-o",
                                     file,
                                     base_ + "/servers.txt",
                                     base_ + "/empty.txt",
                                     base_ + "/patch.bin",
                                     base_ + "/servers.txt"};
    if (text) args.insert(args.begin(), "--text");
    const TProgramResult result = RunProgram(Command(args));
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "");
    EXPECT_TRUE(ReadTextFile(file) ==
                "http://127.0.0.1/starter/\n" + binary_ + "http://127.0.0.1/starter/\n")
        << text;
  }
  const std::vector<std::string> ports = LoggedPorts();
  ASSERT_EQ(ports.size(), 8u);
  EXPECT_EQ(std::set<std::string>(ports.begin(), ports.begin() + 4).size(), 1u);
  EXPECT_EQ(std::set<std::string>(ports.begin() + 4, ports.end()).size(), 1u);
}

TEST_F(HttpGetToolTest, OutputMatchesCurlsForTheSameUrls) {
  const std::vector<std::string> urls = {base_ + "/patch.bin", base_ + "/empty.txt",
                                         base_ + "/servers.txt"};
  std::vector<std::string> curl = {"/usr/bin/curl", "--silent", "--show-error"};
  curl.insert(curl.end(), urls.begin(), urls.end());
  const TProgramResult expected = RunProgram(curl);
  ASSERT_EQ(expected.ExitCode, 0) << expected.Err;
  const TProgramResult streamed = RunProgram(Command(urls));
  EXPECT_EQ(streamed.ExitCode, 0) << streamed.Err;
  EXPECT_TRUE(streamed.Out == expected.Out);
  EXPECT_EQ(streamed.Out.size(), binary_.size() + 26);
}

TEST_F(HttpGetToolTest, ALargeDownloadIntoAFileIsNotHeldInMemory) {
  // 160 MiB of a file with holes: quick to make and to serve.
  const std::string large = files_ / "large.bin";
  WriteTextFile(large, "");
  ASSERT_EQ(truncate(large.c_str(), 160LL << 20), 0);
  const TProgramResult result =
      RunProgram(Command({"-o", out_ / "large.bin", base_ + "/large.bin"}));
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(std::filesystem::file_size(out_ / "large.bin"), 160ULL << 20);
  // ru_maxrss counts kilobytes, of the largest child waited for.
  EXPECT_LT(usage.ru_maxrss, 64 * 1024);
}

TEST_F(HttpGetToolTest, TheFirstFailureEndsTheRunWithItsClassAndMessage) {
  const std::string file = out_ / "partial";
  TProgramResult result = RunProgram(
      Command({"-o", file, base_ + "/servers.txt", base_ + "/missing", base_ + "/patch.bin"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "EIdHTTPProtocolException: HTTP/1.1 404 File not found (reply code 404)\n");
  EXPECT_TRUE(std::filesystem::is_empty(out_.Path())) << "a failed run leaves no file behind";

  result = RunProgram(Command({"http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "EIdSocketError: Socket Error # 10061 Connection refused.\n");

  TScriptedServer silent({TConnectionScript().ReadRequest().Hold()});
  result = RunProgram(Command({"--read-timeout", "300", "--connect-timeout", "3000",
                               "http://127.0.0.1:" + std::to_string(silent.Port()) + "/"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "EIdReadTimeout: Read Timeout\n");

  result = RunProgram(Command({"-o", out_ / "no/such/folder/file", base_ + "/servers.txt"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "EFCreateError: Cannot create " + out_ / "no/such/folder/file" +
                            ": No such file or directory\n");
}

TEST_F(HttpGetToolTest, AnExistingFileIsReplacedOnlyWhenTheWholeRunSucceeds) {
  const std::string file = out_ / "bodies";
  WriteTextFile(file, "kept");
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  TProgramResult result =
      RunProgram(Command({"-o", file, base_ + "/servers.txt", base_ + "/missing"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(ReadTextFile(file), "kept");
  result = RunProgram(Command({"-o", file, base_ + "/servers.txt"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(ReadTextFile(file), "http://127.0.0.1/starter/\n");
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
  // Only the file itself: no download left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out_.Path()), {}), 1);

  // Devices are written in place; a failed write names the file and the reason.
  result = RunProgram(Command({"-o", "/dev/null", base_ + "/servers.txt"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  result = RunProgram(Command({"-o", "/dev/full", base_ + "/servers.txt"}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "EWriteError: Cannot write to /dev/full: No space left on device\n");
}

TEST_F(HttpGetToolTest, UrlsWithoutASchemeAreHttpAndOtherSchemesAreRefusedBeforeSending) {
  const std::string hostAndPort = base_.substr(std::string("http://").size());
  TProgramResult result = RunProgram(Command({hostAndPort + "/servers.txt", "/empty.txt"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out, "http://127.0.0.1/starter/\n");
  result = RunProgram(Command({"user:pw@" + hostAndPort + "/empty.txt"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(LoggedPorts().size(), 3u);
  for (const std::string url : {"ftp://127.0.0.1/x", "file:///etc/passwd", "javascript:alert(1)"}) {
    result = RunProgram(Command({base_ + "/servers.txt", url}));
    EXPECT_EQ(result.ExitCode, 2) << url;
    EXPECT_NE(result.Err.find("http-get: the scheme '" + url.substr(0, url.find(':')) + "' of " +
                              url + " is not supported (only http and https)"),
              std::string::npos)
        << result.Err;
  }
  result = RunProgram(Command({"/servers.txt"}));
  EXPECT_EQ(result.ExitCode, 2);
  EXPECT_EQ(LoggedPorts().size(), 3u) << "a refused command line sends nothing";
}

TEST_F(HttpGetToolTest, BadArgumentsPrintTheUsageAndHelpDescribesTheCommand) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--bogus", base_},
                                             {"-o"},
                                             {"--read-timeout", "soon", base_},
                                             {"--connect-timeout", "-5", base_}}) {
    const TProgramResult result = RunProgram(Command(args));
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_NE(result.Err.find("Usage: http-get"), std::string::npos);
    EXPECT_EQ(result.Out, "");
  }
  const TProgramResult help = RunProgram(Command({"--help"}));
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_NE(help.Out.find("Exit status"), std::string::npos);
  EXPECT_TRUE(LoggedPorts().empty());
}

// One connection, checked on the server's side: both requests arrive on it, in order.
TEST(HttpGetToolReuseTest, SeveralUrlsOfOneHostShareTheConnection) {
  TScriptedServer server({TConnectionScript()
                              .ReadRequest()
                              .Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\none")
                              .ReadRequest()
                              .Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                    "3\r\ntwo\r\n0\r\n\r\n")
                              .Hold()});
  const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
  const TProgramResult result = RunProgram(Command({base + "/1", base + "/2?x=y"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out, "onetwo");
  EXPECT_EQ(server.AcceptedCount(), 1u);
  const std::string received = server.Received(0);
  EXPECT_EQ(received.find("GET /1 HTTP/1.1\r\n"), 0u);
  EXPECT_NE(received.find("GET /2?x=y HTTP/1.1\r\n"), std::string::npos);
}

// -L follows through the client's redirect handling; the URL's credentials go to its origin only.
TEST(HttpGetToolRedirectTest, LocationFollowsAndUrlCredentialsStayWithTheirOrigin) {
  TScriptedServer target({TConnectionScript().ReadRequest().Send(
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nmoved")});
  const std::string moved =
      "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" + std::to_string(target.Port()) +
      "/b\r\nContent-Length: 0\r\n\r\n";
  TScriptedServer origin({TConnectionScript().ReadRequest().Send(moved).Hold()});
  const TProgramResult result = RunProgram(
      Command({"-L", "http://user:pw@127.0.0.1:" + std::to_string(origin.Port()) + "/a"}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out, "moved");
  EXPECT_NE(origin.Received(0).find("\r\nAuthorization: Basic dXNlcjpwdw==\r\n"), std::string::npos)
      << origin.Received(0);
  EXPECT_EQ(target.Received(0).find("Authorization"), std::string::npos) << target.Received(0);
}

TEST(HttpGetTlsTest, HttpsComesByteExactFromATrustedServerAndBadCertificatesAreRefused) {
  TTlsTestServer server;
  TTempFolder out;
  TProgramResult result =
      RunProgram(Command({"--cacert", server.CAFile(), "-o", out / "bodies",
                          server.Url("good", "/length"), server.Url("good", "/chunked")}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_TRUE(ReadTextFile(out / "bodies") == TTlsTestServer::Body() + TTlsTestServer::Body());

  result = RunProgram(Command({"--cacert", server.CAFile(), server.Url("expired")}));
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err,
            "EIdSSLCertificateError: SSL certificate verify failed: certificate expired\n");
  result = RunProgram(Command({server.Url("good")}));
  EXPECT_EQ(result.Err,
            "EIdSSLCertificateError: SSL certificate verify failed: untrusted certificate "
            "authority\n");
  result = RunProgram(Command({"--insecure", server.Url("untrusted")}));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out, "ok");
}

}  // namespace
}  // namespace pelmorix
