// Draws the launcher's three built-in button strips and writes them as a C++ source file of
// RGB pixel arrays:  pelmorix-glyphs OUTPUT.cpp [PREVIEW.ppm]
// or, for a server's button pictures, as JPEG files 3.jpg, 4.jpg and 5.jpg (the rows of the
// three buttons) whose corners take a background colour:  pelmorix-glyphs --jpeg DIR [RRGGBB]
//
// Each strip is 354 x 30 pixels: three 118-pixel cells for the up, disabled and pressed
// states. Everything outside a cell's rounded face keeps the key colour, which is also the
// cell's bottom-left pixel, so the button leaves those corners transparent.
#include <cairo.h>
#include <pango/pangocairo.h>
#include <stdio.h>
// jpeglib.h needs stdio.h first.
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 118;
constexpr int kHeight = 30;
constexpr int kCells = 3;
constexpr int kWidth = kCellWidth * kCells;

struct TRgb {
  double r, g, b;
};

TRgb Hex(unsigned value) {
  return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

// The colours of one state of a button.
struct TCellStyle {
  TRgb top, bottom, border, text;
  int text_offset;
};

struct TStrip {
  const char* symbol;
  const char* caption;
  TCellStyle cells[kCells];
};

const TStrip kStrips[] = {
    {"kSpielenGlyphPixels",
     "Spielen",
     {{Hex(0xFFB54D), Hex(0xE8700A), Hex(0xA65200), Hex(0xFFFFFF), 0},
      {Hex(0xE0CDB8), Hex(0xC9B49C), Hex(0x9C8C7A), Hex(0xF2EEE8), 0},
      {Hex(0xE06A05), Hex(0xC25800), Hex(0x8C4200), Hex(0xFFFFFF), 1}}},
    {"kUpdateInstallierenGlyphPixels",
     "Update Installieren",
     {{Hex(0xF6F6F6), Hex(0xCDCDCD), Hex(0x8A8A8A), Hex(0x2B2B2B), 0},
      {Hex(0xEDEDED), Hex(0xDDDDDD), Hex(0xB0B0B0), Hex(0x9A9A9A), 0},
      {Hex(0xC8C8C8), Hex(0xB4B4B4), Hex(0x6E6E6E), Hex(0x1E1E1E), 1}}},
    {"kDeinstallierenGlyphPixels",
     "Deinstallieren",
     {{Hex(0xF6F6F6), Hex(0xCDCDCD), Hex(0x8A8A8A), Hex(0x2B2B2B), 0},
      {Hex(0xEDEDED), Hex(0xDDDDDD), Hex(0xB0B0B0), Hex(0x9A9A9A), 0},
      {Hex(0xC8C8C8), Hex(0xB4B4B4), Hex(0x6E6E6E), Hex(0x1E1E1E), 1}}},
};

// Pure magenta never occurs in the faces, so only the corners are transparent.
const TRgb kKey = {1.0, 0.0, 1.0};

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -G_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, G_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, G_PI / 2, G_PI);
  cairo_arc(cr, x + r, y + r, r, G_PI, 3 * G_PI / 2);
  cairo_close_path(cr);
}

// The caption's layout at the largest size up to 13 pixels that fits the cell.
PangoLayout* CaptionLayout(cairo_t* cr, const char* caption) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_text(layout, caption, -1);
  for (int pixels = 13; pixels >= 8; --pixels) {
    PangoFontDescription* font = pango_font_description_from_string("Sans Bold");
    pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    if (width <= kCellWidth - 12) break;
  }
  return layout;
}

void DrawCell(cairo_t* cr, int index, const char* caption, const TCellStyle& style) {
  const double x = index * kCellWidth;
  cairo_save(cr);
  cairo_rectangle(cr, x, 0, kCellWidth, kHeight);
  cairo_clip(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  RoundedRect(cr, x, 0, kCellWidth, kHeight, 6);
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, kHeight);
  cairo_pattern_add_color_stop_rgb(gradient, 0, style.top.r, style.top.g, style.top.b);
  cairo_pattern_add_color_stop_rgb(gradient, 1, style.bottom.r, style.bottom.g, style.bottom.b);
  cairo_set_source(cr, gradient);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(gradient);
  cairo_set_source_rgb(cr, style.border.r, style.border.g, style.border.b);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  PangoLayout* layout = CaptionLayout(cr, caption);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  cairo_set_source_rgb(cr, style.text.r, style.text.g, style.text.b);
  cairo_move_to(cr, x + (kCellWidth - width) / 2 + style.text_offset,
                (kHeight - height) / 2 + style.text_offset);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_restore(cr);
}

std::vector<unsigned char> DrawStrip(const TStrip& strip, const TRgb& background = kKey) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, background.r, background.g, background.b);
  cairo_paint(cr);
  for (int i = 0; i < kCells; ++i) DrawCell(cr, i, strip.caption, strip.cells[i]);
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  std::vector<unsigned char> rgb;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
      rgb.push_back((pixel >> 16) & 0xFF);
      rgb.push_back((pixel >> 8) & 0xFF);
      rgb.push_back(pixel & 0xFF);
    }
  cairo_surface_destroy(surface);
  return rgb;
}

bool WriteJpeg(const std::string& path, const std::vector<unsigned char>& rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(rgb.data()) + info.next_scanline * kWidth * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

// The server pictures of the rows that carry these three buttons.
int WriteServerPictures(const std::string& folder, const char* background) {
  const TRgb corner = Hex(background ? std::strtoul(background, nullptr, 16) : 0xFFFFFF);
  const int rows[] = {3, 4, 5};
  for (int i = 0; i < 3; ++i) {
    const std::string path = folder + "/" + std::to_string(rows[i]) + ".jpg";
    if (!WriteJpeg(path, DrawStrip(kStrips[i], corner))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--jpeg") {
    return WriteServerPictures(argv[2], argc > 3 ? argv[3] : nullptr);
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp [PREVIEW.ppm] | --jpeg DIR [RRGGBB]\n", argv[0]);
    return 2;
  }
  std::ofstream out(argv[1]);
  out << "// Written by tools/glyphs at build time: the built-in button strips, RGB rows.\n"
         "#include \"launcher/design_glyphs.h\"\n\nnamespace pelmorix {\n";
  std::vector<std::vector<unsigned char>> strips;
  for (const TStrip& strip : kStrips) {
    strips.push_back(DrawStrip(strip));
    out << "\nconst unsigned char " << strip.symbol
        << "[kDesignGlyphWidth * kDesignGlyphHeight * 3] = {";
    int column = 0;
    for (unsigned char byte : strips.back()) {
      out << (column++ % 24 == 0 ? "\n" : "") << static_cast<int>(byte) << ",";
    }
    out << "\n};\n";
  }
  out << "\n}  // namespace pelmorix\n";
  if (!out) return 1;

  if (argc > 2) {
    std::ofstream preview(argv[2], std::ios::binary);
    preview << "P6\n" << kWidth << " " << kHeight * strips.size() << "\n255\n";
    for (const auto& strip : strips)
      preview.write(reinterpret_cast<const char*>(strip.data()), strip.size());
  }
  return 0;
}
