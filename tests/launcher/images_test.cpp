// Button pictures: the levels of row 0's Action, the cache file, the two red marks and the
// failures that end a layout pass.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/codepage.h"
#include "tests/launcher/jpeg_encode.h"
#include "tests/launcher/launcher_rig.h"

namespace pelmorix {
namespace {

class ImagesTest : public ::testing::Test {
 protected:
  // Starts with the image level in row 0 and installation 101's cache folder.
  void StartWithLevel(const std::string& level) {
    rig.AddInstallation(101, {{"tempdir", rig.Folder / "cache\\"}});
    std::filesystem::create_directories(rig.Folder / "cache");
    rig.Server.Put("buttons.txt", ButtonRows("0|600|400|" + level + "||Start|||"));
    rig.Server.Put("images/3.jpg", EncodeSolidJpeg(354, 30, 0, 0, 200));
    rig.Start();
    rig.Show();
  }
  size_t ImageRequests() {
    size_t count = 0;
    for (const auto& r : rig.Server.Requests()) count += r.find("getbuttonimage") != r.npos;
    return count;
  }
  const std::string kPage = "<html><body>id=101 [3|10|10|3||Spielen||1]</body></html>";
  TLauncherRig rig;
};

TEST_F(ImagesTest, LevelZeroFetchesNothing) {
  StartWithLevel("0");
  rig.LoadPage(kPage);
  EXPECT_EQ(ImageRequests(), 0u);
  EXPECT_EQ(rig.Form->BitBtn3->Caption(), "Spielen");
  EXPECT_FALSE(std::filesystem::exists(rig.Folder / "cache/30.jpg"));
}

TEST_F(ImagesTest, LevelOneCachesAndClearsTheCaptionButKeepsTheGlyph) {
  StartWithLevel("1");
  const TBitmap designGlyph = rig.Form->BitBtn3->Glyph();
  rig.LoadPage(kPage);
  EXPECT_EQ(ImageRequests(), 1u);
  EXPECT_EQ(rig.Browser->Refreshes, 1);
  EXPECT_EQ(rig.Form->BitBtn3->Caption(), "");
  EXPECT_EQ(rig.Form->BitBtn3->Glyph(), designGlyph);
  EXPECT_TRUE(std::filesystem::exists(rig.Folder / "cache/31.jpg"));
  EXPECT_TRUE(rig.Form->BitBtn3->Visible());
}

TEST_F(ImagesTest, LevelTwoSetsTheMarkedGlyphAndNeverReadsTheCache) {
  StartWithLevel("2");
  rig.LoadPage(kPage);
  rig.LoadPage(kPage);
  EXPECT_EQ(ImageRequests(), 2u);
  const TBitmap& glyph = rig.Form->BitBtn3->Glyph();
  ASSERT_EQ(glyph.Width(), 354);
  EXPECT_EQ(glyph.Pixel(0, 29), clRed);
  EXPECT_EQ(glyph.Pixel(236, 29), clRed);
  EXPECT_NE(glyph.Pixel(118, 29), clRed);  // the disabled cell is not marked
  EXPECT_NEAR(GetBValue(glyph.Pixel(100, 10)), 200, 6);
}

TEST_F(ImagesTest, LevelThreeUsesAnExistingCacheFileWithoutARequest) {
  StartWithLevel("3");
  rig.LoadPage(kPage);
  EXPECT_EQ(ImageRequests(), 1u);
  ASSERT_TRUE(std::filesystem::exists(rig.Folder / "cache/33.jpg"));
  // A cache file of another picture (100 wide) now stands in for the server's.
  TJPEGImage other;
  TMemoryStream bytes;
  bytes.WriteText(EncodeSolidJpeg(100, 20, 250, 250, 250));
  bytes.SetPosition(0);
  other.LoadFromStream(bytes);
  other.SaveToFile(rig.Folder / "cache/33.jpg");
  rig.LoadPage(kPage);
  EXPECT_EQ(ImageRequests(), 1u);
  EXPECT_EQ(rig.Browser->Refreshes, 1);
  EXPECT_EQ(rig.Form->BitBtn3->Glyph().Width(), 100);
  EXPECT_EQ(rig.Form->BitBtn3->Glyph().Pixel(66, 19), clRed);
}

TEST_F(ImagesTest, BadPicturesEndThePassWithTheDecoderMessage) {
  StartWithLevel("2");
  rig.Server.Put("images/3.jpg", "<html>kein Bild</html>");
  rig.LoadPage("<html><body>id=101 [3|10|10|3||Spielen||1] [4|1|1|4||U||1]</body></html>");
  EXPECT_FALSE(rig.Form->BitBtn3->Visible());
  EXPECT_FALSE(rig.Form->BitBtn4->Visible());
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text.rfind("JPEG-Fehler #", 0), 0u);
}

TEST_F(ImagesTest, ModeTwoShowsTheCaptionWithoutAPicture) {
  StartWithLevel("3");
  rig.LoadPage("<html><body>id=101 [3|10|10|3||Spielen||2]</body></html>");
  EXPECT_EQ(ImageRequests(), 0u);
  EXPECT_EQ(rig.Form->BitBtn3->Caption(), "Spielen");
  EXPECT_TRUE(rig.Form->BitBtn3->Visible());
}

TEST_F(ImagesTest, AnUnwritableCacheFolderIsNoFailure) {
  rig.AddInstallation(101, {{"tempdir", rig.Folder / "missing\\"}});
  rig.Server.Put("buttons.txt", ButtonRows("0|600|400|2||Start|||"));
  rig.Server.Put("images/3.jpg", EncodeSolidJpeg(30, 9, 1, 2, 3));
  rig.Start();
  rig.Show();
  rig.LoadPage(kPage);
  EXPECT_TRUE(rig.Boxes().empty());
  EXPECT_EQ(rig.Form->BitBtn3->Glyph().Width(), 30);
}

}  // namespace
}  // namespace pelmorix
