#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EditorTestSupport.h"
#include "editor/IBitmapControl.h"
#include "editor/ICaptionControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "testsupport/ConcurrentRounds.h"

using editortest::EditorFixture;
using editortest::MakeStrip;

namespace {

// The processing thread pushes values, meter positions and read-out texts,
// greys controls and marks everything dirty, block after block, while the
// interface thread redraws and drags a knob. Run under ThreadSanitizer this
// must report nothing; elsewhere it checks that nothing tears or crashes.
TEST(EditorThreadTest, ProcessingWritesWhileTheInterfaceDraws) {
  EditorFixture f;
  auto knobStrip = MakeStrip(16, 16, 101);
  auto meterStrip = MakeStrip(4, 40, 48);
  auto* knob = new IKnobMultiControl(&f.plug, 10, 10, kGainLevel,
                                     editortest::Describe(knobStrip.get(), 101));
  auto* pan = new IKnobMultiControl(&f.plug, 40, 10, kPan, editortest::Describe(knobStrip.get(), 101));
  auto* meter = new IBitmapControl(&f.plug, 70, 10, editortest::Describe(meterStrip.get(), 48));
  auto* readOut = new ITextControl(&f.plug, IRect(10, 60, 60, 72), ITextStyle(), "-inf");
  auto* caption = new ICaptionControl(&f.plug, IRect(10, 80, 60, 92), kGainLevel, ITextStyle(), true);
  f.gfx->AddControl(knob);
  f.gfx->AddControl(pan);
  const int meterIdx = f.gfx->AddControl(meter);
  f.gfx->AddControl(readOut);
  f.gfx->AddControl(caption);
  knob->SetValueDisplayControl(readOut);
  f.Attach();

  char text[32];
  auto processBlock = [&](long block) {
    platform::LockGuard guard(f.plug.GetLock());
    const double level = (block % 97) / 96.0;
    f.plug.GetParam(kGainLevel)->SetFromNormalized(level);
    f.gfx->PushParamToControls(kGainLevel, level, true);
    f.gfx->GetControl(meterIdx)->TakeParamValue(1.0 - level);
    std::snprintf(text, sizeof(text), "%2.2f", -24.0 * level);
    readOut->ShowText(block % 5 == 0 ? "-inf" : text);
    f.gfx->GreyOutParam(kPan, (block / 50) % 2 == 0);
    f.gfx->MarkAllControlsDirty();
  };

  const IMouseMod left(true);
  auto interfaceFrame = [&](long frame) {
    f.gfx->Tick();
    if (frame % 10 == 0) {
      f.gfx->MouseDown(15, 15, left);
      f.gfx->MouseDrag(15, 10, left);
      f.gfx->MouseUp(15, 10, left);
    }
    // Either the processing side's "-inf" or a number from either side.
    const std::string shown = readOut->GetText();
    char* end = nullptr;
    std::strtod(shown.c_str(), &end);
    EXPECT_TRUE(shown == "-inf" || (!shown.empty() && *end == '\0')) << shown;
  };
  // The interface on this thread, the processing on its own.
  RunConcurrentRounds({{150, interfaceFrame}, {500, processBlock}});
  // A change keeps its control dirty for one drawing more; after two
  // drawings with the processing side quiet, nothing is left to draw.
  f.gfx->DrawAll();
  f.gfx->DrawAll();
  EXPECT_FALSE(f.gfx->GetControl(meterIdx)->IsDirty());
}

// Many writers and one reader on one text: every read is one of the texts
// written, never a mixture.
TEST(SharedTextThreadTest, ReadersNeverSeeATornText) {
  SharedText text("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA");
  auto writer = [&](const char* value) {
    return [&text, value](long i) { text.Set(i % 2 ? value : "short"); };
  };
  bool torn = false;
  auto reader = [&](long) {
    const std::string seen = text.Get();
    const bool whole = seen == "short" || seen == std::string(73, 'A') ||
                       seen == std::string(73, 'B') || seen == std::string(73, 'C');
    if (!whole && !torn) {
      ADD_FAILURE() << "torn text: " << seen;
      torn = true;
    }
  };
  RunConcurrentRounds({{20000, reader},
                       {20000, writer("BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB")},
                       {20000, writer("CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC")}});
}

}  // namespace
