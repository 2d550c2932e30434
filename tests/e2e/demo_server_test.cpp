// The demo server answers every request the launcher makes in the formats the launcher reads,
// and logs each one; seen with plain HTTP requests, independent of the system's client.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/codepage.h"
#include "platform/registry/registry_api.h"
#include "tests/e2e/demo_server.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/plain_http.h"

namespace pelmorix::e2e {
namespace {

std::vector<std::string> Fields(const std::string& row) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t bar; (bar = row.find('|', start)) != std::string::npos; start = bar + 1) {
    fields.push_back(row.substr(start, bar - start));
  }
  fields.push_back(row.substr(start));
  return fields;
}

TEST(DemoServer, AnswersTheServerListAndTheButtonRows) {
  TDemoServer server;
  const std::string base = server.Address() + "/";

  THttpReply reply = PlainGet(server.Port(), "/starter/server20/servers.txt");
  EXPECT_EQ(reply.Status, 200);
  EXPECT_EQ(reply.Body, base);  // no line break: the launcher uses it verbatim
  EXPECT_EQ(reply.Header("Content-Length"), std::to_string(reply.Body.size()));
  // An affiliate without a list of its own gets the common one; a scenario may add one.
  EXPECT_EQ(PlainGet(server.Port(), "/starter/server2017/servers.txt").Body, base);
  server.WriteScenarioFile("servers17.txt", "http://127.0.0.1:1/partner/");
  EXPECT_EQ(PlainGet(server.Port(), "/starter/server2017/servers.txt").Body,
            "http://127.0.0.1:1/partner/");

  for (int row = 0; row <= 12; ++row) {
    reply = PlainGet(server.Port(),
                     "/starter/index.php?action=getbutton&param1=" + std::to_string(row));
    ASSERT_EQ(reply.Status, 200) << "row " << row;
    const std::vector<std::string> fields = Fields(reply.Body);
    EXPECT_EQ(fields[0], std::to_string(row));
    EXPECT_LE(fields.size(), 10u) << reply.Body;
    EXPECT_EQ(reply.Body.find_first_of("\r\n"), std::string::npos) << "row " << row;
  }
  // Row 0: client size - 4, picture level, and the window caption in the caption field.
  const std::vector<std::string> row0 =
      Fields(PlainGet(server.Port(), "/starter/index.php?action=getbutton&param1=0").Body);
  ASSERT_GE(row0.size(), 6u);
  EXPECT_EQ(row0[1], "636");
  EXPECT_EQ(row0[2], "436");
  EXPECT_EQ(row0[3], "3");
  EXPECT_EQ(row0[5], "Tarnovia Kartenspiele (Demo)");
  // Row 3 is the play button: action 3, caption, shown with a picture.
  const std::vector<std::string> row3 =
      Fields(PlainGet(server.Port(), "/starter/index.php?action=getbutton&param1=3").Body);
  ASSERT_GE(row3.size(), 8u);
  EXPECT_EQ(row3[3], "3");
  EXPECT_EQ(row3[5], "Spielen");
  EXPECT_EQ(row3[7], "1");

  EXPECT_EQ(PlainGet(server.Port(), "/starter/index.php?action=getbutton&param1=13").Status, 404);
  EXPECT_EQ(PlainGet(server.Port(), "/starter/index.php?action=getbutton&param1=x").Status, 404);
}

TEST(DemoServer, AnswersThePageTheProbeAndTheDownloadLinkAndLogsEveryRequest) {
  TDemoServer server;
  const std::string page =
      "/index.php?action=getpage&param2=2&v101=1.0&screenwidth=1280&screenheight=1024&id=101"
      "&launcherv=7&affid=";
  THttpReply reply = PlainGet(server.Port(), page);
  EXPECT_EQ(reply.Status, 200);
  EXPECT_NE(reply.Header("Content-Type").find("text/html"), std::string::npos);
  // The directives: the installation id first, then the bracketed rows.
  const size_t id = reply.Body.find("id=");
  ASSERT_NE(id, std::string::npos);
  EXPECT_EQ(reply.Body.substr(id, 6), "id=101");
  EXPECT_LT(id, reply.Body.find('['));
  EXPECT_NE(reply.Body.find("[3|40|384|3|122x34|Spielen||1]"), std::string::npos);
  EXPECT_NE(reply.Body.find("[4|230|384|4|122x34|Update Installieren||1]"), std::string::npos);

  reply = PlainGet(server.Port(), "/index.php");
  EXPECT_EQ(reply.Status, 200);
  EXPECT_FALSE(reply.Body.empty());
  reply = PlainGet(server.Port(), "/index.php?action=getdllink&param1=&param2=101");
  EXPECT_EQ(reply.Status, 200);
  EXPECT_NE(reply.Body.find("param2=101"), std::string::npos);

  // Nothing outside the scenario folder is served, the request log beside it included.
  EXPECT_EQ(PlainGet(server.Port(), "/../requests.log").Status, 404);
  EXPECT_EQ(PlainGet(server.Port(), "/missing.txt").Status, 404);

  EXPECT_EQ(server.Requests(),
            (std::vector<std::string>{page, "/index.php",
                                      "/index.php?action=getdllink&param1=&param2=101",
                                      "/../requests.log", "/missing.txt"}));
  EXPECT_TRUE(server.WaitForRequest("action=getdllink", 1));
  EXPECT_FALSE(server.WaitForRequest("action=getpatchmsg", 0.2));
}

