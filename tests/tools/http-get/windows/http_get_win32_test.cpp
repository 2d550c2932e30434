#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/support/scripted_server.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_program.h"

namespace pelmorix {
namespace {

// Every byte value, LF and CR among them, a few times over: what the C runtime's text mode
// would change on the way out.
std::string EveryByteValue() {
  std::string body;
  for (int turn = 0; turn < 4; ++turn) {
    for (int value = 0; value < 256; ++value) body += static_cast<char>(value);
  }
  return body + "\n\n\r\n";
}

// http-get.exe run to its end against a server that sends the body once; what it wrote, to its
// standard output or to the file named with -o.
std::string Download(const std::string& body, bool toFile) {
  TScriptedServer server({TConnectionScript().ReadRequest().Send(
      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)});
  TTempFolder folder;
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/patch.bin";
  TProgramLaunch launch{.Program = PELMORIX_BIN_DIR "\\http-get.exe",
                        .Arguments = {url},
                        .WorkingDirectory = folder.Path(),
                        .Environment = {},
                        .OutputFile = folder / "stdout"};
  if (toFile) launch.Arguments = {"-o", folder / "body", url};
  TWindowsProgram program(launch);
  const long code = program.WaitForExit(60);
  EXPECT_EQ(code, 0) << "http-get.exe did not end with 0 within 60 s; its output:\n"
                     << ReadTextFile(folder / "stdout");
  return ReadTextFile(folder / (toFile ? "body" : "stdout"));
}

TEST(HttpGetToolWin32, BodyComesOutByteForByteOnStandardOutputAndIntoTheFile) {
  const std::string body = EveryByteValue();
  for (const bool toFile : {false, true}) {
    SCOPED_TRACE(toFile ? "-o" : "standard output");
    const std::string written = Download(body, toFile);
    EXPECT_EQ(written.size(), body.size());
    const size_t same =
        std::mismatch(body.begin(), body.end(), written.begin(), written.end()).first -
        body.begin();
    EXPECT_EQ(same, body.size()) << "the body came out changed from byte " << same << " on";
  }
}

// -o writes a new file beside FILE that replaces it (MoveFileEx over an existing file) only when
// the run succeeded; NUL, a device, is written directly.
TEST(HttpGetToolWin32, AnExistingFileIsReplacedOnlyAfterASuccessfulRun) {
  TScriptedServer server(
      {TConnectionScript().ReadRequest().Send(
           "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\ngone"),
       TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew"),
       TConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnul")});
  TTempFolder folder;
  WriteTextFile(folder / "body", "kept");
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/patch.bin";
  const auto run = [&](const std::string& file) {
    TWindowsProgram program({.Program = PELMORIX_BIN_DIR "\\http-get.exe",
                             .Arguments = {"-o", file, url},
                             .WorkingDirectory = folder.Path(),
                             .Environment = {},
                             .OutputFile = folder / "stdout"});
    return program.WaitForExit(60);
  };
  EXPECT_EQ(run(folder / "body"), 1) << ReadTextFile(folder / "stdout");
  EXPECT_EQ(ReadTextFile(folder / "body"), "kept");
  EXPECT_EQ(run(folder / "body"), 0) << ReadTextFile(folder / "stdout");
  EXPECT_EQ(ReadTextFile(folder / "body"), "new");
  EXPECT_EQ(run("NUL"), 0) << ReadTextFile(folder / "stdout");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2)
      << "only body and stdout are left in the folder";
}

}  // namespace
}  // namespace pelmorix
