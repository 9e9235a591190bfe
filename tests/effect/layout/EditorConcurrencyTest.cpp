// The editor drawn and clicked on one thread while the audio thread processes
// and writes meters, read-outs and the auto-gain knob, as in a host.

#include <gtest/gtest.h>


#include "effect/layout/IReadOutControl.h"
#include "testsupport/ConcurrentRounds.h"
#include "testsupport/IGraphicsScripted.h"
#include "tools/snapshot/EditorSnapshot.h"

namespace {

TEST(EditorConcurrency, DrawingAndClickingWhileTheAudioThreadMeters) {
  snapshot::EditorSnapshot editor;
  std::string error;
  ASSERT_TRUE(editor.Prepare(44100.0, 256, 2, &error)) << error;
  // Auto gain moves the gain knob and its text from the audio thread.
  ASSERT_TRUE(editor.SetParameter("Auto Gain On/Off=on", &error)) << error;
  IGraphicsScripted* graphics = editor.Graphics();
  ASSERT_NE(graphics, nullptr);
  auto* peak = dynamic_cast<IReadOutControl*>(graphics->GetControl(17));
  ASSERT_NE(peak, nullptr);

  auto audioBlock = [&](long) { editor.Process(snapshot::Signal::kNoise, 1); };
  auto drawAndClick = [&](long) {
    graphics->DrawAll();
    graphics->MouseDown(27, 482, IMouseMod(true));  // the peak read-out
    graphics->MouseUp(27, 482, IMouseMod(true));
  };
  // The editor on this thread, the audio on its own.
  RunConcurrentRounds({{5, drawAndClick}, {300, audioBlock}});

  // The last click is taken by the next block; the read-out shows a level.
  editor.Process(snapshot::Signal::kNoise, 1);
  EXPECT_FALSE(peak->IsClicked());
  EXPECT_NE(peak->GetText(), "");
}

}  // namespace
