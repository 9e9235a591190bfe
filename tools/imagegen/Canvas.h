#pragma once

#include <cairo.h>

// Small drawing helpers and the palette shared by every image, so that the
// knobs, switches, meters and panel read as one design.
namespace imagegen {

struct Rgb {
  double r, g, b;
};

// Colour from a 0xRRGGBB literal.
constexpr Rgb Hex(unsigned rgb) {
  return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
}

namespace palette {
constexpr Rgb kPanelTop = Hex(0x2a2e34);
constexpr Rgb kPanelBottom = Hex(0x1f2226);
constexpr Rgb kPanelEdge = Hex(0x3a4048);
constexpr Rgb kBackdrop = Hex(0x15171a);
constexpr Rgb kRecess = Hex(0x0d0e10);
constexpr Rgb kTitle = Hex(0xe4e8ec);
constexpr Rgb kCaption = Hex(0x9aa3ad);
constexpr Rgb kDim = Hex(0x5d6670);
constexpr Rgb kAccent = Hex(0x3da5ff);      // knob value arcs, selected segments
constexpr Rgb kLamp = Hex(0xffa62b);        // a lit switch
constexpr Rgb kMeterGreen = Hex(0x38d45a);
constexpr Rgb kMeterAmber = Hex(0xffc43a);
constexpr Rgb kMeterRed = Hex(0xff4433);
}  // namespace palette

enum class Align { kLeft, kCentre, kRight };

void SetColour(cairo_t* cr, Rgb colour, double alpha = 1.0);

// Path of a rectangle with rounded corners.
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);

// Sets the sans-serif face used for all printed text, at a pixel size.
void SelectFont(cairo_t* cr, double size, bool bold);

// Draws one line of text with its baseline at y; x is the left edge, the
// centre or the right edge depending on align. Letter spacing in pixels.
void DrawText(cairo_t* cr, const char* text, double x, double baselineY, Align align,
              double letterSpacing = 0.0);

// Same, with the capital letters centred vertically on centreY.
void DrawTextCentredOn(cairo_t* cr, const char* text, double x, double centreY, Align align,
                       double letterSpacing = 0.0);

// Width of a text in the current font including letter spacing.
double TextWidth(cairo_t* cr, const char* text, double letterSpacing = 0.0);

// An ARGB32 surface cleared to transparent.
cairo_surface_t* NewSurface(int width, int height);

}  // namespace imagegen
