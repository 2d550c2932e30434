// The patch run of a launcher built with a key: a patch signed by pelmorix-publish is installed,
// anything the signature does not cover is refused before it is installed or run.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/codepage.h"
#include "tests/launcher/launcher_rig.h"
#include "tests/support/run_program.h"

namespace pelmorix {
namespace {

const std::string kRetry = ". Führen Sie das Update erneut aus.";

class SignedPatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string key : {"a", "b"}) {
      std::filesystem::create_directory(Keys(key));
      const TProgramResult made = RunProgram({PELMORIX_PUBLISH, "keygen", Keys(key)});
      ASSERT_EQ(made.ExitCode, 0) << made.Err;
    }
    rig.PatchKeys = {ReadTextFile(Keys("a") + "/patch-key-public.pem")};
    rig.AddInstallation(101, {{"version", "1.0"}, {"folder", rig.WorkFolder}});
    rig.Start();
    rig.Show();
    rig.State().Settings.InstallationId = 101;
    rig.Server.Put("patches/101/message.txt", "");
    rig.Server.Put("patches/101/url.txt", "{base}patches/101/list.txt");
    rig.Server.Put("files/f0.bin", "data of f0");
    rig.Server.Put("files/f1.bin", "data of f1");
  }
  std::string Keys(const std::string& name) { return rig.Folder / ("keys-" + name); }
  // Publishes f0.bin and f1.bin as a patch of the type, signed with the key.
  void Publish(const std::string& type, const std::string& key = "a") {
    rig.Server.Put("patches/101/type.txt", type);
    const TProgramResult signed_ = RunProgram(
        {PELMORIX_PUBLISH, "sign", "--key", Keys(key) + "/patch-key-private.pem", "--id", "101",
         "--type", type, "--name", "Karo", "--version", "2.0", "--url",
         rig.Server.Base() + "/files/", "--out", rig.Server.Scenario() + "/patches/101/list.txt",
         rig.Server.Scenario() + "/files", "f0.bin=target0.bin", "f1.bin=target1.bin"});
    ASSERT_EQ(signed_.ExitCode, 0) << signed_.Err;
  }
  std::string Served(const std::string& name) {
    return ReadTextFile(rig.Server.Scenario() + "/" + name);
  }
  void Run() {
    rig.Boxes().clear();
    rig.Shell.Calls.clear();
    rig.Application->DispatchEvent([this] { rig.Form->RunPatch(); });
  }
  // The run ended with the message, before anything was installed, run or recorded.
  void ExpectRefused(const std::string& message) {
    ASSERT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Boxes()[0].text, Utf8ToCp1252("Fehler: " + message + kRetry));
    EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/target0.bin"));
    EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/target1.bin"));
    EXPECT_TRUE(rig.Shell.Calls.empty());
    EXPECT_EQ(rig.InstalledVersion(101), "1.0");
  }

  TLauncherRig rig;
};

TEST_F(SignedPatchRunTest, ASignedPatchIsInstalled) {
  Publish("1");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "Karo 2.0 wurde erfolgreich installiert.");
  EXPECT_EQ(ReadTextFile(rig.WorkFolder + "/target0.bin"), "data of f0");
  EXPECT_EQ(ReadTextFile(rig.WorkFolder + "/target1.bin"), "data of f1");
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
  EXPECT_EQ(rig.Server.RequestsContaining("/patches/101/list.txt.sig"), 1u);
  EXPECT_EQ(rig.Server.RequestsContaining("/patches/101/list.txt.sha256"), 1u);
}

TEST_F(SignedPatchRunTest, WhatTheSignatureDoesNotCoverIsRefusedBeforeAnyDownload) {
  const std::string invalid = "Die Signatur des Updates ist ungültig";
  Publish("1");
  const std::string list = Served("patches/101/list.txt");
  std::string tampered = list;
  tampered.replace(tampered.find("target0.bin"), 11, "evil00.bin!");
  rig.Server.Put("patches/101/list.txt", tampered);
  Run();
  ExpectRefused(invalid);

  rig.Server.Put("patches/101/list.txt", list);
  std::filesystem::remove(rig.Server.Scenario() + "/patches/101/list.txt.sig");
  Run();
  ExpectRefused(invalid);

  Publish("1", "b");
  Run();
  ExpectRefused(invalid);

  Publish("1");
  rig.Server.Put("patches/101/type.txt", "2");  // the list is signed for installing, not running
  Run();
  ExpectRefused(invalid);
  EXPECT_EQ(rig.Server.RequestsContaining("/files/"), 0u);
}

TEST_F(SignedPatchRunTest, ATamperedFileIsRemovedAndNothingIsInstalledOrRun) {
  for (const std::string type : {"1", "2"}) {
    SCOPED_TRACE(type);
    Publish(type);
    rig.Server.Put("files/f1.bin", "data of f2");
    Run();
    ExpectRefused("Die Datei f1.bin ist beschädigt");
    EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/temp/f1.bin"));
    EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f0.bin"));
    rig.Server.Put("files/f1.bin", "data of f1");
  }
}

TEST_F(SignedPatchRunTest, ALauncherWithoutAKeyAsksForNoSignature) {
  rig.State().PatchSignature = TPatchSignature({});
  Publish("1");
  std::filesystem::remove(rig.Server.Scenario() + "/patches/101/list.txt.sig");
  rig.Server.Put("files/f1.bin", "data of f2");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "Karo 2.0 wurde erfolgreich installiert.");
  EXPECT_EQ(ReadTextFile(rig.WorkFolder + "/target1.bin"), "data of f2");
  EXPECT_EQ(rig.Server.RequestsContaining(".sig"), 0u);
  EXPECT_EQ(rig.Server.RequestsContaining(".sha256"), 0u);
}

}  // namespace
}  // namespace pelmorix
