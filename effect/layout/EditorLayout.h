#pragma once

class IFxBase;
class IGraphics;
class IReadOutControl;

// What the effect keeps of its editor after building it: the controls its
// metering writes into every block.
struct EditorLayoutHandles {
  // Editor indices of peak L, peak R, RMS L, RMS R meters, then the peak L,
  // peak R, RMS L, RMS R hold markers.
  int meterControls[8];
  IReadOutControl* peakReadOut;  // highest peak since the last click on it
  IReadOutControl* rmsReadOut;   // highest RMS since the last click on it
};

// Fills a freshly created 410 x 522 editor: the background, the nine frame
// bitmaps and controls 1 to 41 in their fixed order. The caller created the
// graphics object for the plug-in and attaches it afterwards.
EditorLayoutHandles BuildEditorLayout(IFxBase* plugin, IGraphics* graphics);
