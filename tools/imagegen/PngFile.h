#pragma once

#include <cairo.h>

#include <string>

namespace imagegen {

// Writes an ARGB32 cairo surface as an 8-bit RGBA, non-interlaced PNG with
// straight alpha and no time or text chunks, so the output only changes when
// the pixels do. Answers false (with a message on stderr) on any failure.
bool WriteRgbaPng(cairo_surface_t* surface, const std::string& path);

}  // namespace imagegen
