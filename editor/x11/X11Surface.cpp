#include "editor/x11/X11Surface.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "editor/x11/X11ErrorTrap.h"

namespace {

// XDestroyImage frees the image's data and its extension data too; the
// segment and its description are not Xlib's to free.
void DestroyShmImage(XImage* image) {
  image->data = nullptr;
  image->obdata = nullptr;
  XDestroyImage(image);
}

}  // namespace

bool X11Surface::VisualMatches(const Visual* visual, int depth) {
  return visual != nullptr && (depth == 24 || depth == 32) && visual->c_class == TrueColor &&
         visual->red_mask == 0xFF0000ul && visual->green_mask == 0xFF00ul &&
         visual->blue_mask == 0xFFul;
}

bool X11Surface::Create(Display* display, Window window, Visual* visual, int depth, int width,
                        int height, bool allowShm) {
  Destroy();
  if (!VisualMatches(visual, depth) || width <= 0 || height <= 0) return false;
  mDisplay = display;
  mWindow = window;
  mVisual = visual;
  mDepth = depth;
  mWidth = width;
  mHeight = height;
  mGc = XCreateGC(display, window, 0, nullptr);
  if (allowShm && XShmQueryExtension(display)) CreateShm();
  return true;
}

bool X11Surface::CreateShm() {
  XImage* image = XShmCreateImage(mDisplay, mVisual, static_cast<unsigned>(mDepth), ZPixmap, nullptr,
                                  &mShmInfo, static_cast<unsigned>(mWidth),
                                  static_cast<unsigned>(mHeight));
  if (!image) return false;
  if (image->bits_per_pixel != 32) {
    DestroyShmImage(image);
    return false;
  }
  mShmInfo.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * mHeight,
                          IPC_CREAT | 0600);
  if (mShmInfo.shmid < 0) {
    DestroyShmImage(image);
    return false;
  }
  mShmInfo.shmaddr = static_cast<char*>(shmat(mShmInfo.shmid, nullptr, 0));
  if (mShmInfo.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(mShmInfo.shmid, IPC_RMID, nullptr);
    DestroyShmImage(image);
    return false;
  }
  image->data = mShmInfo.shmaddr;
  mShmInfo.readOnly = True;
  // A remote server accepts the request and fails it later: trap the error
  // and wait for the answer before trusting the segment.
  bool attached = false;
  {
    X11ErrorTrap trap(mDisplay);
    attached = XShmAttach(mDisplay, &mShmInfo) && !trap.Failed();
  }
  // Marked for removal now, so it goes away with the last user even if the
  // process dies.
  shmctl(mShmInfo.shmid, IPC_RMID, nullptr);
  if (!attached) {
    shmdt(mShmInfo.shmaddr);
    DestroyShmImage(image);
    mShmInfo = {};
    return false;
  }
  mShmImage = image;
  return true;
}

void X11Surface::Destroy() {
  if (!mDisplay) return;
  if (mShmImage) {
    XShmDetach(mDisplay, &mShmInfo);
    XSync(mDisplay, False);
    shmdt(mShmInfo.shmaddr);
    DestroyShmImage(mShmImage);
    mShmImage = nullptr;
    mShmInfo = {};
  }
  if (mGc) XFreeGC(mDisplay, mGc);
  mGc = nullptr;
  mDisplay = nullptr;
}

void X11Surface::Put(const uint32_t* pixels, int rowSpan, int srcX, int srcY, int dstX, int dstY,
                     int w, int h) {
  if (!mDisplay || !pixels) return;
  // Clip the destination to the surface and move the source along.
  if (dstX < 0) {
    srcX -= dstX;
    w += dstX;
    dstX = 0;
  }
  if (dstY < 0) {
    srcY -= dstY;
    h += dstY;
    dstY = 0;
  }
  w = std::min(w, mWidth - dstX);
  h = std::min(h, mHeight - dstY);
  if (w <= 0 || h <= 0 || srcX < 0 || srcY < 0) return;

  if (mShmImage) {
    const int imageSpan = mShmImage->bytes_per_line / 4;
    uint32_t* image = reinterpret_cast<uint32_t*>(mShmImage->data);
    for (int row = 0; row < h; ++row) {
      std::memcpy(image + static_cast<size_t>(dstY + row) * imageSpan + dstX,
                  pixels + static_cast<size_t>(srcY + row) * rowSpan + srcX,
                  static_cast<size_t>(w) * 4);
    }
    XShmPutImage(mDisplay, mWindow, mGc, mShmImage, dstX, dstY, dstX, dstY,
                 static_cast<unsigned>(w), static_cast<unsigned>(h), False);
    XSync(mDisplay, False);
    return;
  }

  // Plain path: an image header over the caller's rows; Xlib copies them
  // into the request, so nothing needs to outlive the call.
  XImage image = {};
  image.width = srcX + w;
  image.height = srcY + h;
  image.format = ZPixmap;
  image.data = const_cast<char*>(reinterpret_cast<const char*>(pixels));
  image.byte_order = LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = LSBFirst;
  image.bitmap_pad = 32;
  image.depth = mDepth;
  image.bytes_per_line = rowSpan * 4;
  image.bits_per_pixel = 32;
  image.red_mask = mVisual->red_mask;
  image.green_mask = mVisual->green_mask;
  image.blue_mask = mVisual->blue_mask;
  if (!XInitImage(&image)) return;
  XPutImage(mDisplay, mWindow, mGc, &image, srcX, srcY, dstX, dstY, static_cast<unsigned>(w),
            static_cast<unsigned>(h));
  XFlush(mDisplay);
}
