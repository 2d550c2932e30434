#pragma once

#include <cstdint>

#include "platform/ui/control.h"
#include "platform/windows_types.h"

namespace pelmorix {

class TApplication;

enum TPosition { poDesigned, poScreenCenter };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = uint8_t;

// A top-level window. Its Width and Height are the outer size: the client area plus the frame
// the backend reports (none without a backend). The first form of an application is its main
// form; closing that ends the application.
class TForm : public TWinControl {
 public:
  TForm(TApplication& application, std::string name);

  TApplication& Application() const { return application_; }

  int ClientWidth() const override { return Width() - frame_width_; }
  int ClientHeight() const override { return Height() - frame_height_; }
  void SetClientWidth(int width) { SetWidth(width + frame_width_); }
  void SetClientHeight(int height) { SetHeight(height + frame_height_); }
  // The backend tells the frame's size; the client area keeps its size.
  void SetFrameSize(int width, int height);

  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);

  // Shows the window; OnShow runs first, as the window is about to appear. A Close from
  // OnShow keeps the window from appearing at all. (Visible alone does not map a form.)
  void ShowWindow();
  // Hides the window; for the main form this also ends the application's message loop.
  void Close();
  HWND Handle();

  // Raised by the backend as the window is shown.
  void DoShow();
  TNotifyEvent OnShow;

 private:
  TApplication& application_;
  int frame_width_ = 0;
  int frame_height_ = 0;
  TPosition position_ = poDesigned;
  TFormBorderStyle border_style_ = bsSizeable;
  TBorderIcons border_icons_ = biSystemMenu | biMinimize | biMaximize;
};

}  // namespace pelmorix
