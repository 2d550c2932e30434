// Painting of the controls the backend draws itself: bitmap buttons, panels and plain faces.
#include <pango/pangocairo.h>

#include "platform/ui/button.h"
#include "platform/ui/glyph_cell.h"
#include "platform/ui/gtk/gtk_backend.h"
#include "platform/ui/gtk/gtk_text.h"
#include "platform/ui/panel.h"

namespace pelmorix {

namespace {

void FillRect(cairo_t* cr, TColor color, int x, int y, int width, int height) {
  SetSourceColor(cr, color);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
}

// A one-pixel frame: light on the top and left edges, dark on the bottom and right edges.
void Frame3D(cairo_t* cr, int x, int y, int width, int height, TColor light, TColor dark) {
  FillRect(cr, light, x, y, width, 1);
  FillRect(cr, light, x, y, 1, height);
  FillRect(cr, dark, x, y + height - 1, width, 1);
  FillRect(cr, dark, x + width - 1, y, 1, height);
}

// The cell as an image surface whose transparent-colour pixels have no coverage at all.
cairo_surface_t* NewCellSurface(const TGlyphCell& cell) {
  const int width = cell.Pixels.Width(), height = cell.Pixels.Height();
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      const TColor pixel = cell.Pixels.Pixel(x, y);
      row[x] = cell.Opaque(x, y) ? 0xFF000000u | (GetRValue(pixel) << 16) |
                                       (GetGValue(pixel) << 8) | GetBValue(pixel)
                                 : 0u;
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

void PaintBitBtn(cairo_t* cr, const TBitBtn& button, int width, int height, bool pressed,
                 bool focused) {
  FillRect(cr, clBtnFace, 0, 0, width, height);
  int inset = 0;
  if (button.Default() || focused) {
    Frame3D(cr, 0, 0, width, height, clBlack, clBlack);
    inset = 1;
  }
  const int w = width - 2 * inset, h = height - 2 * inset;
  if (pressed) {
    Frame3D(cr, inset, inset, w, h, clBtnShadow, clBtnShadow);
  } else {
    Frame3D(cr, inset, inset, w, h, clBtnHighlight, cl3DDkShadow);
    Frame3D(cr, inset + 1, inset + 1, w - 2, h - 2, cl3DLight, clBtnShadow);
  }

  TGlyphCell cell;
  if (!button.Glyph().Empty())
    cell = GlyphCell(button.Glyph(), button.NumGlyphs(),
                     GlyphCellIndex(button.Enabled(), pressed, button.NumGlyphs()));

  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = NewFontDescription(button.Font());
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_markup_with_accel(layout, CaptionMarkup(button.Caption()).c_str(), -1, '_',
                                     nullptr);
  int text_width = 0, text_height = 0;
  if (!button.Caption().empty()) pango_layout_get_pixel_size(layout, &text_width, &text_height);

  const TBitBtnPlacement place =
      PlaceBitBtnContent(width, height, cell.Pixels.Width(), cell.Pixels.Height(), text_width,
                         text_height, button.Layout(), button.Margin(), button.Spacing());
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_clip(cr);
  if (!cell.Pixels.Empty()) {
    cairo_surface_t* surface = NewCellSurface(cell);
    cairo_set_source_surface(cr, surface, place.GlyphLeft, place.GlyphTop);
    cairo_paint(cr);
    cairo_surface_destroy(surface);
  }
  if (text_width > 0) {
    SetSourceColor(cr, button.Enabled() ? button.Font().Color() : clGrayText);
    cairo_move_to(cr, place.TextLeft, place.TextTop);
    pango_cairo_show_layout(cr, layout);
  }
  cairo_restore(cr);
  g_object_unref(layout);
}

gboolean TGtkBackend::DrawBitBtn(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* peer = static_cast<TPeer*>(data);
  const GtkStateFlags state = gtk_widget_get_state_flags(widget);
  PaintBitBtn(cr, static_cast<TBitBtn&>(*peer->component), gtk_widget_get_allocated_width(widget),
              gtk_widget_get_allocated_height(widget), (state & GTK_STATE_FLAG_ACTIVE) != 0,
              gtk_widget_has_focus(widget));
  return TRUE;
}

gboolean TGtkBackend::DrawPanel(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto& panel = static_cast<TPanel&>(*static_cast<TPeer*>(data)->component);
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  FillRect(cr, panel.Color(), 0, 0, width, height);
  if (panel.BevelOuter() == bvRaised)
    Frame3D(cr, 0, 0, width, height, clBtnHighlight, clBtnShadow);
  else if (panel.BevelOuter() == bvLowered)
    Frame3D(cr, 0, 0, width, height, clBtnShadow, clBtnHighlight);
  return TRUE;
}

gboolean TGtkBackend::DrawFace(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto& control = static_cast<TControl&>(*static_cast<TPeer*>(data)->component);
  FillRect(cr, control.Color(), 0, 0, gtk_widget_get_allocated_width(widget),
           gtk_widget_get_allocated_height(widget));
  return TRUE;
}

}  // namespace pelmorix
