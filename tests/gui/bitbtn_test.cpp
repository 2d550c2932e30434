// A bitmap button on a real window: which glyph cell is on screen, and that the cell's
// transparent colour shows the button face instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/glyph_cell.h"
#include "platform/ui/gtk/gtk_backend.h"
#include "tests/gui/gui_support.h"

namespace pelmorix {
namespace {

constexpr TColor kBlue = 0xFF0000;    // cell 0
constexpr TColor kYellow = 0x00FFFF;  // cell 1
constexpr TColor kGreen = 0x00A000;   // cell 2
constexpr TColor kKeyUp = 0xFF00FF;
constexpr TColor kKeyPressed = 0x8000FF;
constexpr TColor kFace = 0xF0F0F0;

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

TEST(BitBtnOnScreen, CellZeroUpCellTwoWhilePressedAndTheKeyColourNotDrawn) {
  int argc = 1;
  char name[] = "gui_bitbtn_test";
  char* args[] = {name, nullptr};
  char** argv = args;
  TGtkBackend ui(argc, argv);
  TApplication app(ui, "BitBtn");
  TForm form(app, "Form1");
  form.SetCaption("BitBtn");
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

  auto pump = [&] { app.ProcessMessages(); };
  GtkWidget* window = ui.WidgetOf(form);
  ASSERT_TRUE(test::WaitFor([&] { return gtk_widget_get_mapped(window); }, pump, 30));
  test::WaitFor([] { return false; }, pump, 1.0);
  int origin_x = 0, origin_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window), &origin_x, &origin_y);
  const TBitBtnPlacement place = PlaceBitBtnContent(180, 40, 60, 20, 0, 0, blGlyphLeft, -1, 4);
  const int gx = origin_x + 40 + place.GlyphLeft, gy = origin_y + 30 + place.GlyphTop;

  test::TScreenshot up = test::TakeScreenshot();
  EXPECT_TRUE(test::Near(kBlue, up.Pixel(gx + 5, gy + 3)));
  EXPECT_TRUE(test::Near(kBlue, up.Pixel(gx + 59, gy + 18)));
  EXPECT_TRUE(test::Near(kFace, up.Pixel(gx + 27, gy + 9)));
  EXPECT_TRUE(test::Near(kFace, up.Pixel(gx, gy + 19)));
  EXPECT_FALSE(up.Contains(origin_x + 40, origin_y + 30, 180, 40, kKeyUp));
  EXPECT_FALSE(up.Contains(origin_x + 40, origin_y + 30, 180, 40, kGreen));

  const std::string press =
      "xdotool mousemove " + std::to_string(gx + 5) + " " + std::to_string(gy + 3) + " mousedown 1";
  ASSERT_EQ(0, std::system(press.c_str()));
  test::WaitFor([] { return false; }, pump, 1.0);
  test::TScreenshot pressed = test::TakeScreenshot();
  EXPECT_TRUE(test::Near(kGreen, pressed.Pixel(gx + 5, gy + 3)));
  EXPECT_TRUE(test::Near(kFace, pressed.Pixel(gx + 27, gy + 9)));
  EXPECT_FALSE(pressed.Contains(origin_x + 40, origin_y + 30, 180, 40, kKeyPressed));
  EXPECT_FALSE(pressed.Contains(origin_x + 40, origin_y + 30, 180, 40, kBlue));
  EXPECT_EQ(0, clicks);

  ASSERT_EQ(0, std::system("xdotool mouseup 1"));
  EXPECT_TRUE(test::WaitFor([&] { return clicks == 1; }, pump, 10));
  test::WaitFor([] { return false; }, pump, 0.5);
  EXPECT_TRUE(test::Near(kBlue, test::TakeScreenshot().Pixel(gx + 5, gy + 3)));

  // Disabled: the middle cell.
  button->SetEnabled(false);
  test::WaitFor([] { return false; }, pump, 0.5);
  const TColor disabled = test::TakeScreenshot().Pixel(gx + 5, gy + 3);
  EXPECT_TRUE(test::Near(kYellow, disabled)) << std::hex << disabled;
}

}  // namespace
}  // namespace pelmorix
