#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/design_glyphs.h"
#include "launcher/form1.h"
#include "platform/shell/recording_shell.h"
#include "platform/ui/application.h"
#include "platform/ui/glyph_cell.h"
#include "platform/ui/headless_backend.h"

namespace pelmorix {
namespace {

struct TFormRig {
  THeadlessBackend backend;
  TApplication app{backend, "Pelmorix"};
  TRegistryApi registry{"/nonexistent-registry"};
  TRecordingShell shell;
  TLauncher launcher{TLauncherEnvironment{registry, shell, {}, "/opt/Pelmorix.exe", ""}, {}};
  TForm1 form{app, launcher};
};

TEST(Form1, WindowDesign) {
  TFormRig rig;
  TForm1& form = rig.form;
  EXPECT_EQ("Form1", form.Name());
  EXPECT_EQ("Tarnovia Start", form.Caption());
  EXPECT_EQ(316, form.ClientWidth());
  EXPECT_EQ(214, form.ClientHeight());
  EXPECT_EQ(575, form.Left());
  EXPECT_EQ(295, form.Top());
  EXPECT_EQ(poScreenCenter, form.Position());
  EXPECT_EQ(bsSingle, form.BorderStyle());
  EXPECT_EQ(biSystemMenu | biMinimize, form.BorderIcons());
  EXPECT_EQ(clBtnFace, form.Color());
  EXPECT_EQ("MS Sans Serif", form.Font().Name());
  EXPECT_EQ(-11, form.Font().Height());
  EXPECT_EQ(clWindowText, form.Font().Color());
  EXPECT_EQ(0, form.Font().Style());
  EXPECT_FALSE(form.Timer1->Enabled());
  EXPECT_EQ(50u, form.Timer1->Interval());
  EXPECT_EQ(&form, rig.app.MainForm());
}

TEST(Form1, ControlsInCreationOrderWithTheirDesignValues) {
  TFormRig rig;
  TForm1& f = rig.form;
  struct TRow {
    TControl* control;
    std::string name;
    int left, top, width, height;
    std::string caption;
    bool visible;
    int tab_order;
  };
  const std::vector<TRow> top_level = {
      {f.wb, "wb", 0, 0, 316, 214, "", true, 0},
      {f.Button2, "Button2", 24, 176, 75, 25, "Button2", false, 2},
      {f.BitBtn1, "BitBtn1", 104, 152, 75, 25, "BitBtn1", false, 3},
      {f.BitBtn2, "BitBtn2", 112, 160, 75, 25, "BitBtn1", false, 4},
      {f.BitBtn3, "BitBtn3", 120, 168, 75, 25, "BitBtn1", false, 5},
      {f.BitBtn4, "BitBtn4", 128, 176, 75, 25, "BitBtn1", false, 6},
      {f.BitBtn5, "BitBtn5", 136, 184, 75, 25, "BitBtn1", false, 7},
      {f.BitBtn7, "BitBtn7", 144, 189, 75, 25, "BitBtn1", false, 8},
      {f.Panel1, "Panel1", 24, 24, 273, 137, "", false, 1},
      {f.BitBtn9, "BitBtn9", 152, 189, 75, 25, "BitBtn1", false, 9},
      {f.BitBtn11, "BitBtn11", 160, 189, 75, 25, "BitBtn1", false, 10},
      {f.BitBtn10, "BitBtn10", 168, 189, 75, 25, "BitBtn1", false, 11},
  };
  const std::vector<TRow> in_panel = {
      {f.Label1, "Label1", 1, 40, 118, 13, "Starten..", true, -1},
      {f.Button1, "Button1", 96, 96, 75, 25, "&Abbrechen", true, 0},
      {f.ProgressBar1, "ProgressBar1", 16, 64, 233, 17, "", true, 1},
  };
  auto check = [](const std::vector<TRow>& rows, const std::vector<TControl*>& controls) {
    ASSERT_EQ(rows.size(), controls.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      const TRow& row = rows[i];
      SCOPED_TRACE(row.name);
      EXPECT_EQ(row.control, controls[i]);
      EXPECT_EQ(row.name, row.control->Name());
      EXPECT_EQ(row.left, row.control->Left());
      EXPECT_EQ(row.top, row.control->Top());
      EXPECT_EQ(row.width, row.control->Width());
      EXPECT_EQ(row.height, row.control->Height());
      EXPECT_EQ(row.caption, row.control->Caption());
      EXPECT_EQ(row.visible, row.control->Visible());
      EXPECT_EQ(row.tab_order, row.control->TabOrder());
    }
  };
  check(top_level, f.Controls());
  check(in_panel, f.Panel1->Controls());
  EXPECT_EQ(alClient, f.wb->Align());
  EXPECT_TRUE(f.Button1->Default());
  EXPECT_EQ(taCenter, f.Label1->Alignment());
  EXPECT_FALSE(f.Label1->AutoSize());
  EXPECT_EQ(0, f.ProgressBar1->Min());
  EXPECT_EQ(100, f.ProgressBar1->Max());

  // Every slot has three cells and a click handler; only 3, 4 and 5 have a design glyph.
  for (TBitBtn* slot : {f.BitBtn1, f.BitBtn2, f.BitBtn3, f.BitBtn4, f.BitBtn5, f.BitBtn7, f.BitBtn9,
                        f.BitBtn10, f.BitBtn11}) {
    SCOPED_TRACE(slot->Name());
    EXPECT_EQ(3, slot->NumGlyphs());
    EXPECT_TRUE(static_cast<bool>(slot->OnClick));
    const bool designed = slot == f.BitBtn3 || slot == f.BitBtn4 || slot == f.BitBtn5;
    EXPECT_EQ(designed, !slot->Glyph().Empty());
  }
  EXPECT_TRUE(f.Button1->OnClick && f.Button2->OnClick && f.OnShow && f.Timer1->OnTimer);
  EXPECT_TRUE(f.wb->OnBeforeNavigate2 && f.wb->OnDocumentComplete && f.wb->OnDownloadComplete);
}

// Mean colour of a cell's opaque pixels.
struct TMean {
  double r = 0, g = 0, b = 0;
};
TMean MeanOfOpaque(const TGlyphCell& cell) {
  TMean mean;
  int count = 0;
  for (int y = 0; y < cell.Pixels.Height(); ++y)
    for (int x = 0; x < cell.Pixels.Width(); ++x)
      if (cell.Opaque(x, y)) {
        const TColor c = cell.Pixels.Pixel(x, y);
        mean.r += GetRValue(c);
        mean.g += GetGValue(c);
        mean.b += GetBValue(c);
        ++count;
      }
  mean.r /= count;
  mean.g /= count;
  mean.b /= count;
  return mean;
}

TEST(Form1, DesignGlyphsAreOrangeAndGreyStripsWithTransparentCorners) {
  TFormRig rig;
  for (TBitBtn* slot : {rig.form.BitBtn3, rig.form.BitBtn4, rig.form.BitBtn5}) {
    SCOPED_TRACE(slot->Name());
    const TBitmap& strip = slot->Glyph();
    ASSERT_EQ(354, strip.Width());
    ASSERT_EQ(30, strip.Height());
    for (int index = 0; index < 3; ++index) {
      const TGlyphCell cell = GlyphCell(strip, 3, index);
      // The corner is transparent, the face is not, and the face has text of another colour.
      EXPECT_FALSE(cell.Opaque(0, 29));
      EXPECT_FALSE(cell.Opaque(117, 0));
      EXPECT_TRUE(cell.Opaque(59, 2));
      EXPECT_NE(cell.Pixels.Pixel(59, 2), cell.Pixels.Pixel(59, 15));
      const TMean mean = MeanOfOpaque(cell);
      if (slot == rig.form.BitBtn3 && index != 1) {
        EXPECT_GT(mean.r, mean.g + 40);
        EXPECT_GT(mean.g, mean.b + 40);
      } else if (slot != rig.form.BitBtn3) {
        EXPECT_NEAR(mean.r, mean.g, 3);
        EXPECT_NEAR(mean.g, mean.b, 3);
      }
    }
  }
}

}  // namespace
}  // namespace pelmorix
