// The demo server answers every request the launcher makes in the formats the launcher reads,
// and logs each one; seen with plain HTTP requests, independent of the system's client.
#include <gtest/gtest.h>

#include <filesystem>

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
  EXPECT_NE(reply.Body.find("[3|40|380|3||Spielen||1]"), std::string::npos);
  EXPECT_NE(reply.Body.find("[4|230|380|4||Update Installieren||1]"), std::string::npos);

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
