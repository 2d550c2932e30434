#include "launcher/jpeg_image.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "base/codepage.h"
#include "platform/jpeg/jpeg_decoder.h"
#include "tests/launcher/jpeg_encode.h"

namespace pelmorix {
namespace {

TEST(JpegImage, DecodesWithBothDctSettings) {
  TJPEGImage image;
  TMemoryStream stream;
  stream.WriteText(EncodeSolidJpeg(354, 30, 250, 120, 10));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
  for (auto performance : {TJPEGPerformance::jpBestQuality, TJPEGPerformance::jpBestSpeed}) {
    image.Performance = performance;
    const TRgbPicture picture = image.Decode();
    ASSERT_EQ(picture.Width, 354);
    ASSERT_EQ(picture.Height, 30);
    const size_t middle = (15 * 354 + 177) * 3;
    EXPECT_NEAR(picture.Pixels[middle], 250, 4);
    EXPECT_NEAR(picture.Pixels[middle + 1], 120, 4);
    EXPECT_NEAR(picture.Pixels[middle + 2], 10, 4);
  }
}

TEST(JpegImage, ReportsTheDecoderMessageNumber) {
  TJPEGImage image;
  TMemoryStream stream;
  stream.WriteText("<html>not a picture</html>");
  stream.SetPosition(0);
  image.LoadFromStream(stream);
  try {
    image.Decode();
    FAIL();
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Message(), "JPEG-Fehler #" + std::to_string(JERR_NO_SOI));
  }
  TMemoryStream empty;
  image.LoadFromStream(empty);
  EXPECT_THROW(image.Decode(), EJPEG);
  std::string cut = EncodeSolidJpeg(30, 30, 1, 2, 3);
  cut.resize(100);  // inside the tables of the header
  TMemoryStream truncated;
  truncated.WriteText(cut);
  truncated.SetPosition(0);
  image.LoadFromStream(truncated);
  EXPECT_THROW(image.Decode(), EJPEG);
}

// The picture with the size its frame header declares changed; the compressed data stays.
std::string DeclaringSize(std::string jpeg, uint16_t width, uint16_t height) {
  const size_t frame = jpeg.find("\xFF\xC0");
  EXPECT_NE(frame, std::string::npos);
  jpeg[frame + 5] = static_cast<char>(height >> 8), jpeg[frame + 6] = static_cast<char>(height);
  jpeg[frame + 7] = static_cast<char>(width >> 8), jpeg[frame + 8] = static_cast<char>(width);
  return jpeg;
}

TEST(JpegImage, RefusesADeclaredSizeBeyondTheBoundBeforeDecoding) {
  TJPEGImage image;
  const auto decode = [&image](const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteText(bytes);
    stream.SetPosition(0);
    image.LoadFromStream(stream);
    return image.Decode();
  };
  const std::string tooBig = "JPEG-Fehler #" + std::to_string(TJpegDecoder::PictureTooLargeCode());
  // A few hundred bytes that would decode into some 12 GB.
  const std::string huge = DeclaringSize(EncodeSolidJpeg(16, 8, 9, 9, 9), 65500, 65500);
  ASSERT_LT(huge.size(), 1000u);
  for (const std::string& bytes :
       {huge, EncodeSolidJpeg(4097, 8, 1, 2, 3), EncodeSolidJpeg(8, 4097, 1, 2, 3)}) {
    try {
      decode(bytes);
      ADD_FAILURE() << "decoded a picture beyond the bound";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.Message(), tooBig);
    }
  }
  EXPECT_EQ(decode(EncodeSolidJpeg(4096, 8, 1, 2, 3)).Width, 4096);
  EXPECT_EQ(decode(EncodeSolidJpeg(8, 4096, 1, 2, 3)).Height, 4096);
}

TEST(JpegImage, SavesTheCompressedBytesUnchangedAndReportsMissingFiles) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("pelmorix-jpeg-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string bytes = EncodeSolidJpeg(9, 3, 0, 0, 255);
  TJPEGImage image;
  TMemoryStream stream;
  stream.WriteText(bytes);
  stream.SetPosition(0);
  image.LoadFromStream(stream);
  image.SaveToFile((dir / "33.jpg").string());
  TJPEGImage again;
  again.LoadFromFile((dir / "33.jpg").string());
  EXPECT_EQ(again.Data(), bytes);
  const std::string missing = (dir / "44.jpg").string();
  try {
    again.LoadFromFile(missing);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), Utf8ToCp1252("Datei " + missing + " kann nicht geöffnet werden"));
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pelmorix
