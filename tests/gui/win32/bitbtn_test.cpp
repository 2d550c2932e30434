// A bitmap button on a real window: which glyph cell is painted, that the cell's transparent
// colour shows the button face instead, and the caption in the server's font colour.
#include <gtest/gtest.h>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/glyph_cell.h"
#include "platform/ui/win32/win32_backend.h"
#include "tests/gui/win32/desktop_support.h"

namespace pelmorix {
namespace {

constexpr TColor kBlue = 0xFF0000;    // cell 0
constexpr TColor kYellow = 0x00FFFF;  // cell 1
constexpr TColor kGreen = 0x00A000;   // cell 2
constexpr TColor kKeyUp = 0xFF00FF;
constexpr TColor kKeyPressed = 0x8000FF;
constexpr TColor kCaption = 0x0000C0;

// Three 60 x 20 cells; cells 0 and 2 carry their key colour in the bottom-left pixel and in a
// 10 x 6 block at (25, 7).
TBitmap TestStrip() {
  TBitmap strip(180, 20);
  const TColor fills[] = {kBlue, kYellow, kGreen};
  const TColor keys[] = {kKeyUp, 0x404040, kKeyPressed};
  for (int cell = 0; cell < 3; ++cell) {
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 60; ++x) strip.SetPixel(cell * 60 + x, y, fills[cell]);
    strip.SetPixel(cell * 60, 19, keys[cell]);
    for (int y = 7; y < 13; ++y)
      for (int x = 25; x < 35; ++x) strip.SetPixel(cell * 60 + x, y, keys[cell]);
  }
  return strip;
}

bool AnyPixel(::HWND window, int width, int height, TColor color) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (test::ClientPixel(window, x, y) == color) return true;
  return false;
}

TEST(Win32BitBtn, CellZeroUpCellTwoPressedCellOneDisabledAndTheKeyColourNotDrawn) {
  TWin32Backend ui;
  TApplication app(ui, "BitBtn");
  TForm form(app, "Form1");
  form.SetBounds(100, 100, 300, 120);
  form.SetBorderStyle(bsSingle);
  auto* button = form.CreateComponent<TBitBtn>("BitBtn3");
  button->SetParent(&form);
  button->SetBounds(40, 30, 180, 40);
  button->SetNumGlyphs(3);
  button->SetGlyph(TestStrip());
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form.ShowWindow();
  test::PumpFor(app, 0.3);

  ::HWND window = ui.WindowOf(*button);
  const TColor face = ::GetSysColor(COLOR_BTNFACE);
  const TBitBtnPlacement place = PlaceBitBtnContent(180, 40, 60, 20, 0, 0, blGlyphLeft, -1, 4);
  const int gx = place.GlyphLeft, gy = place.GlyphTop;
  EXPECT_EQ(kBlue, test::ClientPixel(window, gx + 5, gy + 3));
  EXPECT_EQ(kBlue, test::ClientPixel(window, gx + 59, gy + 18));
  EXPECT_EQ(face, test::ClientPixel(window, gx + 27, gy + 9));
  EXPECT_EQ(face, test::ClientPixel(window, gx, gy + 19));
  EXPECT_FALSE(AnyPixel(window, 180, 40, kKeyUp));
  EXPECT_FALSE(AnyPixel(window, 180, 40, kGreen));

  test::MoveMouseTo(window, gx + 5, gy + 3);
  test::PressMouse();
  test::PumpFor(app, 0.3);
  EXPECT_EQ(kGreen, test::ClientPixel(window, gx + 5, gy + 3));
  EXPECT_EQ(face, test::ClientPixel(window, gx + 27, gy + 9));
  EXPECT_FALSE(AnyPixel(window, 180, 40, kKeyPressed));
  EXPECT_FALSE(AnyPixel(window, 180, 40, kBlue));
  EXPECT_EQ(0, clicks);

  test::ReleaseMouse();
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return clicks == 1; }, 10));
  test::PumpFor(app, 0.2);
  EXPECT_EQ(kBlue, test::ClientPixel(window, gx + 5, gy + 3));

  button->SetEnabled(false);
  test::PumpFor(app, 0.2);
  EXPECT_EQ(kYellow, test::ClientPixel(window, gx + 5, gy + 3));
}

TEST(Win32BitBtn, CaptionInTheFontColourBesideTheGlyph) {
  TWin32Backend ui;
  TApplication app(ui, "BitBtn");
  TForm form(app, "Form1");
  form.SetBounds(100, 100, 300, 120);
  auto* button = form.CreateComponent<TBitBtn>("BitBtn1");
  button->SetParent(&form);
  button->SetBounds(10, 10, 200, 40);
  button->SetNumGlyphs(3);
  button->SetGlyph(TestStrip());
  button->SetCaption("&Spielen");
  button->Font().SetColor(kCaption);
  button->Font().SetHeight(-16);
  form.ShowWindow();
  test::PumpFor(app, 0.3);

  ::HWND window = ui.WindowOf(*button);
  EXPECT_TRUE(AnyPixel(window, 200, 40, kBlue));
  EXPECT_TRUE(AnyPixel(window, 200, 40, kCaption));
  button->SetEnabled(false);
  test::PumpFor(app, 0.2);
  EXPECT_FALSE(AnyPixel(window, 200, 40, kCaption));
}

}  // namespace
}  // namespace pelmorix
