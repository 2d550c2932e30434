// The server's button table laid over the window: page directives, the nine slots, the button
// style of row 8 and the two notices of row 6.
#include "base/convert.h"
#include "launcher/color_code.h"
#include "launcher/form1.h"
#include "launcher/page_directives.h"
#include "platform/ui/application.h"
#include "platform/ui/window_range.h"

namespace pelmorix {
namespace {

// Rows visited by the layout, in order: row 8 (the style) first, then 1 to 12.
constexpr int kLayoutOrder[] = {8, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// A notice is shown only when it is longer than this.
constexpr size_t kNoticeMinimum = 8;

}  // namespace

void TForm1::ApplyPageDirectives(const std::string& markup) {
  ReadPageDirectives(markup, Launcher.State.Settings.InstallationId, Launcher.State.ButtonTable);
  LayoutButtons();
}

void TForm1::LayoutButtons() {
  TButtonTable& table = Launcher.State.ButtonTable;
  int fontSize = 12;
  TColor fontColor = 0x000000;
  for (const int row : kLayoutOrder) {
    const ButtonRecord& record = table[row];
    if (row == 8) {
      StrToInt(record.Left);  // must be a number, though it sets nothing
      fontColor = ColorFromCode(StrToInt(record.Top));
      fontSize = ClampFontPoints(StrToInt(record.Action));
    } else if (row == 6) {
      ShowNotices(record);
    } else if (TBitBtn* slot = SlotOfRow(row)) {
      LayoutSlot(row, *slot, fontSize, fontColor);
    }
  }
}

void TForm1::ShowNotices(const ButtonRecord& record) {
  TLauncherState& state = Launcher.State;
  // Each flag is set before its box opens: browser events handled while it is open must not
  // show the same notice again.
  if (!state.FirstNoticeShown && record.Caption.size() > kNoticeMinimum) {
    state.FirstNoticeShown = true;
    Application().ShowMessage(record.Caption);
  }
  if (!state.SecondNoticeShown && record.Extra.size() > kNoticeMinimum) {
    state.SecondNoticeShown = true;
    Application().ShowMessage(record.Extra);
  }
}

void TForm1::LayoutSlot(int row, TBitBtn& slot, int fontSize, TColor fontColor) {
  const ButtonRecord& record = Launcher.State.ButtonTable[row];
  slot.Hide();
  slot.SetCaption(record.Caption);
  // The server's numbers are kept within what a window can show.
  slot.SetLeft(ClampWindowPlace(StrToInt(record.Left)));
  slot.SetTop(ClampWindowPlace(StrToInt(record.Top)));
  const bool visible = record.Mode != "0";
  slot.Font().SetSize(12);
  slot.Font().SetStyle(fsBold);
  slot.SetHeight(32);
  slot.SetWidth(row == 1 || row == 2 ? 28 : 180);
  slot.Font().SetSize(fontSize);
  slot.Font().SetColor(fontColor);
  const size_t x = record.Size.find('x');
  if (x != std::string::npos && x >= 1) {
    slot.SetWidth(ClampWindowSize(StrToInt(record.Size.substr(0, x))));
    slot.SetHeight(ClampWindowSize(StrToInt(record.Size.substr(x + 1))));
  }
  if (visible && Launcher.State.ButtonTable[0].Action != "0" && record.Mode != "2") {
    LoadButtonImage(row, slot);
  }
  if (visible) slot.Show();
}

}  // namespace pelmorix
