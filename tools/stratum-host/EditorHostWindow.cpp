#include "tools/stratum-host/EditorHostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_PngWriter.h"

using namespace Steinberg;

namespace stratumhost {

EditorHostWindow::~EditorHostWindow() {
  if (!mDisplay) return;
  XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

bool EditorHostWindow::Open(int width, int height, const std::string& title, std::string* error) {
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) {
    *error = "cannot open the X display (is DISPLAY set?)";
    return false;
  }
  mWidth = width;
  mHeight = height;
  mWindow = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0,
                                static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0,
                                0x202020);
  XStoreName(mDisplay, mWindow, title.c_str());
  // A fixed-size editor: the window manager should not offer resizing.
  XSizeHints hints = {};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(mDisplay, mWindow, &hints);
  Atom deleteAtom = XInternAtom(mDisplay, "WM_DELETE_WINDOW", False);
  mDeleteAtom = deleteAtom;
  XSetWMProtocols(mDisplay, mWindow, &deleteAtom, 1);
  XSelectInput(mDisplay, mWindow, StructureNotifyMask);
  XMapWindow(mDisplay, mWindow);
  // The editor embeds into a mapped window.
  XEvent event;
  do {
    XWindowEvent(mDisplay, mWindow, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return true;
}

int EditorHostWindow::ConnectionFd() const { return mDisplay ? ConnectionNumber(mDisplay) : -1; }

void PLUGIN_API EditorHostWindow::onFDIsSet(Linux::FileDescriptor) {
  while (mDisplay && XPending(mDisplay)) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    if (event.type == ClientMessage && static_cast<unsigned long>(event.xclient.data.l[0]) == mDeleteAtom)
      mCloseRequested = true;
    if (event.type == DestroyNotify && event.xdestroywindow.window == mWindow) mCloseRequested = true;
  }
}

tresult PLUGIN_API EditorHostWindow::queryInterface(const TUID iid, void** obj) {
  if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
    *obj = static_cast<Linux::IEventHandler*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

bool EditorHostWindow::Screenshot(const std::string& path, std::string* error) {
  XSync(mDisplay, False);
  XImage* image = XGetImage(mDisplay, mWindow, 0, 0, static_cast<unsigned>(mWidth),
                            static_cast<unsigned>(mHeight), AllPlanes, ZPixmap);
  if (!image) {
    *error = "cannot read the window's pixels";
    return false;
  }
  RAS_MemBitmap bitmap(mWidth, mHeight);
  for (int y = 0; y < mHeight; ++y)
    for (int x = 0; x < mWidth; ++x)
      bitmap.GetPixels()[y * bitmap.GetRowSpan() + x] =
          0xFF000000u | (static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
  XDestroyImage(image);
  RAS_PngWriteOptions options;
  options.keepAlpha = false;
  const RAS_PngWriteResult result = RAS_WritePngFile(&bitmap, path.c_str(), options);
  if (result != RAS_PngWriteResult::kWritten) {
    *error = path + ": " + RAS_DescribePngWriteResult(result);
    return false;
  }
  return true;
}

}  // namespace stratumhost
