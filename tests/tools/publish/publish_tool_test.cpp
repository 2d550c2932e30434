#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/codepage.h"
#include "base/exception.h"
#include "launcher/patch_signature.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

const std::string kPublish = PELMORIX_BIN_DIR "/pelmorix-publish";

TProgramResult Shell(const std::string& script) { return RunProgram({"/bin/sh", "-c", script}); }

class PublishTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunProgram({kPublish, "keygen", folder.Path()}).ExitCode, 0);
    std::filesystem::create_directory(folder / "files");
    WriteTextFile(folder / "files/a.txt", "first file\n");
    WriteTextFile(folder / "files/b.bin", std::string("second\0file", 11));
  }

  TProgramResult Sign(const std::string& target) {
    return RunProgram({kPublish, "sign", "--key", folder / "patch-key-private.pem", "--id", "0101",
                       "--type", "1", "--name", "Tärnovia", "--version", "1.2", "--url",
                       "http://127.0.0.1/p/", "--out", folder / "list.txt", folder / "files",
                       "a.txt=" + target, "b.bin=b.bin"});
  }

  TPatchDigests Verify(const std::string& list) {
    return TPatchSignature({ReadTextFile(folder / "patch-key-public.pem")})
        .Verify("101", "1", ReadTextFile(list), ReadTextFile(list + ".sha256"),
                ReadTextFile(list + ".sig"));
  }

  TTempFolder folder;
};

TEST_F(PublishTool, KeygenWritesPrivateKeyForOwnerOnlyAndNeverOverwrites) {
  struct stat info;
  ASSERT_EQ(stat((folder / "patch-key-private.pem").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const std::string before = ReadTextFile(folder / "patch-key-private.pem");
  const TProgramResult again = Shell("cd '" + folder.Path() + "' && exec " + kPublish + " keygen");
  EXPECT_EQ(again.ExitCode, 1);
  EXPECT_NE(again.Err.find("not overwritten"), std::string::npos) << again.Err;
  EXPECT_EQ(ReadTextFile(folder / "patch-key-private.pem"), before);
}

TEST_F(PublishTool, SignedPatchPassesTheLaunchersCheck) {
  const TProgramResult signing = Sign("Spiele\\a.txt");
  ASSERT_EQ(signing.ExitCode, 0) << signing.Err;
  const std::string list = ReadTextFile(folder / "list.txt");
  EXPECT_EQ(list, Utf8ToCp1252("Tärnovia|1.2|||2|http://127.0.0.1/p/a.txt|a.txt|Spiele\\a.txt|"
                               "http://127.0.0.1/p/b.bin|b.bin|b.bin|"));
  const TPatchDigests digests = Verify(folder / "list.txt");
  EXPECT_NO_THROW(CheckPatchFile(digests, "b.bin", folder / "files/b.bin"));
}

TEST_F(PublishTool, FieldHoldingBarRefusedAndNothingWritten) {
  const TProgramResult signing = Sign("Spiele|a.txt");
  EXPECT_EQ(signing.ExitCode, 1);
  EXPECT_NE(signing.Err.find("holds a \"|\""), std::string::npos) << signing.Err;
  EXPECT_FALSE(std::filesystem::exists(folder / "list.txt"));
}

// The vendor's way without the tool, as the README shows it; a digests file that leaves out a
// file of the list is refused although the signature is good.
TEST_F(PublishTool, OpensslSignatureVerifies) {
  const std::string recipe =
      "cd '" + folder.Path() +
      "' && printf 'T|1.2|||2|u/a.txt|a.txt|a.txt|u/b.bin|b.bin|b.bin|' > list.txt"
      " && (cd files && sha256sum a.txt b.bin) > list.txt.sha256"
      " && { printf 'Pelmorix patch 1\\nid %s\\ntype %s\\nlist %s\\n' 101 1"
      " \"$(wc -c < list.txt)\"; cat list.txt list.txt.sha256; }"
      " | openssl dgst -sha256 -sign patch-key-private.pem -out list.txt.sig";
  ASSERT_EQ(Shell(recipe).ExitCode, 0);
  EXPECT_EQ(Verify(folder / "list.txt").size(), 2u);
  ASSERT_EQ(
      Shell(recipe +
            " && (cd files && sha256sum a.txt) > list.txt.sha256 &&"
            " { printf 'Pelmorix patch 1\\nid 101\\ntype 1\\nlist %s\\n' \"$(wc -c < list.txt)\";"
            " cat list.txt list.txt.sha256; }"
            " | openssl dgst -sha256 -sign patch-key-private.pem -out list.txt.sig")
          .ExitCode,
      0);
  try {
    Verify(folder / "list.txt");
    ADD_FAILURE() << "a list with a file outside the digests was taken";
  } catch (const Exception& error) {
    EXPECT_EQ(Cp1252ToUtf8(error.Message()), "Die Signatur des Updates ist ungültig");
  }
}

}  // namespace
}  // namespace pelmorix
