// The X11 window layer's costs on a real server: one editor tick with
// nothing dirty, a tick with the meters moving (what every tick does while
// audio plays), and a full-frame paint to the server, each with MIT-SHM and
// with plain image transfer. Needs an X server on DISPLAY (Xvfb will do).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>

#include "editor/IControl.h"
#include "editor/x11/IGraphicsX11.h"
#include "effect/layout/EditorLayout.h"
#include "effect/layout/IReadOutControl.h"
#include "testsupport/TestPlugin.h"

// Xlib last: its macros clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

constexpr int kWidth = 410;
constexpr int kHeight = 522;

// The effect's own editor layout in a window of a host window made here.
struct X11Editor {
  Display* host = nullptr;
  Window parent = 0;
  TestPlugin plug;
  IGraphicsX11* gfx = nullptr;
  EditorLayoutHandles handles{};

  explicit X11Editor(bool shm) {
    // A busy server refuses a connection now and then; try a while.
    for (int attempt = 0; attempt < 100 && !host; ++attempt) {
      host = XOpenDisplay(nullptr);
      if (!host) usleep(10000);
    }
    if (!host) return;
    parent = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, kWidth, kHeight, 0, 0, 0);
    XSelectInput(host, parent, StructureNotifyMask);
    XMapWindow(host, parent);
    XEvent event;
    do {
      XWindowEvent(host, parent, StructureNotifyMask, &event);
    } while (event.type != MapNotify);
    gfx = new IGraphicsX11(&plug, kWidth, kHeight);
    handles = BuildEditorLayout(&plug, gfx);
    plug.AttachEditor(gfx);
    gfx->SetAllowSharedMemory(shm);
    // Without a run loop the window paints once and the benchmark drives it.
    if (!gfx->OpenEditorWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(parent)),
                               IGraphicsX11::kParentType, nullptr)) {
      gfx = nullptr;
    }
  }
  ~X11Editor() {
    if (gfx) gfx->CloseEditorWindow();
    if (host) {
      XDestroyWindow(host, parent);
      XCloseDisplay(host);
    }
  }
  bool Ok(benchmark::State& state) {
    if (gfx) return true;
    state.SkipWithError("no X server on DISPLAY");
    return false;
  }
};

void BM_TickNothingDirty(benchmark::State& state) {
  X11Editor editor(state.range(0) != 0);
  if (!editor.Ok(state)) return;
  editor.gfx->OnRunLoopTimer();
  for (auto _ : state) editor.gfx->OnRunLoopTimer();
}
BENCHMARK(BM_TickNothingDirty)->ArgName("shm")->Arg(1)->Arg(0);

void BM_TickMetersMoving(benchmark::State& state) {
  X11Editor editor(state.range(0) != 0);
  if (!editor.Ok(state)) return;
  int step = 0;
  for (auto _ : state) {
    // What a block of audio leaves behind: new meter and hold positions and
    // two read-out texts.
    ++step;
    for (int i = 0; i < 8; ++i) {
      IControl* meter = editor.gfx->GetControl(editor.handles.meterControls[i]);
      meter->SetValue(0.3 + 0.5 * ((step + i) % 10) / 10.0);
      meter->MarkDirty(false);
    }
    editor.handles.peakReadOut->ShowText(step % 2 ? "-3.01" : "-2.87");
    editor.handles.rmsReadOut->ShowText(step % 2 ? "-9.40" : "-9.12");
    editor.gfx->OnRunLoopTimer();
    // Until the server has shown it.
    XSync(editor.gfx->GetDisplay(), False);
  }
}
BENCHMARK(BM_TickMetersMoving)->ArgName("shm")->Arg(1)->Arg(0);

void BM_FullFramePaint(benchmark::State& state) {
  X11Editor editor(state.range(0) != 0);
  if (!editor.Ok(state)) return;
  const IRect all(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    editor.gfx->DrawScreen(all);
    XSync(editor.gfx->GetDisplay(), False);
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_FullFramePaint)->ArgName("shm")->Arg(1)->Arg(0);

}  // namespace
