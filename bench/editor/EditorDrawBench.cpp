// Drawing costs of the editor core: a full redraw of an editor the size of
// the effect's (what every timer tick does while metering marks every
// control dirty), one knob's update rectangle, and memcpy of the back
// buffer's bytes for reference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "editor/offscreen/IGraphicsOffscreen.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_SysBitmap.h"
#include "testsupport/TestPlugin.h"

namespace {

constexpr int kWidth = 410;
constexpr int kHeight = 522;

// Images made in memory: an opaque background and film strips whose pixels
// are half opaque, half transparent, like knob artwork.
class BenchGraphics : public IGraphicsOffscreen {
 public:
  using IGraphicsOffscreen::IGraphicsOffscreen;
  RAS_IBitmap* LoadPlatformBitmap(int id, const char*) override {
    if (id == 1) return Filled(kWidth, kHeight, [](int, int) { return 0xFF303030u; });
    return Filled(64, 64 * 201, [](int x, int y) { return ((x + y) & 1) ? 0xFFC08040u : 0u; });
  }

 private:
  template <typename Pixel>
  static RAS_IBitmap* Filled(int w, int h, Pixel pixel) {
    auto* bitmap = new RAS_MemBitmap(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bitmap->GetPixels()[y * bitmap->GetRowSpan() + x] = pixel(x, y);
    return bitmap;
  }
};

struct Editor {
  TestPlugin plug;
  BenchGraphics* gfx;
  Editor() : gfx(new BenchGraphics(&plug, kWidth, kHeight)) {
    gfx->AddBackground(1, "background.png");
    const IFrameBitmap knob = gfx->LoadFrameBitmap(2, "knob.png", 201);
    for (int i = 0; i < 12; ++i)
      gfx->AddControl(new IKnobMultiControl(&plug, 10 + (i % 5) * 75, 10 + (i / 5) * 80, kGainLevel, knob));
    for (int i = 0; i < 4; ++i)
      gfx->AddControl(new ITextControl(&plug, IRect(20 + i * 90, 480, 100 + i * 90, 492),
                                       ITextStyle(12, IColor(255, 220, 220, 220)), "-12.34"));
    plug.AttachEditor(gfx);
  }
};

void BM_FullRedraw(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    editor.gfx->MarkAllControlsDirty();
    benchmark::DoNotOptimize(editor.gfx->Tick());
  }
}
BENCHMARK(BM_FullRedraw);

void BM_OneKnobUpdate(benchmark::State& state) {
  Editor editor;
  editor.gfx->DrawAll();
  double value = 0.0;
  for (auto _ : state) {
    value = value > 0.99 ? 0.0 : value + 0.01;
    editor.gfx->GetControl(1)->TakeParamValue(value);
    benchmark::DoNotOptimize(editor.gfx->Tick());
  }
}
BENCHMARK(BM_OneKnobUpdate);

void BM_MemcpyBackBuffer(benchmark::State& state) {
  std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0x12345678u);
  std::vector<uint32_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(from.size() * sizeof(uint32_t)));
}
BENCHMARK(BM_MemcpyBackBuffer);

}  // namespace
