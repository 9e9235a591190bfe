#pragma once

// Where the editor's controls sit, in editor pixels (left, top). The layout
// builds its controls from these, and the artwork generator places the static
// captions on the background from the same numbers, so they cannot drift apart.
namespace stratum_layout {

struct Point {
  int x;
  int y;
};

struct Box {
  int left;
  int top;
  int right;
  int bottom;
};

constexpr int kEditorWidth = 410;
constexpr int kEditorHeight = 522;

// 20 x 20 on/off switches.
constexpr Point kDcBlockSwitch{156, 50};
constexpr Point kMuteSwitch{227, 50};
constexpr Point kPhaseRevLSwitch{144, 177};
constexpr Point kPhaseRevRSwitch{227, 177};
constexpr Point kAutoGainOnSwitch{143, 264};
constexpr Point kClipSwitch{141, 458};
constexpr Point kLimitSwitch{228, 458};

// Segmented selectors: 144 x 24 (four segments) and 144 x 16 (two segments).
constexpr Point kChannelSelector{104, 111};
constexpr Point kAutoGainModeSelector{104, 236};

// 64 x 64 knobs; their value text is drawn across the knob's middle.
constexpr Point kGainKnob{182, 264};
constexpr Point kPanKnob{105, 361};
constexpr Point kWidthKnob{182, 361};

// Parameter captions (value text only; the unit is printed beside them).
constexpr Box kAutoGainLevelCaption{105, 302, 137, 314};
constexpr Box kRmsWindowCaption{279, 462, 311, 474};
constexpr Box kGroupCaption{279, 50, 369, 70};
constexpr Box kReleaseSyncCaption{177, 492, 243, 512};

// Numeric read-outs of the highest peak and RMS level.
constexpr Box kPeakReadOut{11, 476, 43, 488};
constexpr Box kRmsReadOut{54, 476, 86, 488};

// The fifteen 12 x 12 group switches, one per linkable parameter 0..14.
constexpr int kGroupSwitchX = 273;
constexpr int kGroupSwitchY[15] = {115, 135, 156, 176, 197, 217, 238, 259,
                                   279, 300, 320, 341, 361, 382, 403};

// Meter strips (8 x 424 each): peak L, peak R, RMS L, RMS R. The hold
// markers lie exactly over their meters.
constexpr Point kMeterStrips[4] = {{18, 39}, {30, 39}, {60, 39}, {72, 39}};
constexpr int kMeterStripWidth = 8;
constexpr int kMeterStripHeight = 424;
constexpr int kMeterFrames = 48;

// The meters span 0 dB (top) to -24 dB (bottom): a meter's value is
// clamp((dB + 24) / 24, 0, 1) and frame k of the strip shows the value
// k / (frames - 1). This is the height, in pixels from the strip's bottom,
// that frame k lights.
constexpr double kMeterRangeDb = 24.0;
inline int MeterFillHeight(int frame) {
  return static_cast<int>(kMeterStripHeight * frame / double(kMeterFrames - 1) + 0.5);
}
// The editor row at which a level (0 down to -24 dB) sits on the meters.
inline double MeterLevelY(double db) {
  return kMeterStrips[0].y + kMeterStripHeight * (-db / kMeterRangeDb);
}

}  // namespace stratum_layout
