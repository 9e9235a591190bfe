// The offscreen layer a module falls back to: nothing waits for a user, and
// nothing a user did not choose reaches the plug-in.
#include <gtest/gtest.h>

#include <string>

#include "editor/ICaptionControl.h"
#include "editor/offscreen/IGraphicsOffscreen.h"
#include "testsupport/TestPlugin.h"

namespace {

using Kind = IFxRecordingAdapter::HostCallKind;

class HeadlessLayerTest : public ::testing::Test {
 protected:
  HeadlessLayerTest() : gfx(new IGraphicsOffscreen(&plug, 410, 522)) {
    group = new ICaptionControl(&plug, IRect(279, 50, 369, 70), kGroup, ITextStyle(), false);
    gain = new ICaptionControl(&plug, IRect(0, 0, 61, 13), kGainLevel, ITextStyle(), false);
    gfx->AddControl(group);
    gfx->AddControl(gain);
    plug.AttachEditor(gfx);
    plug.GetParam(kGainLevel)->SetValue(30.0);  // as a host would set it
    gfx->PushParamToControls(kGainLevel, 0.75, true);
    plug.ClearHostCalls();
  }

  TestPlugin plug;
  IGraphicsOffscreen* gfx;  // owned by plug
  ICaptionControl* group;
  ICaptionControl* gain;
};

TEST_F(HeadlessLayerTest, PromptsLeaveEveryValueAsItWas) {
  group->MouseDown(300, 60, IMouseMod(true));        // a menu: dismissed
  gain->MouseDown(5, 5, IMouseMod(true));            // a text entry: cancelled
  group->MouseDoubleClick(300, 60, IMouseMod(true));
  for (int tick = 0; tick < 3; ++tick) gfx->Tick();  // nothing pending to apply
  gfx->EndTextEntry();

  EXPECT_TRUE(plug.HostCallsOf(Kind::ParamChange).empty());
  EXPECT_DOUBLE_EQ(plug.GetParam(kGroup)->Value(), 0.0);
  EXPECT_NEAR(plug.GetParam(kGainLevel)->Value(), 30.0, 1e-9);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 0.75);
}

TEST_F(HeadlessLayerTest, ServicesAnswerWithoutAUser) {
  for (int type : {0, 1, 4}) {  // OK, OK/Cancel, Yes/No
    EXPECT_EQ(gfx->ShowMessageBox("text", "caption", type), IGraphicsOffscreen::kMessageBoxAnswer);
  }
  std::string clipboard = "stale";
  EXPECT_FALSE(gfx->GetClipboardText(clipboard));
  EXPECT_EQ(clipboard, "");
  std::string file = "old.fxp", folder;
  gfx->PromptForFile(file, 1, folder, "fxp");
  EXPECT_EQ(file, "");
  IColor color;
  EXPECT_FALSE(gfx->PromptForColor(color, "colour"));
  EXPECT_FALSE(gfx->OpenURL("https://velmar.example", "title", "confirm", "error"));
  EXPECT_STREQ(gfx->GetApiName(), "offscreen");
}

}  // namespace
