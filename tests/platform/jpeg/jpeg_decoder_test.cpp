#include "platform/jpeg/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmorix {
namespace {

// 16 x 8 pixels: the left half rgb(250, 120, 10), the right half rgb(0, 0, 255); made with
// ImageMagick (quality 95, no chroma subsampling), so no decoder of this project wrote it.
const std::string kTwoColours(
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
    "\xff\xdb\x00\x43\x00\x02\x01\x01\x01\x01\x01\x02\x01\x01\x01\x02\x02\x02\x02\x02"
    "\x04\x03\x02\x02\x02\x02\x05\x04\x04\x03\x04\x06\x05\x06\x06\x06\x05\x06\x06\x06"
    "\x07\x09\x08\x06\x07\x09\x07\x06\x06\x08\x0b\x08\x09\x0a\x0a\x0a\x0a\x0a\x06\x08"
    "\x0b\x0c\x0b\x0a\x0c\x09\x0a\x0a\x0a\xff\xdb\x00\x43\x01\x02\x02\x02\x02\x02\x02"
    "\x05\x03\x03\x05\x0a\x07\x06\x07\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a"
    "\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a"
    "\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\x0a\xff\xc0"
    "\x00\x11\x08\x00\x08\x00\x10\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00"
    "\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x07\x09"
    "\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\xff\xc4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x09\x0a\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f"
    "\x00\x48\x19\x64\xa1\x0a\xd6\x60\x20\xdf\xff\xd9",
    292);

void ExpectColour(const std::vector<uint8_t>& pixels, int x, int y, int red, int green, int blue) {
  const size_t at = (static_cast<size_t>(y) * 16 + x) * 3;
  EXPECT_NEAR(pixels[at], red, 6) << x << "," << y;
  EXPECT_NEAR(pixels[at + 1], green, 6) << x << "," << y;
  EXPECT_NEAR(pixels[at + 2], blue, 6) << x << "," << y;
}

TEST(JpegDecoder, GivesTheSizeFirstAndThenRedGreenBlueRows) {
  for (const bool fast : {false, true}) {
    TJpegDecoder decoder(kTwoColours, fast);
    int width = 0, height = 0;
    ASSERT_EQ(decoder.ReadHeader(width, height), 0);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 8);
    std::vector<uint8_t> pixels;
    ASSERT_EQ(decoder.ReadPixels(pixels), 0);
    ASSERT_EQ(pixels.size(), 16u * 8 * 3);
    ExpectColour(pixels, 2, 1, 250, 120, 10);
    ExpectColour(pixels, 13, 6, 0, 0, 255);
  }
}

TEST(JpegDecoder, FailsOnWhatIsNotAPictureAndKeepsFailing) {
  const std::string text = "<html>not a picture</html>";
  TJpegDecoder decoder(text, true);
  int width = 0, height = 0;
  const int failure = decoder.ReadHeader(width, height);
  EXPECT_NE(failure, 0);
  std::vector<uint8_t> pixels;
  EXPECT_EQ(decoder.ReadPixels(pixels), failure);
  EXPECT_TRUE(pixels.empty());

  const std::string nothing;
  TJpegDecoder empty(nothing, false);
  EXPECT_NE(empty.ReadHeader(width, height), 0);
  // Cut inside the tables, before the frame header that names the size.
  const std::string cut = kTwoColours.substr(0, 20);
  TJpegDecoder truncated(cut, false);
  EXPECT_NE(truncated.ReadHeader(width, height), 0);

  TJpegDecoder unread(kTwoColours, false);
  EXPECT_NE(unread.ReadPixels(pixels), 0);
}

}  // namespace
}  // namespace pelmorix
