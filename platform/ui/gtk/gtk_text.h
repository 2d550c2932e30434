#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string>

#include "platform/ui/graphics.h"

namespace pelmorix {

// A Windows-1252 caption in GTK's mnemonic form: "&x" underlines x ("_x"), "&&" is a plain
// "&", and a plain "_" stays one. The result is UTF-8.
std::string GtkMnemonic(const std::string& caption);

// The caption as Pango markup whose accelerator marker is "_", for widgets that draw it.
std::string CaptionMarkup(const std::string& caption);

// The font as Pango describes it. Fonts the desktop lacks ("MS Sans Serif") fall back to the
// system's sans font; the pixel height becomes Pango's absolute size.
PangoFontDescription* NewFontDescription(const TFont& font);

// Font and colour as an attribute list for labels (the caller unrefs it).
PangoAttrList* NewFontAttributes(const TFont& font, TColor color);

void SetSourceColor(cairo_t* cr, TColor color);

}  // namespace pelmorix
