#include "base/stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/codepage.h"

namespace pelmorix {
namespace {

TEST(MemoryStream, WritesReadsSeeksAndCuts) {
  TMemoryStream stream;
  stream.WriteText("hello world");
  EXPECT_EQ(stream.Position(), 11);
  stream.SetPosition(6);
  char buffer[16] = {};
  EXPECT_EQ(stream.Read(buffer, 16), 5);
  EXPECT_EQ(std::string(buffer, 5), "world");
  stream.SetPosition(5);
  stream.WriteText("!");
  EXPECT_EQ(stream.DataString(), "hello!world");
  stream.SetSize(5);
  EXPECT_EQ(stream.Position(), 5);
  EXPECT_EQ(stream.DataString(), "hello");
  EXPECT_THROW(stream.ReadBuffer(buffer, 1), EReadError);
  stream.SetCapacity(1 << 20);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_GE(stream.Capacity(), 1 << 20);
}

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("pelmorix-fs-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_ / "temp");
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
};

TEST_F(FileStreamTest, CreatesEmptiesAndReadsBackslashPaths) {
  {
    TFileStream out("temp\\test.exe", fmCreate);
    out.WriteText("first version, long");
  }
  {
    TFileStream out("temp\\test.exe", fmCreate);  // empties the existing file
    out.WriteText("second");
  }
  TFileStream in("temp/test.exe", fmOpenRead);
  EXPECT_EQ(in.Size(), 6);
  char buffer[8] = {};
  in.ReadBuffer(buffer, 6);
  EXPECT_EQ(std::string(buffer, 6), "second");
  EXPECT_EQ(in.Seek(-100, TSeekOrigin::soCurrent), 6);  // a failed seek stays put
}

TEST_F(FileStreamTest, ADeviceTakesWritesAndIgnoresSizing) {
  TFileStream sink("/dev/null", fmCreate);
  sink.SetSize(64 * 1024 * 1024);
  sink.WriteText("gone");
  sink.SetSize(0);
  // A regular file is still sized and cut.
  TFileStream out("temp\\sized.bin", fmCreate);
  out.SetSize(5000);
  EXPECT_EQ(out.Size(), 5000);
  out.SetSize(10);
  EXPECT_EQ(out.Size(), 10);
}

TEST_F(FileStreamTest, ReportsTheNameInGerman) {
  try {
    TFileStream missing("nowhere\\x.bin", fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Datei nowhere\\x.bin kann nicht erstellt werden");
  }
  try {
    TFileStream missing("absent.jpg", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), Utf8ToCp1252("Datei absent.jpg kann nicht geöffnet werden"));
  }
  EXPECT_THROW(TFileStream("temp", fmOpenRead), EFOpenError);  // a folder is not a file
}

}  // namespace
}  // namespace pelmorix
