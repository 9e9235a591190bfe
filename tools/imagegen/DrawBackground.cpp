#include <cmath>
#include <cstdio>

#include "effect/layout/EditorGeometry.h"
#include "tools/imagegen/Artwork.h"
#include "tools/imagegen/Canvas.h"

namespace imagegen {

namespace lay = stratum_layout;

namespace {

// Three panels: meters on the left, the channel strip in the middle, the
// group link on the right.
constexpr double kPanelTop = 26.0;
constexpr double kPanelBottom = 516.0;
constexpr double kMetersLeft = 4.0, kMetersRight = 96.0;
constexpr double kStripLeft = 100.0, kStripRight = 258.0;
constexpr double kGroupLeft = 262.0, kGroupRight = 406.0;

constexpr double kTitleSize = 8.5;
constexpr double kCaptionSize = 8.5;
constexpr double kTitleSpacing = 1.2;

void DrawBackdrop(cairo_t* cr) {
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, lay::kEditorHeight);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.105, 0.115, 0.13);
  cairo_pattern_add_color_stop_rgb(fill, 1, 0.07, 0.075, 0.085);
  cairo_set_source(cr, fill);
  cairo_paint(cr);
  cairo_pattern_destroy(fill);
}

void DrawHeader(cairo_t* cr) {
  SelectFont(cr, 13.0, true);
  SetColour(cr, palette::kTitle);
  DrawText(cr, "Velmar", 8, 18, Align::kLeft);
  const double brandWidth = TextWidth(cr, "Velmar");
  SelectFont(cr, 13.0, false);
  SetColour(cr, palette::kAccent);
  DrawText(cr, "Stratum", 8 + brandWidth + 1, 18, Align::kLeft);

  SelectFont(cr, 7.5, true);
  SetColour(cr, palette::kDim);
  DrawText(cr, "CHANNEL STRIP", kGroupRight - 2, 17, Align::kRight, 1.6);
}

void DrawPanel(cairo_t* cr, double left, double right) {
  const double x = left + 0.5, y = kPanelTop + 0.5;
  const double w = right - left - 1.0, h = kPanelBottom - kPanelTop - 1.0;
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, kPanelTop, 0, kPanelBottom);
  cairo_pattern_add_color_stop_rgb(fill, 0, palette::kPanelTop.r, palette::kPanelTop.g, palette::kPanelTop.b);
  cairo_pattern_add_color_stop_rgb(fill, 1, palette::kPanelBottom.r, palette::kPanelBottom.g,
                                   palette::kPanelBottom.b);
  RoundedRectPath(cr, x, y, w, h, 5.0);
  cairo_set_source(cr, fill);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(fill);
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, palette::kPanelEdge);
  cairo_stroke(cr);
  // Light catch along the top edge.
  cairo_set_source_rgba(cr, 1, 1, 1, 0.06);
  cairo_move_to(cr, x + 5, y + 1);
  cairo_line_to(cr, x + w - 5, y + 1);
  cairo_stroke(cr);
}

// A dark recessed well, one pixel larger than the box it frames.
void DrawWell(cairo_t* cr, double left, double top, double right, double bottom) {
  RoundedRectPath(cr, left - 1.5, top - 1.5, right - left + 3.0, bottom - top + 3.0, 2.5);
  SetColour(cr, palette::kRecess);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
  cairo_stroke(cr);
}

void DrawSectionTitle(cairo_t* cr, const char* text, double x, double baseline, Align align) {
  SelectFont(cr, kTitleSize, true);
  SetColour(cr, palette::kTitle);
  DrawText(cr, text, x, baseline, align, kTitleSpacing);
}

// A hairline across a panel between two sections.
void DrawDivider(cairo_t* cr, double left, double right, double y) {
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_move_to(cr, left, y + 0.5);
  cairo_line_to(cr, right, y + 0.5);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
  cairo_move_to(cr, left, y + 1.5);
  cairo_line_to(cr, right, y + 1.5);
  cairo_stroke(cr);
}

