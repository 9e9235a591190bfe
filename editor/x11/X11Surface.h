#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

// Copies rectangles of a 32-bit pixel buffer (the back buffer's word
// layout) to the same place in an X window: through a shared-memory image
// when the server offers MIT-SHM and can attach our segment (a local
// server), else with plain image requests over the connection.
class X11Surface {
 public:
  X11Surface() = default;
  ~X11Surface() { Destroy(); }
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  // False when the visual is not true colour with 8-bit red, green and blue
  // in the back buffer's order (the window then cannot show the editor).
  static bool VisualMatches(const Visual* visual, int depth);

  // For a window of at most width x height; allowShm false forces the plain
  // path. False when the visual does not match.
  bool Create(Display* display, Window window, Visual* visual, int depth, int width, int height,
              bool allowShm);
  void Destroy();
  bool UsesShm() const { return mShmImage != nullptr; }

  // Copies the w x h block at (srcX, srcY) of pixels (rowSpan pixels per
  // row) to (dstX, dstY) of the window, clipped to the surface. With shared
  // memory it waits (one bounded round trip) until the server has read the
  // segment, so the next copy may overwrite it.
  void Put(const uint32_t* pixels, int rowSpan, int srcX, int srcY, int dstX, int dstY, int w,
           int h);
  // The same place in the source and in the window.
  void Put(const uint32_t* pixels, int rowSpan, int x, int y, int w, int h) {
    Put(pixels, rowSpan, x, y, x, y, w, h);
  }

 private:
  bool CreateShm();

  Display* mDisplay = nullptr;
  Window mWindow = 0;
  Visual* mVisual = nullptr;
  int mDepth = 0;
  int mWidth = 0;
  int mHeight = 0;
  GC mGc = nullptr;
  XImage* mShmImage = nullptr;
  XShmSegmentInfo mShmInfo = {};
};
