#include <cmath>

#include "effect/layout/EditorGeometry.h"
#include "tools/imagegen/Artwork.h"
#include "tools/imagegen/Canvas.h"

namespace imagegen {

namespace {

using stratum_layout::kMeterFrames;
using stratum_layout::kMeterRangeDb;
using stratum_layout::kMeterStripHeight;
using stratum_layout::kMeterStripWidth;
using stratum_layout::MeterFillHeight;

// Level zones: green below -9 dB, amber up to -3 dB, red above.
constexpr double kAmberFromDb = -9.0;
constexpr double kRedFromDb = -3.0;

Rgb ZoneColour(int row) {
  const double db = -kMeterRangeDb * (row + 0.5) / kMeterStripHeight;
  if (db >= kRedFromDb) return palette::kMeterRed;
  if (db >= kAmberFromDb) return palette::kMeterAmber;
  return palette::kMeterGreen;
}

// Fills one pixel row of a strip frame with a colour, leaving a darker edge
// on both sides so the bar looks like a lit tube.
void FillRow(cairo_t* cr, int row, Rgb colour, double brightness) {
  cairo_set_source_rgb(cr, colour.r * brightness, colour.g * brightness, colour.b * brightness);
  cairo_rectangle(cr, 1, row, kMeterStripWidth - 2, 1);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, colour.r * brightness * 0.6, colour.g * brightness * 0.6,
                       colour.b * brightness * 0.6);
  cairo_rectangle(cr, 0, row, 1, 1);
  cairo_rectangle(cr, kMeterStripWidth - 1, row, 1, 1);
  cairo_fill(cr);
}

// Every fourth row is a thin gap, so the bar reads as a segmented lamp column.
bool IsSegmentGap(int row) { return row % 4 == 3; }

}  // namespace

cairo_surface_t* DrawMeterStrip() {
  cairo_surface_t* surface = NewSurface(kMeterStripWidth, kMeterStripHeight * kMeterFrames);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  for (int frame = 0; frame < kMeterFrames; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frame * kMeterStripHeight);
    const int litFrom = kMeterStripHeight - MeterFillHeight(frame);
    for (int row = 0; row < kMeterStripHeight; ++row) {
      const Rgb zone = ZoneColour(row);
      if (IsSegmentGap(row)) {
        FillRow(cr, row, zone, row >= litFrom ? 0.35 : 0.07);
      } else {
        FillRow(cr, row, zone, row >= litFrom ? 1.0 : 0.13);
      }
    }
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return surface;
}

cairo_surface_t* DrawPeakHoldStrip() {
  cairo_surface_t* surface = NewSurface(kMeterStripWidth, kMeterStripHeight * kMeterFrames);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  // Frame 0 (the lowest level, also the "no hold yet" state) stays empty.
  for (int frame = 1; frame < kMeterFrames; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frame * kMeterStripHeight);
    const int top = kMeterStripHeight - MeterFillHeight(frame);
    const Rgb zone = ZoneColour(top);
    for (int row = top; row < top + 2 && row < kMeterStripHeight; ++row) {
      cairo_set_source_rgb(cr, 0.55 + 0.45 * zone.r, 0.55 + 0.45 * zone.g, 0.55 + 0.45 * zone.b);
      cairo_rectangle(cr, 0, row, kMeterStripWidth, 1);
      cairo_fill(cr);
    }
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return surface;
}

}  // namespace imagegen
