#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"

namespace pelmorix {
namespace {

// Records which components reported changes and in which order they went away.
struct TRecordingObserver : TComponentObserver {
  void Changed(TComponent& component) override { changed.push_back(component.Name()); }
  void Repaint(TControl& control) override { repainted.push_back(control.Name()); }
  void Destroying(TComponent& component) override { destroyed.push_back(component.Name()); }
  std::vector<std::string> changed, repainted, destroyed;
};

TEST(Font, PointsAndPixelHeightDescribeTheSameFont) {
  TFont font;
  EXPECT_EQ("MS Sans Serif", font.Name());
  EXPECT_EQ(-11, font.Height());
  EXPECT_EQ(8, font.Size());
  font.SetSize(12);
  EXPECT_EQ(-16, font.Height());
  font.SetSize(10);
  EXPECT_EQ(-13, font.Height());
  EXPECT_EQ(10, font.Size());
}

TEST(Controls, ChangesReachTheObserverOnlyWhenAValueChanges) {
  TButton button("Button1");
  TRecordingObserver observer;
  button.SetObserver(&observer);
  button.SetCaption("&Abbrechen");
  button.SetCaption("&Abbrechen");
  button.SetBounds(1, 2, 3, 4);
  button.SetLeft(1);
  button.Font().SetStyle(fsBold);
  button.Font().SetSize(12);
  button.SetEnabled(false);
  button.Repaint();
  EXPECT_EQ(5u, observer.changed.size());
  EXPECT_EQ(std::vector<std::string>{"Button1"}, observer.repainted);
  EXPECT_EQ(fsBold, button.Font().Style());
  button.SetObserver(nullptr);
}

TEST(Controls, ClientAlignedChildFollowsItsParentsClientArea) {
  THeadlessBackend backend;
  TApplication app(backend, "Pelmorix");
  TForm form(app, "Form1");
  form.SetClientWidth(316);
  form.SetClientHeight(214);
  auto* browser = form.CreateComponent<TPanel>("wb");
  browser->SetBounds(5, 5, 10, 10);
  browser->SetParent(&form);
  browser->SetAlign(alClient);
  EXPECT_EQ(0, browser->Left());
  EXPECT_EQ(316, browser->Width());
  EXPECT_EQ(214, browser->Height());

  // A frame makes the outer size larger and leaves the client area as it was.
  form.SetFrameSize(6, 28);
  EXPECT_EQ(322, form.Width());
  EXPECT_EQ(242, form.Height());
  EXPECT_EQ(316, browser->Width());
  form.SetClientWidth(404);
  form.SetClientHeight(304);
  EXPECT_EQ(410, form.Width());
  EXPECT_EQ(404, browser->Width());
  EXPECT_EQ(304, browser->Height());
  EXPECT_EQ(&form, browser->ParentForm());
}

TEST(Controls, OwnerFreesWhatItOwnsLatestFirstAndParentsListChildrenInOrder) {
  TRecordingObserver observer;
  {
    THeadlessBackend backend;
    TApplication app(backend, "Pelmorix");
    TForm form(app, "Form1");
    auto* panel = form.CreateComponent<TPanel>("Panel1");
    panel->SetParent(&form);
    auto* button = form.CreateComponent<TButton>("Button1");
    button->SetParent(panel);
    auto* bar = form.CreateComponent<TProgressBar>("ProgressBar1");
    bar->SetParent(panel);
    ASSERT_EQ(2u, panel->Controls().size());
    EXPECT_EQ(button, panel->Controls()[0]);
    EXPECT_EQ(panel, button->Parent());
    for (auto& component : form.Components()) component->SetObserver(&observer);
    form.SetObserver(&observer);
  }
  EXPECT_EQ((std::vector<std::string>{"Form1", "ProgressBar1", "Button1", "Panel1"}),
            observer.destroyed);
}

TEST(Controls, ProgressBarKeepsItsPositionInsideTheRange) {
  TProgressBar bar("ProgressBar1");
  bar.SetRange(0, 100);
  bar.SetPosition(57);
  EXPECT_EQ(57, bar.Position());
  bar.SetPosition(140);
  EXPECT_EQ(100, bar.Position());
  bar.SetPosition(-3);
  EXPECT_EQ(0, bar.Position());
  bar.SetPosition(80);
  bar.SetRange(0, 50);
  EXPECT_EQ(50, bar.Position());
}

TEST(Controls, BitBtnKeepsItsOwnCopyOfTheGlyphAndClicksRunOnClick) {
  TBitBtn button("BitBtn3");
  TBitmap strip(354, 30, clRed);
  button.SetGlyph(strip);
  strip.SetPixel(0, 0, clWhite);
  EXPECT_EQ(clRed, button.Glyph().Pixel(0, 0));
  button.SetNumGlyphs(3);
  EXPECT_EQ(3, button.NumGlyphs());

  int clicks = 0;
  TObject* sender = nullptr;
  button.OnClick = [&](TObject* s) {
    ++clicks;
    sender = s;
  };
  button.Click();
  EXPECT_EQ(1, clicks);
  EXPECT_EQ(&button, sender);

  TTimer timer("Timer1");
  int ticks = 0;
  timer.Timer();  // no handler: nothing happens
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.Timer();
  EXPECT_EQ(1, ticks);
}

TEST(Bitmap, PixelsOutsideReadBlackAndSectionsClip) {
  TBitmap bitmap(4, 3, clWhite);
  bitmap.SetPixel(3, 2, clRed);
  bitmap.SetPixel(4, 0, clRed);  // outside: ignored
  EXPECT_EQ(clRed, bitmap.Pixel(3, 2));
  EXPECT_EQ(clBlack, bitmap.Pixel(-1, 0));
  EXPECT_EQ(clBlack, bitmap.Pixel(4, 0));
  const TBitmap part = bitmap.Section(2, 1, 5, 5);
  EXPECT_EQ(2, part.Width());
  EXPECT_EQ(2, part.Height());
  EXPECT_EQ(clRed, part.Pixel(1, 1));
  EXPECT_EQ(0xFFFFFFu, TBitmap(1, 1, 0xFFFFFFFF).Pixel(0, 0));
}

TEST(Colors, SystemColoursResolveToTheClassicScheme) {
  EXPECT_EQ(0xF0F0F0u, ColorToRGB(clBtnFace));
  EXPECT_EQ(0x000000u, ColorToRGB(clWindowText));
  EXPECT_EQ(0xFFFFFFu, ColorToRGB(0x80000005));
  EXPECT_EQ(0xB4B4B4u, ColorToRGB(0x8000000A));
  EXPECT_EQ(0x0000FFu, ColorToRGB(clRed));
  EXPECT_EQ(0u, ColorToRGB(0xFFFFFFFF));  // unknown system colour index 255
  EXPECT_EQ(255, GetRValue(RGB(255, 0, 1)));
  EXPECT_EQ(1, GetBValue(RGB(255, 0, 1)));
}

}  // namespace
}  // namespace pelmorix
