#pragma once

#include "raster/BitmapRows.h"
#include "raster/RAS_IBitmap.h"

// A non-owning window onto a rectangle of another bitmap's rows, so that
// whole-bitmap operations (the blur) can work on part of a bitmap.
class RAS_BitmapView : public RAS_IBitmap {
 public:
  RAS_BitmapView(RAS_IBitmap* parent, int x, int y, int width, int height)
      : mWidth(width), mHeight(height) {
    RAS_BitmapRows rows;
    if (RAS_GetBitmapRows(parent, &rows)) {
      mTop = reinterpret_cast<uint32_t*>(rows.Pixel(x, y));
      mSpan = parent->GetRowSpan();
      mFlipped = parent->IsFlipped();
    }
  }

  // For a flipped parent, memory row 0 of the view is its bottom row.
  uint32_t* GetPixels() override {
    if (!mTop || !mFlipped) {
      return mTop;
    }
    return mTop - static_cast<ptrdiff_t>(mHeight - 1) * mSpan;
  }
  int GetWidth() override { return mTop ? mWidth : 0; }
  int GetHeight() override { return mTop ? mHeight : 0; }
  int GetRowSpan() override { return mSpan; }
  bool IsFlipped() override { return mFlipped; }
  bool Resize(int, int) override { return false; }

 private:
  uint32_t* mTop = nullptr;
  int mWidth;
  int mHeight;
  int mSpan = 0;
  bool mFlipped = false;
};
