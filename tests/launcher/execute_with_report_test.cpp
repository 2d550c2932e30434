#include "launcher/execute_with_report.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/codepage.h"
#include "platform/shell/recording_shell.h"
#include "platform/shell/system_shell.h"
#include "tests/support/argv_record.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

std::string Failed(const std::string& head, int code) {
  return head + Utf8ToCp1252(" konnte nicht ausgeführt werden. (Fehlercode: ") +
         std::to_string(code) + ")";
}

TEST(ExecuteWithReport, PassesEverythingThroughAndReportsFailures) {
  TRecordingShell shell;
  TRecordingMessageBoxHost boxes;
  boxes.SetTitle("Tarnovia Start");
  shell.Answers = {33, 2, 32, 0, 7};

  EXPECT_EQ(ExecuteWithReport(shell, boxes, 77, "open", "\"C:\\Spiele\\game.exe\"", "/3",
                              "C:\\Spiele", 5, "StartGame"),
            33);
  EXPECT_TRUE(boxes.Boxes.empty());
  ASSERT_EQ(shell.Calls.size(), 1u);
  EXPECT_EQ(shell.Calls[0].Window, 77u);
  EXPECT_EQ(shell.Calls[0].Operation, "open");
  EXPECT_EQ(shell.Calls[0].File, "\"C:\\Spiele\\game.exe\"");
  EXPECT_EQ(shell.Calls[0].Parameters, "/3");
  EXPECT_EQ(shell.Calls[0].Directory, "C:\\Spiele");
  EXPECT_EQ(shell.Calls[0].ShowCommand, 5);

  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", "temp\\setup.exe", "", "", 5, "ExecuteEXE"), 2);
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].text,
            Utf8ToCp1252("ERROR_FILE_NOT_FOUND: ExecuteEXE:temp\\setup.exe  konnte nicht "
                         "ausgeführt werden. (Fehlercode: 2)"));
  EXPECT_EQ(boxes.Boxes[0].caption, "Tarnovia Start");
  EXPECT_EQ(boxes.Boxes[0].flags, MB_OK);

  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", "\"Update.exe\"", "/101 /0 /action4", "", 5,
                              "Restart"),
            32);
  EXPECT_EQ(boxes.Boxes[1].text,
            Failed("SE_ERR_DLLNOTFOUND: Restart:\"Update.exe\" /101 /0 /action4", 32));
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", "Pelmorix.exe", "", "", 5, ""), 0);
  EXPECT_EQ(boxes.Boxes[2].text, Failed("MEMORY_OUT_OF_RESOURCES: :Pelmorix.exe ", 0));
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", "x", "", "", 5, "R"), 7);
  EXPECT_EQ(boxes.Boxes[3].text, Failed(": R:x ", 7));
}

TEST(ExecuteWithReport, StartsRealProgramsAndReportsRealFailures) {
  TTempFolder folder;
  const std::string game = folder / "Tarnovia Spiele/game.exe";
  CopyProgram(PELMORIX_ARGV_RECORDER, game);
  TSystemShell shell(folder.Path(), folder / "no-opener");
  TRecordingMessageBoxHost boxes;

  const std::string quoted = "\"" + game + "\"";
  EXPECT_GT(ExecuteWithReport(shell, boxes, 0, "", quoted, "/n", folder.Path(), 5, "StartGame"),
            32);
  TArgvRecord record;
  ASSERT_TRUE(WaitForArgvRecord(game, record));
  EXPECT_EQ(record.Arguments, std::vector<std::string>{"/n"});
  EXPECT_EQ(record.WorkingDirectory, folder.Path());
  EXPECT_TRUE(boxes.Boxes.empty());

  const std::string missing = "\"" + folder.Path() + "\\missing.exe\"";
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", missing, "", "", 5, "StartGame"), 2);
  const std::string noFolder = folder.Path() + "\\nowhere\\setup.exe";
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", noFolder, "", "", 5, "ExecuteEXE"), 3);
  chmod(game.c_str(), 0644);
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "", quoted, "", "", 5, "Uninstall"), 5);
  EXPECT_EQ(ExecuteWithReport(shell, boxes, 0, "open", "http://127.0.0.1/patch", "", "", 5,
                              "GetPatchUrl"),
            31);
  ASSERT_EQ(boxes.Boxes.size(), 4u);
  EXPECT_EQ(boxes.Boxes[0].text, Failed("ERROR_FILE_NOT_FOUND: StartGame:" + missing + " ", 2));
  EXPECT_EQ(boxes.Boxes[1].text, Failed("ERROR_PATH_NOT_FOUND: ExecuteEXE:" + noFolder + " ", 3));
  EXPECT_EQ(boxes.Boxes[2].text, Failed("SE_ERR_ACCESSDENIED: Uninstall:" + quoted + " ", 5));
  EXPECT_EQ(boxes.Boxes[3].text, Failed("SE_ERR_NOASSOC: GetPatchUrl:http://127.0.0.1/patch ", 31));
}

}  // namespace
}  // namespace pelmorix
