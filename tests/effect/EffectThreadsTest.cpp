// The audio thread and the editor's thread meet only through the instance
// lock and the controls' own atomics: processing with metering while the
// editor draws and the user clicks the read-outs and moves a knob.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/offscreen/IGraphicsOffscreen.h"
#include "effect/layout/IReadOutControl.h"
#include "testsupport/ConcurrentRounds.h"
#include "tests/effect/EffectHarness.h"

namespace {

TEST(EffectThreadsTest, ProcessingWhileTheEditorDrawsAndIsClicked) {
  effect_test::EffectHarness h;
  h.Prepare(48000, 256);
  h.Set(kAutoGainOnOff, 1.0);
  auto* graphics = static_cast<IGraphicsOffscreen*>(h.fx->Graphics());
  std::vector<double> left(256), right(256), outL(256), outR(256);
  auto processBlock = [&](long block) {
    for (int i = 0; i < 256; ++i) {
      left[i] = 0.4 * std::sin(0.05 * (block * 256 + i));
      right[i] = 0.3 * std::cos(0.03 * (block * 256 + i));
    }
    double* in[2] = {left.data(), right.data()};
    double* out[2] = {outL.data(), outR.data()};
    h.fx->GetLock().Lock();  // as an adapter holds it around processing
    h.fx->ProcessAudio(in, out, 256);
    h.fx->GetLock().Unlock();
  };

  const IRect peak = h.fx->PeakReadOut()->GetRect();
  const IRect rms = h.fx->RmsReadOut()->GetRect();
  const IRect pan = h.Control(9)->GetRect();
  auto editorRound = [&](long round) {
    graphics->Tick();
    const IRect& r = (round % 2) ? peak : rms;
    graphics->MouseDown(r.L + 1, r.T + 1, IMouseMod(true));
    graphics->MouseUp(r.L + 1, r.T + 1, IMouseMod(true));
    graphics->MouseDown(pan.L + 5, pan.T + 5, IMouseMod(true));
    graphics->MouseDrag(pan.L + 5, pan.T + 5 - static_cast<int>(round % 7), IMouseMod(true));
    graphics->MouseUp(pan.L + 5, pan.T + 5, IMouseMod(true));
  };
  // The editor on this thread, the audio on its own.
  const std::vector<long> done = RunConcurrentRounds({{20, editorRound}, {400, processBlock}});
  graphics->Tick();
  EXPECT_GT(done[0], 0);
  EXPECT_FALSE(h.fx->PeakReadOut()->GetText().empty());
}

}  // namespace
