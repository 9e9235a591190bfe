#pragma once

#include <cstring>

#include "editor/IColor.h"

class RAS_CachedFont;

// Font and colours for drawing a text and for the text entry that edits it.
struct ITextStyle {
  enum Style { StyleNormal = 0, StyleBold = 1, StyleItalic = 2 };
  enum Align { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
  enum Quality { QualityDefault = 0, QualityNonAntiAliased = 1, QualityAntiAliased = 2, QualityClearType = 3 };

  static constexpr int kFaceSize = 32;

  char face[kFaceSize] = "Arial";
  int size = 12;  // pixels
  IColor color = IColor(255, 0, 0, 0);
  IColor entryBackColor = IColor(255, 255, 255, 255);
  IColor entryTextColor = IColor(255, 0, 0, 0);
  int style = StyleNormal;
  int align = AlignCenter;
  int orientation = 0;  // degrees
  int quality = QualityDefault;
  // Remembered by the editor on first use so that drawing needs no lookup.
  // Owned by the process-wide font cache.
  RAS_CachedFont* cachedFont = nullptr;

  ITextStyle() = default;
  ITextStyle(int sizePixels, const IColor& textColor, const char* faceName = "Arial",
             int fontStyle = StyleNormal, int alignment = AlignCenter, int orientationDegrees = 0,
             int fontQuality = QualityDefault,
             const IColor& entryBack = IColor(255, 255, 255, 255),
             const IColor& entryText = IColor(255, 0, 0, 0))
      : size(sizePixels),
        color(textColor),
        entryBackColor(entryBack),
        entryTextColor(entryText),
        style(fontStyle),
        align(alignment),
        orientation(orientationDegrees),
        quality(fontQuality) {
    SetFace(faceName);
  }

  // Longer names are cut to 31 characters.
  void SetFace(const char* name) {
    std::strncpy(face, name ? name : "", kFaceSize - 1);
    face[kFaceSize - 1] = '\0';
  }
};