void Caption(cairo_t* cr, const char* text, double x, double centreY, Align align) {
  SelectFont(cr, kCaptionSize, true);
  SetColour(cr, palette::kCaption);
  DrawTextCentredOn(cr, text, x, centreY, align, 0.6);
}

// A caption to the left of a 20 x 20 switch, centred on its height.
void CaptionLeftOf(cairo_t* cr, const char* text, lay::Point switchPos) {
  SelectFont(cr, kCaptionSize, true);
  SetColour(cr, palette::kCaption);
  DrawTextCentredOn(cr, text, switchPos.x - 5, switchPos.y + 10, Align::kRight, 0.3);
}

// ---- meters ---------------------------------------------------------------

void DrawMeterScale(cairo_t* cr) {
  const lay::Point peakL = lay::kMeterStrips[0], peakR = lay::kMeterStrips[1];
  const lay::Point rmsL = lay::kMeterStrips[2], rmsR = lay::kMeterStrips[3];
  const double top = peakL.y, bottom = peakL.y + lay::kMeterStripHeight;

  DrawWell(cr, peakL.x, top, peakR.x + lay::kMeterStripWidth, bottom);
  DrawWell(cr, rmsL.x, top, rmsR.x + lay::kMeterStripWidth, bottom);

  SelectFont(cr, 7.5, true);
  SetColour(cr, palette::kTitle);
  DrawText(cr, "PEAK", (peakL.x + peakR.x + lay::kMeterStripWidth) / 2.0, 35, Align::kCentre, 0.8);
  DrawText(cr, "RMS", (rmsL.x + rmsR.x + lay::kMeterStripWidth) / 2.0, 35, Align::kCentre, 0.8);

  // dB marks every 3 dB, lined up with the frames of the meter strips.
  const double gapLeft = peakR.x + lay::kMeterStripWidth + 1.5;
  const double gapRight = rmsL.x - 1.5;
  const double labelX = (gapLeft + gapRight) / 2.0;
  const double outerLeft = peakL.x - 2.0;
  const double outerRight = rmsR.x + lay::kMeterStripWidth + 2.0;
  cairo_set_line_width(cr, 1.0);
  for (int db = 0; db >= -24; db -= 3) {
    const double y = std::round(lay::MeterLevelY(db)) - 0.5 + (db == -24 ? 0.0 : 0.5);
    const bool major = db % 6 == 0;
    const double tick = major ? 4.0 : 2.5;
    SetColour(cr, major ? palette::kCaption : palette::kDim);
    cairo_move_to(cr, outerLeft - tick, y);
    cairo_line_to(cr, outerLeft, y);
    cairo_move_to(cr, outerRight, y);
    cairo_line_to(cr, outerRight + tick, y);
    cairo_move_to(cr, gapLeft, y);
    cairo_line_to(cr, gapLeft + 1.5, y);
    cairo_move_to(cr, gapRight - 1.5, y);
    cairo_line_to(cr, gapRight, y);
    cairo_stroke(cr);

    char label[8];
    std::snprintf(label, sizeof label, "%d", db);
    SelectFont(cr, 7.0, true);
    SetColour(cr, major ? palette::kCaption : palette::kDim);
    DrawTextCentredOn(cr, label, labelX, y, Align::kCentre);
  }

  SelectFont(cr, 7.0, true);
  SetColour(cr, palette::kDim);
  const double lrBaseline = bottom + 10;
  for (int i = 0; i < 4; ++i) {
    const char* side = (i % 2 == 0) ? "L" : "R";
    DrawText(cr, side, lay::kMeterStrips[i].x + lay::kMeterStripWidth / 2.0, lrBaseline, Align::kCentre);
  }
  DrawText(cr, "dB", labelX, lrBaseline, Align::kCentre);
}

