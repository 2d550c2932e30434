// Painting of what the backend draws itself: bitmap buttons, panels, forms and plain faces.
#include <cstdint>

#include "platform/ui/button.h"
#include "platform/ui/glyph_cell.h"
#include "platform/ui/panel.h"
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_graphics.h"

namespace pelmorix {

namespace {

// A 32-bit top-down bitmap selected into a memory device context, so the button is composed
// off screen and its glyph pixels can be written one by one.
class TOffscreen {
 public:
  TOffscreen(HDC target, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = static_cast<uint32_t*>(bits);
    dc_ = ::CreateCompatibleDC(target);
    previous_ = ::SelectObject(dc_, bitmap_);
  }
  ~TOffscreen() {
    ::SelectObject(dc_, previous_);
    ::DeleteDC(dc_);
    ::DeleteObject(bitmap_);
  }
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;

  bool Ready() const { return pixels_ != nullptr; }
  HDC Dc() const { return dc_; }
  void SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] =
        (uint32_t{GetRValue(color)} << 16) | (uint32_t{GetGValue(color)} << 8) | GetBValue(color);
  }
  void CopyTo(HDC target) const { ::BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY); }

 private:
  int width_, height_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

void PaintFrame(HDC dc, const TBitBtn& button, int width, int height, bool pressed, bool focused) {
  FillRectangle(dc, clBtnFace, 0, 0, width, height);
  int inset = 0;
  if (button.Default() || focused) {
    Frame3D(dc, 0, 0, width, height, clBlack, clBlack);
    inset = 1;
  }
  const int w = width - 2 * inset, h = height - 2 * inset;
  if (pressed) {
    Frame3D(dc, inset, inset, w, h, clBtnShadow, clBtnShadow);
  } else {
    Frame3D(dc, inset, inset, w, h, clBtnHighlight, cl3DDkShadow);
    Frame3D(dc, inset + 1, inset + 1, w - 2, h - 2, cl3DLight, clBtnShadow);
  }
}

}  // namespace

void PaintBitBtn(HDC dc, const TBitBtn& button, int width, int height, bool pressed, bool focused) {
  TOffscreen canvas(dc, width, height);
  if (!canvas.Ready()) return;
  PaintFrame(canvas.Dc(), button, width, height, pressed, focused);

  TGlyphCell cell;
  if (!button.Glyph().Empty())
    cell = GlyphCell(button.Glyph(), button.NumGlyphs(),
                     GlyphCellIndex(button.Enabled(), pressed, button.NumGlyphs()));

  HFONT font = NewFont(button.Font());
  HGDIOBJ previous_font = ::SelectObject(canvas.Dc(), font);
  const std::string& caption = button.Caption();
  RECT text{0, 0, 0, 0};
  if (!caption.empty())
    ::DrawTextA(canvas.Dc(), caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_SINGLELINE | DT_CALCRECT);
  const TBitBtnPlacement place =
      PlaceBitBtnContent(width, height, cell.Pixels.Width(), cell.Pixels.Height(), text.right,
                         text.bottom, button.Layout(), button.Margin(), button.Spacing());

  ::GdiFlush();  // the frame is in the pixels before the glyph goes over it
  for (int y = 0; y < cell.Pixels.Height(); ++y)
    for (int x = 0; x < cell.Pixels.Width(); ++x)
      if (cell.Opaque(x, y))
        canvas.SetPixel(place.GlyphLeft + x, place.GlyphTop + y, cell.Pixels.Pixel(x, y));

  if (text.right > 0) {
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::SetTextColor(canvas.Dc(), SystemRGB(button.Enabled() ? button.Font().Color() : clGrayText));
    RECT area{place.TextLeft, place.TextTop, place.TextLeft + text.right,
              place.TextTop + text.bottom};
    // "&x" underlines x, "&&" is a plain "&": the caption's mnemonic as the system shows it.
    ::DrawTextA(canvas.Dc(), caption.c_str(), static_cast<int>(caption.size()), &area,
                DT_SINGLELINE | DT_NOCLIP);
  }
  ::SelectObject(canvas.Dc(), previous_font);
  ::DeleteObject(font);
  canvas.CopyTo(dc);
}

void TWin32Backend::Paint(TPeer& peer, ::HWND window) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client;
  ::GetClientRect(window, &client);
  auto& control = static_cast<TControl&>(*peer.component);
  FillRectangle(dc, control.Color(), 0, 0, client.right, client.bottom);
  if (auto* panel = dynamic_cast<TPanel*>(&control)) {
    if (panel->BevelOuter() == bvRaised)
      Frame3D(dc, 0, 0, client.right, client.bottom, clBtnHighlight, clBtnShadow);
    else if (panel->BevelOuter() == bvLowered)
      Frame3D(dc, 0, 0, client.right, client.bottom, clBtnShadow, clBtnHighlight);
  }
  ::EndPaint(window, &paint);
}

}  // namespace pelmorix
