#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/IControl.h"
#include "editor/IFrameBitmap.h"
#include "editor/IGraphics.h"
#include "raster/RAS_MemBitmap.h"
#include "testsupport/IGraphicsScripted.h"
#include "testsupport/TestPlugin.h"

namespace editortest {

// Colour of frame f (1-based) in the strips below: distinct per frame, opaque.
inline uint32_t FrameColour(int frame) {
  return 0xFF000000u | (static_cast<uint32_t>(frame & 0xFF) << 16) |
         (static_cast<uint32_t>((frame >> 8) & 0xFF) << 8) | 0x40u;
}

// A strip of `frames` frames of frameW x frameH stacked vertically (or side
// by side), each filled with FrameColour(frame number).
std::unique_ptr<RAS_MemBitmap> MakeStrip(int frameW, int frameH, int frames, bool horizontal = false);

inline IFrameBitmap Describe(RAS_MemBitmap* bitmap, int frames, bool horizontal = false) {
  return IFrameBitmap(bitmap, bitmap->GetWidth(), bitmap->GetHeight(), frames, horizontal);
}

// An 8-bit RGBA PNG of w x h pixels filled with one colour (A, R, G, B).
std::vector<unsigned char> EncodeSolidPng(int w, int h, uint32_t argb);

// Registers a generated PNG as resource ("PNG", id); the bytes stay alive
// for the rest of the process, as a module's resources do.
void RegisterSolidPng(int id, int w, int h, uint32_t argb);

uint32_t PixelAt(RAS_IBitmap* bitmap, int x, int y);

// A control that records what reaches it.
class ProbeControl : public IControl {
 public:
  ProbeControl(IFxBase* plug, const IRect& rect, int paramIdx = -1) : IControl(plug, rect, paramIdx) {}

  bool Draw(IGraphics&) override {
    ++draws;
    return true;
  }
  void MouseDown(int x, int y, const IMouseMod& mod) override {
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (mod.R ? " R" : ""));
  }
  void MouseUp(int x, int y, const IMouseMod&) override {
    events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseDrag(int x, int y, int dX, int dY, const IMouseMod&) override {
    events.push_back("drag " + std::to_string(x) + "," + std::to_string(y) + " d" +
                     std::to_string(dX) + "," + std::to_string(dY));
  }
  void MouseDoubleClick(int, int, const IMouseMod&) override { events.push_back("dbl"); }
  void MouseWheel(int, int, const IMouseMod&, double steps) override {
    events.push_back("wheel " + std::to_string(static_cast<int>(steps)));
  }
  void TakeEnteredText(const char* text) override { events.push_back(std::string("text ") + text); }
  bool KeyDown(int, int, int key) override {
    events.push_back("key " + std::to_string(key));
    return takesKeys;
  }

  int draws = 0;
  bool takesKeys = true;
  std::vector<std::string> events;
};

// The stand-in plug-in, also recording requests for the host's parameter
// context menu.
class ProbePlugin : public TestPlugin {
 public:
  explicit ProbePlugin(HostFormat format) : TestPlugin(format) {}
  void ShowHostContextMenu(int paramIdx, int x, int y) override {
    contextMenus.push_back({paramIdx, x, y});
  }
  struct ContextMenu {
    int paramIdx, x, y;
  };
  std::vector<ContextMenu> contextMenus;
};

// A TestPlugin with an offscreen editor of the effect's size whose
// background is a generated opaque image.
class EditorFixture {
 public:
  static constexpr int kWidth = 410;
  static constexpr int kHeight = 522;
  static constexpr int kBackgroundId = 9101;

  explicit EditorFixture(HostFormat format = HostFormatVst3);
  ~EditorFixture() {
    if (!mAttached) delete gfx;
  }
  EditorFixture(const EditorFixture&) = delete;
  EditorFixture& operator=(const EditorFixture&) = delete;

  // Hands the editor to the plug-in (which then owns it): every control
  // takes its parameter's value and the back buffer is made.
  void Attach() {
    plug.AttachEditor(gfx);
    mAttached = true;
  }

  ProbePlugin plug;
  IGraphicsScripted* gfx;  // owned by plug once attached, else by the fixture

 private:
  bool mAttached = false;
};

}  // namespace editortest