void DrawReadOutWells(cairo_t* cr) {
  const lay::Box boxes[2] = {lay::kPeakReadOut, lay::kRmsReadOut};
  for (const lay::Box& b : boxes) {
    DrawWell(cr, b.left - 1, b.top - 1, b.right + 1, b.bottom + 1);
  }
  SelectFont(cr, 7.0, true);
  SetColour(cr, palette::kDim);
  const double baseline = lay::kPeakReadOut.bottom + 12;
  DrawText(cr, "MAX", (lay::kPeakReadOut.left + lay::kPeakReadOut.right) / 2.0, baseline, Align::kCentre, 0.8);
  DrawText(cr, "MAX", (lay::kRmsReadOut.left + lay::kRmsReadOut.right) / 2.0, baseline, Align::kCentre, 0.8);
  SelectFont(cr, 6.5, false);
  DrawText(cr, "click to reset", (kMetersLeft + kMetersRight) / 2.0, baseline + 10, Align::kCentre);
}

// ---- channel strip --------------------------------------------------------

void DrawKnobLabel(cairo_t* cr, const char* text, lay::Point knob) {
  Caption(cr, text, knob.x + 32, knob.y + 64 + 8, Align::kCentre);
}

void DrawStripSection(cairo_t* cr) {
  const double left = kStripLeft + 8;
  const double right = kStripRight - 8;

  DrawSectionTitle(cr, "INPUT", left, 40, Align::kLeft);
  CaptionLeftOf(cr, "DC BLOCK", lay::kDcBlockSwitch);
  CaptionLeftOf(cr, "MUTE", lay::kMuteSwitch);

  DrawDivider(cr, left - 4, right + 4, 84);
  DrawSectionTitle(cr, "CHANNEL", left, 103, Align::kLeft);

  DrawDivider(cr, left - 4, right + 4, 146);
  DrawSectionTitle(cr, "PHASE INVERT", left, 165, Align::kLeft);
  CaptionLeftOf(cr, "LEFT", lay::kPhaseRevLSwitch);
  CaptionLeftOf(cr, "RIGHT", lay::kPhaseRevRSwitch);

  DrawDivider(cr, left - 4, right + 4, 208);
  DrawSectionTitle(cr, "AUTO GAIN", left, 228, Align::kLeft);
  CaptionLeftOf(cr, "ON", lay::kAutoGainOnSwitch);
  const lay::Box target = lay::kAutoGainLevelCaption;
  DrawWell(cr, target.left, target.top, target.right, target.bottom);
  Caption(cr, "TARGET", (target.left + target.right) / 2.0, target.top - 7, Align::kCentre);
  SelectFont(cr, kCaptionSize, false);
  SetColour(cr, palette::kCaption);
  DrawTextCentredOn(cr, "dB", target.right + 4, (target.top + target.bottom) / 2.0, Align::kLeft);
  DrawKnobLabel(cr, "GAIN", lay::kGainKnob);

  DrawDivider(cr, left - 4, right + 4, 347);
  DrawKnobLabel(cr, "PAN", lay::kPanKnob);
  DrawKnobLabel(cr, "WIDTH", lay::kWidthKnob);
  // Range ends under the knobs' sweep.
  SelectFont(cr, 7.0, true);
  SetColour(cr, palette::kDim);
  const lay::Point pan = lay::kPanKnob, width = lay::kWidthKnob;
  DrawText(cr, "L", pan.x + 6, pan.y + 66, Align::kCentre);
  DrawText(cr, "R", pan.x + 58, pan.y + 66, Align::kCentre);
  DrawText(cr, "0", width.x + 6, width.y + 66, Align::kCentre);
  DrawText(cr, "200", width.x + 58, width.y + 66, Align::kCentre);
  const lay::Point gain = lay::kGainKnob;
  DrawText(cr, "-60", gain.x + 6, gain.y + 66, Align::kCentre);
  DrawText(cr, "+60", gain.x + 58, gain.y + 66, Align::kCentre);

  DrawDivider(cr, left - 4, right + 4, 441);
  DrawSectionTitle(cr, "OUTPUT", left, 453, Align::kLeft);
  CaptionLeftOf(cr, "CLIP", lay::kClipSwitch);
  CaptionLeftOf(cr, "LIMIT", lay::kLimitSwitch);
  const lay::Box release = lay::kReleaseSyncCaption;
  DrawWell(cr, release.left, release.top, release.right, release.bottom);
  Caption(cr, "RELEASE", release.left - 5, (release.top + release.bottom) / 2.0, Align::kRight);
}

