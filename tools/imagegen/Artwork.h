#pragma once

#include <cairo.h>

// One function per editor image. Each returns a new surface holding the
// whole strip (frames stacked top to bottom); the caller destroys it.
namespace imagegen {

cairo_surface_t* DrawBackground();
cairo_surface_t* DrawMeterStrip();
cairo_surface_t* DrawPeakHoldStrip();
cairo_surface_t* DrawOnOffSwitch(int size);
cairo_surface_t* DrawSegmentSelector(int width, int segmentHeight, const char* const* labels,
                                     int count);
// Knob frames sweep from the minimum to the maximum value.
cairo_surface_t* DrawKnobStrip(int frames);

}  // namespace imagegen
