#include "effect/layout/EditorLayout.h"

#include "core/IFxBase.h"
#include "editor/IBitmapControl.h"
#include "editor/ICaptionControl.h"
#include "editor/IGraphics.h"
#include "editor/ISwitchControl.h"
#include "editor/ISwitchFramesControl.h"
#include "effect/ParamIds.h"
#include "effect/layout/EditorGeometry.h"
#include "effect/layout/IKnobMultiControlText.h"
#include "effect/layout/IReadOutControl.h"
#include "resources/EditorImages.h"
#include "stratum_resources.h"

namespace {

namespace img = stratum_images;
namespace lay = stratum_layout;

IFrameBitmap Load(IGraphics* graphics, int id) {
  const img::ImageInfo* info = img::FindImage(id);
  return graphics->LoadFrameBitmap(id, info->name, info->frames, false);
}

ITextStyle MakeStyle(const IColor& colour) {
  return ITextStyle(12, colour, "Arial", ITextStyle::StyleNormal, ITextStyle::AlignCenter, 0,
                    ITextStyle::QualityDefault, IColor(255, 255, 255, 255), IColor(255, 0, 0, 0));
}

IRect ToRect(const lay::Box& b) { return IRect(b.left, b.top, b.right, b.bottom); }

}  // namespace

EditorLayoutHandles BuildEditorLayout(IFxBase* plugin, IGraphics* graphics) {
  // The images live in this module's resource table; registering is cheap
  // and idempotent, so every editor makes sure they are there.
  RegisterEditorImageResources();

  const img::ImageInfo* background = img::FindImage(img::kBackgroundId);
  graphics->AddBackground(background->id, background->name);

  const ITextStyle readOutStyle = MakeStyle(IColor(255, 220, 220, 220));
  const ITextStyle valueStyle = MakeStyle(IColor(255, 255, 210, 0));

  const IFrameBitmap meter = Load(graphics, img::kMeterId);
  const IFrameBitmap peakHold = Load(graphics, img::kPeakHoldId);
  const IFrameBitmap onOff = Load(graphics, img::kOnOffId);
  const IFrameBitmap onOffSmall = Load(graphics, img::kOnOffSmallId);
  const IFrameBitmap channelSelector = Load(graphics, img::kChannelSelectorId);
  const IFrameBitmap peakRmsSelector = Load(graphics, img::kPeakRmsSelectorId);
  const IFrameBitmap gainKnob = Load(graphics, img::kGainKnobId);
  const IFrameBitmap panKnob = Load(graphics, img::kPanKnobId);
  const IFrameBitmap widthKnob = Load(graphics, img::kWidthKnobId);

  auto addSwitch = [&](lay::Point p, int param, const IFrameBitmap& bitmap) {
    graphics->AddControl(new ISwitchControl(plugin, p.x, p.y, param, bitmap));
  };
  auto addKnob = [&](lay::Point p, int param, const IFrameBitmap& bitmap) {
    graphics->AddControl(new IKnobMultiControlText(plugin, p.x, p.y, param, bitmap, valueStyle, true));
  };
  auto addCaption = [&](const lay::Box& box, int param) {
    graphics->AddControl(new ICaptionControl(plugin, ToRect(box), param, valueStyle, false));
  };

  addSwitch(lay::kDcBlockSwitch, kDcBlock, onOff);                                   // 1
  addSwitch(lay::kMuteSwitch, kMute, onOff);                                         // 2
  graphics->AddControl(new ISwitchFramesControl(plugin, lay::kChannelSelector.x,    // 3
                                                lay::kChannelSelector.y, kChannelSelector,
                                                channelSelector, true));
  addSwitch(lay::kPhaseRevLSwitch, kPhaseRevL, onOff);                               // 4
  addSwitch(lay::kPhaseRevRSwitch, kPhaseRevR, onOff);                               // 5
  graphics->AddControl(new ISwitchFramesControl(plugin, lay::kAutoGainModeSelector.x,  // 6
                                                lay::kAutoGainModeSelector.y, kAutoGainMode,
                                                peakRmsSelector, true));
  addSwitch(lay::kAutoGainOnSwitch, kAutoGainOnOff, onOff);                          // 7
  addKnob(lay::kGainKnob, kGainLevel, gainKnob);                                     // 8
  addKnob(lay::kPanKnob, kPan, panKnob);                                             // 9
  addKnob(lay::kWidthKnob, kStereoWidth, widthKnob);                                 // 10
  addSwitch(lay::kClipSwitch, kClip, onOff);                                         // 11
  addSwitch(lay::kLimitSwitch, kLimit, onOff);                                       // 12
  addCaption(lay::kAutoGainLevelCaption, kAutoGainLevel);                            // 13
  addCaption(lay::kRmsWindowCaption, kRmsWindowSize);                                // 14
  addCaption(lay::kGroupCaption, kGroup);                                            // 15
  addCaption(lay::kReleaseSyncCaption, kLimiterReleaseSync);                         // 16

  EditorLayoutHandles handles{};
  handles.peakReadOut = new IReadOutControl(plugin, ToRect(lay::kPeakReadOut), readOutStyle);
  graphics->AddControl(handles.peakReadOut);                                         // 17
  handles.rmsReadOut = new IReadOutControl(plugin, ToRect(lay::kRmsReadOut), readOutStyle);
  graphics->AddControl(handles.rmsReadOut);                                          // 18

  for (int k = 0; k < kNumGroupSwitches; ++k) {                                      // 19..33
    addSwitch(lay::Point{lay::kGroupSwitchX, lay::kGroupSwitchY[k]}, kGroupFirstSwitch + k,
              onOffSmall);
  }

  // Meters first, then the hold markers, which are drawn over them.
  for (int i = 0; i < 4; ++i) {                                                      // 34..37
    const lay::Point p = lay::kMeterStrips[i];
    handles.meterControls[i] = graphics->AddControl(new IBitmapControl(plugin, p.x, p.y, meter));
  }
  for (int i = 0; i < 4; ++i) {                                                      // 38..41
    const lay::Point p = lay::kMeterStrips[i];
    handles.meterControls[4 + i] = graphics->AddControl(new IBitmapControl(plugin, p.x, p.y, peakHold));
  }
  return handles;
}