// ---- group link -----------------------------------------------------------

void DrawGroupSection(cairo_t* cr) {
  const double left = kGroupLeft + 8;
  const double right = kGroupRight - 8;
  const lay::Box group = lay::kGroupCaption;

  DrawSectionTitle(cr, "GROUP", left, 40, Align::kLeft);
  DrawWell(cr, group.left, group.top, group.right + 12, group.bottom);
  // A small drop-down arrow beside the group name: a click opens the list.
  const double arrowX = group.right + 6, arrowY = (group.top + group.bottom) / 2.0;
  SetColour(cr, palette::kCaption);
  cairo_move_to(cr, arrowX - 3.5, arrowY - 1.5);
  cairo_line_to(cr, arrowX + 3.5, arrowY - 1.5);
  cairo_line_to(cr, arrowX, arrowY + 2.5);
  cairo_close_path(cr);
  cairo_fill(cr);

  DrawDivider(cr, left - 4, right + 4, 84);
  DrawSectionTitle(cr, "LINKED", left, 103, Align::kLeft);

  static const char* const kLinkNames[15] = {
      "DC Block", "Mute",  "Channel", "Phase L", "Phase R",  "AG Mode", "Auto Gain", "AG Target",
      "Gain",     "Pan",   "Width",   "Clip",    "Limit",    "Release", "RMS Window"};
  SelectFont(cr, 9.0, false);
  SetColour(cr, palette::kCaption);
  for (int i = 0; i < 15; ++i) {
    DrawTextCentredOn(cr, kLinkNames[i], lay::kGroupSwitchX + 12 + 6, lay::kGroupSwitchY[i] + 6,
                      Align::kLeft);
  }
  // A faint guide line joining the column of switches.
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  const double guideX = lay::kGroupSwitchX + 6 + 0.5;
  cairo_move_to(cr, guideX, lay::kGroupSwitchY[0]);
  cairo_line_to(cr, guideX, lay::kGroupSwitchY[14] + 12);
  cairo_stroke(cr);

  DrawDivider(cr, left - 4, right + 4, 428);
  const lay::Box window = lay::kRmsWindowCaption;
  DrawSectionTitle(cr, "RMS WINDOW", left, 453, Align::kLeft);
  DrawWell(cr, window.left, window.top, window.right, window.bottom);
  SelectFont(cr, kCaptionSize, false);
  SetColour(cr, palette::kCaption);
  DrawTextCentredOn(cr, "ms", window.right + 4, (window.top + window.bottom) / 2.0, Align::kLeft);

  SelectFont(cr, 7.0, true);
  SetColour(cr, palette::kDim);
  DrawText(cr, "VELMAR", right, kPanelBottom - 8, Align::kRight, 2.0);
}

}  // namespace

cairo_surface_t* DrawBackground() {
  cairo_surface_t* surface = NewSurface(lay::kEditorWidth, lay::kEditorHeight);
  cairo_t* cr = cairo_create(surface);
  DrawBackdrop(cr);
  DrawHeader(cr);
  DrawPanel(cr, kMetersLeft, kMetersRight);
  DrawPanel(cr, kStripLeft, kStripRight);
  DrawPanel(cr, kGroupLeft, kGroupRight);
  DrawMeterScale(cr);
  DrawReadOutWells(cr);
  DrawStripSection(cr);
  DrawGroupSection(cr);
  cairo_destroy(cr);
  return surface;
}

}  // namespace imagegen
