#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pelmorix {

// A colour in the layout 0x00BBGGRR; 0x80000000 + index names a system colour.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clActiveBorder = 0x8000000A;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;

// The plain RGB value of a colour: system colours take the classic desktop scheme, an unknown
// system colour index gives black (as the platform answers for it).
TColor ColorToRGB(TColor color);

inline uint8_t GetRValue(TColor rgb) { return rgb & 0xFF; }
inline uint8_t GetGValue(TColor rgb) { return (rgb >> 8) & 0xFF; }
inline uint8_t GetBValue(TColor rgb) { return (rgb >> 16) & 0xFF; }
inline TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

// Font styles as a set of bits.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// A control's font. Height is in pixels (negative: character height without the internal
// leading), Size in points; both describe the same font at 96 pixels per inch.
class TFont {
 public:
  static constexpr int PixelsPerInch = 96;

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  void Assign(const TFont& other);
  bool operator==(const TFont& other) const;

  // Called after every change; the owning control forwards it to the backend.
  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
};

}  // namespace pelmorix
