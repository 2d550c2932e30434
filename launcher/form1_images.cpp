// Button pictures: fetched from the server per row, cached on disk, decoded into the one
// button bitmap, marked so that only pure red is transparent, and given to the button.
#include <exception>

#include "base/convert.h"
#include "base/stream.h"
#include "launcher/form1.h"
#include "platform/files/files.h"

namespace pelmorix {
namespace {

// The decoded picture as a bitmap of the same size.
TBitmap ToBitmap(const TRgbPicture& picture) {
  TBitmap bitmap(picture.Width, picture.Height);
  const uint8_t* p = picture.Pixels.data();
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x, p += 3) bitmap.SetPixel(x, y, RGB(p[0], p[1], p[2]));
  }
  return bitmap;
}

}  // namespace

void TForm1::LoadButtonImage(int row, TBitBtn& button) {
  TLauncherState& state = Launcher.State;
  const std::string& imageLevel = state.ButtonTable[0].Action;
  const std::string cacheFile = state.Settings.GetImageFolder(state.Settings.InstallationId) +
                                IntToStr(row) + imageLevel + ".jpg";
  if (FileExists(cacheFile) && StrToInt(imageLevel) > 2) {
    state.ButtonJpeg.LoadFromFile(cacheFile);
    state.ButtonBitmap = ToBitmap(state.ButtonJpeg.Decode());
  } else {
    wb->Refresh();
    DecodeJpegText(IdHTTP1.Get(state.ServerBase + "index.php?action=getbuttonimage&id=" +
                               IntToStr(state.Settings.InstallationId) +
                               "&param1=" + IntToStr(row)));
    try {
      state.ButtonJpeg.SaveToFile(cacheFile);
    } catch (const std::exception&) {
      // Without a cache copy the picture is simply fetched again next time.
    }
  }
  MarkGlyphStrip();
  button.SetCaption("");
  if (StrToInt(imageLevel) >= 2) button.SetGlyph(state.ButtonBitmap);
}

void TForm1::DecodeJpegText(const std::string& text) {
  TLauncherState& state = Launcher.State;
  TMemoryStream stream;
  stream.WriteText(text);
  stream.SetPosition(0);
  state.ButtonJpeg.Performance = TJPEGPerformance::jpBestSpeed;
  state.ButtonJpeg.LoadFromStream(stream);
  state.ButtonJpeg.Performance = TJPEGPerformance::jpBestSpeed;
  state.ButtonBitmap = ToBitmap(state.ButtonJpeg.Decode());
}

void TForm1::MarkGlyphStrip() {
  TBitmap& bitmap = Launcher.State.ButtonBitmap;
  // The bottom-left pixels of the up and pressed cells set the transparent colour of their
  // cells; pure red there keeps the picture's own colours from dropping out.
  const int bottom = bitmap.Height() - 1;
  bitmap.SetPixel(0, bottom, clRed);
  bitmap.SetPixel((bitmap.Width() / 3) * 2, bottom, clRed);
}

}  // namespace pelmorix
