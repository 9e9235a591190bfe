#include <cmath>

#include "tools/imagegen/Artwork.h"
#include "tools/imagegen/Canvas.h"

namespace imagegen {

namespace {

constexpr int kKnobSize = 64;
constexpr double kCentre = kKnobSize / 2.0;
constexpr double kRingRadius = 28.5;
constexpr double kBodyRadius = 24.5;
// The pointer sweeps 270 degrees, from lower left through the top to lower
// right (cairo angles run clockwise from the positive x axis).
constexpr double kStartAngle = 0.75 * M_PI;
constexpr double kSweep = 1.5 * M_PI;

// A disc around the knob centre shaded from `top` to `bottom` over the body's height.
void FillDisc(cairo_t* cr, double radius, Rgb top, Rgb bottom) {
  cairo_pattern_t* shade = cairo_pattern_create_linear(0, kCentre - kBodyRadius, 0, kCentre + kBodyRadius);
  cairo_pattern_add_color_stop_rgb(shade, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(shade, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, shade);
  cairo_arc(cr, kCentre, kCentre, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(shade);
}

void DrawBody(cairo_t* cr) {
  // Soft drop shadow under the body.
  cairo_pattern_t* shadow = cairo_pattern_create_radial(kCentre, kCentre + 1.5, kBodyRadius - 2,
                                                        kCentre, kCentre + 1.5, kBodyRadius + 3);
  cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
  cairo_set_source(cr, shadow);
  cairo_arc(cr, kCentre, kCentre + 1.5, kBodyRadius + 3, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  // Body: lit from above, slightly domed; the inner face a touch darker so
  // the value text in the middle reads well.
  FillDisc(cr, kBodyRadius, Hex(0x3c4149), Hex(0x1b1d21));
  FillDisc(cr, kBodyRadius - 2.5, Hex(0x212429), Hex(0x2b2f34));

  // Thin rim highlight at the top edge.
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_arc(cr, kCentre, kCentre, kBodyRadius - 0.5, 1.1 * M_PI, 1.9 * M_PI);
  cairo_stroke(cr);
}

void DrawTrack(cairo_t* cr) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 3.0);
  SetColour(cr, palette::kRecess);
  cairo_arc(cr, kCentre, kCentre, kRingRadius, kStartAngle, kStartAngle + kSweep);
  cairo_stroke(cr);
}

// The lit arc runs from the neutral position (top for the bipolar gain and
// pan, 100 % at the top for width too) to the value.
void DrawValueArc(cairo_t* cr, double angle) {
  const double neutral = kStartAngle + kSweep / 2.0;
  if (std::fabs(angle - neutral) < 1e-9) return;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr, 3.0);
  SetColour(cr, palette::kAccent);
  if (angle > neutral) {
    cairo_arc(cr, kCentre, kCentre, kRingRadius, neutral, angle);
  } else {
    cairo_arc(cr, kCentre, kCentre, kRingRadius, angle, neutral);
  }
  cairo_stroke(cr);
}

void DrawPointer(cairo_t* cr, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  // A bright tick on the body's edge, clear of the value text in the middle.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 2.4);
  cairo_set_source_rgb(cr, 0.95, 0.96, 0.97);
  cairo_move_to(cr, kCentre + c * (kBodyRadius - 6.0), kCentre + s * (kBodyRadius - 6.0));
  cairo_line_to(cr, kCentre + c * (kBodyRadius - 1.5), kCentre + s * (kBodyRadius - 1.5));
  cairo_stroke(cr);
  // And a dot on the ring, so the position reads even at a glance.
  cairo_set_source_rgb(cr, 0.95, 0.96, 0.97);
  cairo_arc(cr, kCentre + c * kRingRadius, kCentre + s * kRingRadius, 2.2, 0, 2 * M_PI);
  cairo_fill(cr);
}

// Marks at the ends and the neutral top of the sweep.
void DrawScaleMarks(cairo_t* cr) {
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, palette::kCaption);
  const double marks[3] = {kStartAngle, kStartAngle + kSweep / 2.0, kStartAngle + kSweep};
  for (double angle : marks) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    cairo_move_to(cr, kCentre + c * 30.6, kCentre + s * 30.6);
    cairo_line_to(cr, kCentre + c * 32.0, kCentre + s * 32.0);
    cairo_stroke(cr);
  }
}

}  // namespace

cairo_surface_t* DrawKnobStrip(int frames) {
  cairo_surface_t* surface = NewSurface(kKnobSize, kKnobSize * frames);
  cairo_t* cr = cairo_create(surface);
  for (int frame = 0; frame < frames; ++frame) {
    const double value = frames > 1 ? frame / double(frames - 1) : 0.0;
    const double angle = kStartAngle + kSweep * value;
    cairo_save(cr);
    cairo_translate(cr, 0, frame * kKnobSize);
    cairo_rectangle(cr, 0, 0, kKnobSize, kKnobSize);
    cairo_clip(cr);
    DrawScaleMarks(cr);
    DrawTrack(cr);
    DrawValueArc(cr, angle);
    DrawBody(cr);
    DrawPointer(cr, angle);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return surface;
}

}  // namespace imagegen
