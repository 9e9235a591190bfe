#include <cmath>

#include "tools/imagegen/Artwork.h"
#include "tools/imagegen/Canvas.h"

namespace imagegen {

namespace {

// A square push button with a lamp in its middle; frame 0 off, frame 1 on.
void DrawButton(cairo_t* cr, int size, bool on) {
  const double inset = 0.5;
  const double extent = size - 2 * inset;
  const double radius = size >= 16 ? 3.0 : 2.0;

  // Raised face, lit from above.
  cairo_pattern_t* face = cairo_pattern_create_linear(0, 0, 0, size);
  cairo_pattern_add_color_stop_rgb(face, 0, 0.25, 0.27, 0.30);
  cairo_pattern_add_color_stop_rgb(face, 1, 0.13, 0.14, 0.16);
  cairo_set_source(cr, face);
  RoundedRectPath(cr, inset, inset, extent, extent, radius);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(face);
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgb(cr, 0.04, 0.045, 0.05);
  cairo_stroke(cr);

  // Lamp: dark glass when off, glowing when on.
  const double centre = size / 2.0;
  const double lamp = size >= 16 ? 4.5 : 2.6;
  if (on) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(centre, centre, 0, centre, centre, lamp * 2.0);
    cairo_pattern_add_color_stop_rgba(glow, 0, palette::kLamp.r, palette::kLamp.g, palette::kLamp.b, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, palette::kLamp.r, palette::kLamp.g, palette::kLamp.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, centre, centre, lamp * 2.0, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    cairo_pattern_t* bulb = cairo_pattern_create_radial(centre - lamp * 0.3, centre - lamp * 0.3, 0,
                                                        centre, centre, lamp);
    cairo_pattern_add_color_stop_rgb(bulb, 0, 1.0, 0.93, 0.72);
    cairo_pattern_add_color_stop_rgb(bulb, 1, palette::kLamp.r, palette::kLamp.g, palette::kLamp.b);
    cairo_set_source(cr, bulb);
    cairo_arc(cr, centre, centre, lamp, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(bulb);
  } else {
    cairo_set_source_rgb(cr, 0.07, 0.075, 0.08);
    cairo_arc(cr, centre, centre, lamp, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.27, 0.22, 0.15);
    cairo_arc(cr, centre, centre, lamp - 1.0, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

}  // namespace

cairo_surface_t* DrawOnOffSwitch(int size) {
  cairo_surface_t* surface = NewSurface(size, size * 2);
  cairo_t* cr = cairo_create(surface);
  for (int frame = 0; frame < 2; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frame * size);
    DrawButton(cr, size, frame == 1);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return surface;
}

cairo_surface_t* DrawSegmentSelector(int width, int segmentHeight, const char* const* labels,
                                     int count) {
  cairo_surface_t* surface = NewSurface(width, segmentHeight * count);
  cairo_t* cr = cairo_create(surface);
  const double segmentWidth = width / double(count);
  const double fontSize = segmentHeight >= 20 ? 10.0 : 8.5;
  for (int frame = 0; frame < count; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frame * segmentHeight);

    // Recessed bar holding all segments.
    RoundedRectPath(cr, 0.5, 0.5, width - 1.0, segmentHeight - 1.0, 3.0);
    SetColour(cr, palette::kRecess);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgb(cr, 0.03, 0.035, 0.04);
    cairo_stroke(cr);

    // Separators between segments.
    cairo_set_source_rgb(cr, 0.2, 0.22, 0.25);
    for (int i = 1; i < count; ++i) {
      const double x = std::round(i * segmentWidth) + 0.5;
      cairo_move_to(cr, x, 3.0);
      cairo_line_to(cr, x, segmentHeight - 3.0);
      cairo_stroke(cr);
    }

    // The chosen segment lights up.
    const double left = std::round(frame * segmentWidth) + 1.5;
    const double right = std::round((frame + 1) * segmentWidth) - 0.5;
    cairo_pattern_t* lit = cairo_pattern_create_linear(0, 1, 0, segmentHeight - 1);
    cairo_pattern_add_color_stop_rgb(lit, 0, palette::kAccent.r * 1.0, palette::kAccent.g * 1.0,
                                     palette::kAccent.b * 1.0);
    cairo_pattern_add_color_stop_rgb(lit, 1, palette::kAccent.r * 0.62, palette::kAccent.g * 0.62,
                                     palette::kAccent.b * 0.62);
    cairo_set_source(cr, lit);
    RoundedRectPath(cr, left, 1.5, right - left, segmentHeight - 3.0, 2.0);
    cairo_fill(cr);
    cairo_pattern_destroy(lit);

    SelectFont(cr, fontSize, true);
    for (int i = 0; i < count; ++i) {
      if (i == frame) {
        cairo_set_source_rgb(cr, 0.04, 0.06, 0.09);
      } else {
        SetColour(cr, palette::kCaption);
      }
      DrawTextCentredOn(cr, labels[i], (i + 0.5) * segmentWidth, segmentHeight / 2.0, Align::kCentre,
                        0.5);
    }
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return surface;
}

}  // namespace imagegen