// Per installation a question, a list address, a type and a list whose files the server has.
TEST(DemoServer, AnswersThePatchRequestsOfEachDemoInstallation) {
  TDemoServer server;
  const std::string base = server.Address() + "/";
  auto patch = [&](int id, const std::string& action) {
    return PlainGet(server.Port(), "/index.php?id=" + std::to_string(id) + "&action=" + action);
  };

  // 101: a question with a caption before the first "|" and a line break in the message.
  THttpReply reply = patch(101, "getpatchmsg");
  ASSERT_EQ(reply.Status, 200);
  const size_t bar = reply.Body.find('|');
  ASSERT_NE(bar, std::string::npos);
  EXPECT_EQ(reply.Body.substr(0, bar), Utf8ToCp1252("Tarnovia Rommé 1.1"));
  EXPECT_NE(reply.Body.find("#13#10", bar), std::string::npos);
  EXPECT_EQ(patch(101, "getpatchurl").Body, base + "patches/101/list.txt");
  EXPECT_EQ(patch(101, "getpatchtype").Body, "1");

  reply = PlainGet(server.Port(), "/patches/101/list.txt");
  ASSERT_EQ(reply.Status, 200);
  std::vector<std::string> list = Fields(reply.Body);
  // name, version, two unused, the count, three fields per file, and the empty rest.
  ASSERT_EQ(list.size(), 5u + 2 * 3 + 1) << reply.Body;
  EXPECT_EQ(list[1], "1.1");
  EXPECT_EQ(list[4], "2");
  EXPECT_EQ(list.back(), "");
  for (size_t file = 0; file < 2; ++file) {
    const std::string& url = list[5 + 3 * file];
    ASSERT_EQ(url.compare(0, base.size(), base), 0) << url;
    const THttpReply download = PlainGet(server.Port(), "/" + url.substr(base.size()));
    EXPECT_EQ(download.Status, 200) << url;
    EXPECT_FALSE(download.Body.empty());
    EXPECT_EQ(list[7 + 3 * file], "games\\101\\" + list[6 + 3 * file]);
  }

  // 102: no question, and a list without files.
  EXPECT_EQ(patch(102, "getpatchmsg").Body, "");
  EXPECT_EQ(patch(102, "getpatchtype").Body, "1");
  list = Fields(PlainGet(server.Port(), "/patches/102/list.txt").Body);
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[4], "0");

  // 103: the launcher itself, from a file the one who runs it places; served unchanged.
  list = Fields(PlainGet(server.Port(), "/patches/103/list.txt").Body);
  ASSERT_EQ(list.size(), 9u);
  EXPECT_EQ(list[6], "new.exe");
  EXPECT_EQ(list[7], "Pelmorix.exe");
  const std::string program = "/" + list[5].substr(base.size());
  EXPECT_EQ(PlainGet(server.Port(), program).Status, 404);
  const char raw[] =
      "\x7f"
      "ELF {base} \0\xff";
  const std::string bytes(raw, sizeof raw - 1);
  server.WriteScenarioFile(program.substr(1), bytes);
  reply = PlainGet(server.Port(), program);
  EXPECT_EQ(reply.Status, 200);
  EXPECT_EQ(reply.Body, bytes);

  // No patch for an installation the scenario does not know.
  EXPECT_EQ(patch(999, "getpatchmsg").Status, 404);
}

// The fixture registers installations where the launcher reads them.
TEST_F(LauncherEndToEnd, InstallationsAreRegisteredWhereTheLauncherReadsThem) {
  const TDemoGame game = AddInstallation(
      {.Id = 205, .Version = "3", .StarterVersion = "", .AffiliateId = "17", .TempDir = "C:\\t\\"});
  TRegistryApi registry(Registry.Folder());
  HKEY key = 0;
  ASSERT_EQ(registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora\\tarnovia\\205", 0,
                                   KEY_READ, &key),
            ERROR_SUCCESS);
  auto value = [&](const char* name) {
    char data[1024] = {};
    DWORD type = 0, size = sizeof data;
    if (registry.RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                  &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return std::string("<missing>");
    }
    return std::string(data);
  };
  EXPECT_EQ(value("folder"), game.Folder);
  EXPECT_EQ(value("exe"), "game.exe");
  EXPECT_EQ(value("uninstallexe"), game.Uninstaller);
  EXPECT_EQ(value("version"), "3");
  EXPECT_EQ(value("affid"), "17");
  EXPECT_EQ(value("starterversion"), "<missing>");
  registry.RegCloseKey(key);
  EXPECT_EQ(Registry.MachineValue(205, "folder"), game.Folder);
  EXPECT_EQ(Registry.MachineValue(205, "starterversion"), std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(game.Game));
  EXPECT_TRUE(std::filesystem::exists(game.Uninstaller));
}

}  // namespace
}  // namespace pelmorix::e2e
