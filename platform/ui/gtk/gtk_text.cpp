#include "platform/ui/gtk/gtk_text.h"

#include <glib.h>

#include "base/codepage.h"
#include "base/text.h"

namespace pelmorix {

std::string GtkMnemonic(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '&' && i + 1 < caption.size()) {
      ++i;
      out += caption[i] == '&' ? "&" : "_" + std::string(1, caption[i]);
    } else if (c == '_') {
      out += "__";
    } else {
      out += c;
    }
  }
  return Cp1252ToUtf8(out);
}

std::string CaptionMarkup(const std::string& caption) {
  const std::string mnemonic = GtkMnemonic(caption);
  char* escaped = g_markup_escape_text(mnemonic.c_str(), -1);
  std::string markup = escaped;
  g_free(escaped);
  return markup;
}

PangoFontDescription* NewFontDescription(const TFont& font) {
  PangoFontDescription* description = pango_font_description_new();
  const bool known = !SameText(font.Name(), "MS Sans Serif") && !font.Name().empty();
  pango_font_description_set_family(description,
                                    known ? Cp1252ToUtf8(font.Name()).c_str() : "Sans");
  const int pixels = font.Height() < 0 ? -font.Height() : font.Height();
  if (pixels > 0) pango_font_description_set_absolute_size(description, pixels * PANGO_SCALE);
  pango_font_description_set_weight(
      description, (font.Style() & fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(
      description, (font.Style() & fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

PangoAttrList* NewFontAttributes(const TFont& font, TColor color) {
  PangoAttrList* list = pango_attr_list_new();
  PangoFontDescription* description = NewFontDescription(font);
  pango_attr_list_insert(list, pango_attr_font_desc_new(description));
  pango_font_description_free(description);
  const TColor rgb = ColorToRGB(color);
  pango_attr_list_insert(list, pango_attr_foreground_new(GetRValue(rgb) * 257, GetGValue(rgb) * 257,
                                                         GetBValue(rgb) * 257));
  if (font.Style() & fsUnderline)
    pango_attr_list_insert(list, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.Style() & fsStrikeOut) pango_attr_list_insert(list, pango_attr_strikethrough_new(TRUE));
  return list;
}

void SetSourceColor(cairo_t* cr, TColor color) {
  const TColor rgb = ColorToRGB(color);
  cairo_set_source_rgb(cr, GetRValue(rgb) / 255.0, GetGValue(rgb) / 255.0, GetBValue(rgb) / 255.0);
}

}  // namespace pelmorix
