#include "tools/imagegen/Canvas.h"

#include <cmath>
#include <cstring>

namespace imagegen {

void SetColour(cairo_t* cr, Rgb colour, double alpha) {
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::fmin(radius, std::fmin(w, h) / 2.0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2.0, 0.0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0.0, M_PI / 2.0);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2.0, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void SelectFont(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  // Fixed rendering options: the output must not depend on desktop settings.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, const char* text, double letterSpacing) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  const size_t length = std::strlen(text);
  return extents.x_advance + (length > 1 ? letterSpacing * double(length - 1) : 0.0);
}

void DrawText(cairo_t* cr, const char* text, double x, double baselineY, Align align,
              double letterSpacing) {
  const double width = TextWidth(cr, text, letterSpacing);
  double left = x;
  if (align == Align::kCentre) left = x - width / 2.0;
  if (align == Align::kRight) left = x - width;
  left = std::round(left);
  if (letterSpacing == 0.0) {
    cairo_move_to(cr, left, baselineY);
    cairo_show_text(cr, text);
    return;
  }
  char glyph[2] = {0, 0};
  for (const char* c = text; *c; ++c) {
    glyph[0] = *c;
    cairo_move_to(cr, left, baselineY);
    cairo_show_text(cr, glyph);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, glyph, &extents);
    left += extents.x_advance + letterSpacing;
  }
}

void DrawTextCentredOn(cairo_t* cr, const char* text, double x, double centreY, Align align,
                       double letterSpacing) {
  cairo_text_extents_t capital;
  cairo_text_extents(cr, "H", &capital);
  const double baseline = std::round(centreY + capital.height / 2.0);
  DrawText(cr, text, x, baseline, align, letterSpacing);
}

cairo_surface_t* NewSurface(int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

}  // namespace imagegen
