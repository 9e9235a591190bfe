// Speed of the blits the editor runs every frame, and of short texts, with a
// memcpy of the same bytes as the reference point.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_SysBitmap.h"

namespace {

enum SourceKind { kOpaque = 0, kTransparent = 1, kMixed = 2 };

// Mixed: like a knob frame, mostly opaque or clear with an antialiased rim.
void FillSource(RAS_IBitmap& bitmap, SourceKind kind) {
  uint32_t* pixels = bitmap.GetPixels();
  for (int y = 0; y < bitmap.GetHeight(); ++y) {
    for (int x = 0; x < bitmap.GetWidth(); ++x) {
      uint32_t alpha = 255;
      if (kind == kTransparent) {
        alpha = 0;
      } else if (kind == kMixed) {
        int band = (x + y) % 16;
        alpha = band < 6 ? 255 : band < 12 ? 0 : uint32_t(band * 16);
      }
      pixels[y * bitmap.GetRowSpan() + x] = alpha << 24 | uint32_t(x * 7 % 256) << 16 | uint32_t(y % 256) << 8 | 0x40;
    }
  }
}

void BlitBench(benchmark::State& state, int width, int height, unsigned int mode) {
  RAS_MemBitmap source(width, height);
  FillSource(source, static_cast<SourceKind>(state.range(0)));
  RAS_SysBitmap back(410, 522);
  for (auto _ : state) {
    RAS_BlitBitmap(&back, &source, 0, 0, nullptr, 1.0f, mode);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(width) * height * 4);
  static const char* kNames[] = {"opaque", "transparent", "mixed"};
  state.SetLabel(kNames[state.range(0)]);
}

void BM_AlphaBlitFrame64(benchmark::State& state) { BlitBench(state, 64, 64, RAS_BlitCopy | RAS_BlitUseAlpha); }
void BM_AlphaBlitFull(benchmark::State& state) { BlitBench(state, 410, 522, RAS_BlitCopy | RAS_BlitUseAlpha); }
void BM_CopyBlitFull(benchmark::State& state) { BlitBench(state, 410, 522, RAS_BlitCopy); }

void MemcpyBench(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}

void BM_MemcpyFrame64(benchmark::State& state) { MemcpyBench(state, 64 * 64 * 4); }
void BM_MemcpyFull(benchmark::State& state) { MemcpyBench(state, 410 * 522 * 4); }

void BM_DrawTextWarm(benchmark::State& state) {
  RAS_PlatformFontDesc desc;
  desc.height = 12;
  RAS_CachedFont font;
  font.SetFromPlatformFont(RAS_CreatePlatformFont(desc), RAS_FontOwnsHandle | RAS_FontNative);
  RAS_SysBitmap back(410, 522);
  const char* text = "-12.5 dB L";  // ten characters, as a read-out shows
  RAS_Rect rect{100, 100, 200, 120};
  font.DrawText(&back, text, -1, &rect, RAS_TextSingleLine);  // warm the cache
  unsigned int flags = RAS_TextCenter | RAS_TextVCenter | RAS_TextSingleLine | RAS_TextNoClip;
  for (auto _ : state) {
    benchmark::DoNotOptimize(font.DrawText(&back, text, -1, &rect, flags));
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_AlphaBlitFrame64)->DenseRange(0, 2);
BENCHMARK(BM_AlphaBlitFull)->DenseRange(0, 2);
BENCHMARK(BM_CopyBlitFull)->Arg(kOpaque);
BENCHMARK(BM_MemcpyFrame64);
BENCHMARK(BM_MemcpyFull);
BENCHMARK(BM_DrawTextWarm);
