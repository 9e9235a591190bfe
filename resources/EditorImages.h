#pragma once

// The editor's ten images: resource id, file name, strip size and frames.
// Every strip stacks its frames vertically, frame 0 at the top.
namespace stratum_images {

struct ImageInfo {
  int id;
  const char* name;  // path inside the repository, also the resource's name
  int width;
  int height;        // of the whole strip
  int frames;
};

enum ImageId {
  kBackgroundId = 101,
  kMeterId = 102,
  kOnOffId = 103,
  kChannelSelectorId = 104,
  kPeakRmsSelectorId = 105,
  kGainKnobId = 106,
  kPanKnobId = 107,
  kWidthKnobId = 108,
  kPeakHoldId = 109,
  kOnOffSmallId = 110,
};

constexpr ImageInfo kImages[] = {
    {kBackgroundId, "resources/img/background.png", 410, 522, 1},
    {kMeterId, "resources/img/meter.png", 8, 20352, 48},
    {kOnOffId, "resources/img/onoff.png", 20, 40, 2},
    {kChannelSelectorId, "resources/img/channel-selector.png", 144, 96, 4},
    {kPeakRmsSelectorId, "resources/img/peak-rms-selector.png", 144, 32, 2},
    {kGainKnobId, "resources/img/gain-knob.png", 64, 12864, 201},
    {kPanKnobId, "resources/img/pan-knob.png", 64, 12864, 201},
    {kWidthKnobId, "resources/img/width-knob.png", 64, 6464, 101},
    {kPeakHoldId, "resources/img/peak-hold.png", 8, 20352, 48},
    {kOnOffSmallId, "resources/img/onoff-small.png", 12, 24, 2},
};
constexpr int kImageCount = sizeof(kImages) / sizeof(kImages[0]);

// Looks an image up by id; nullptr for an unknown id.
constexpr const ImageInfo* FindImage(int id) {
  for (const ImageInfo& image : kImages) {
    if (image.id == id) return &image;
  }
  return nullptr;
}

}  // namespace stratum_images
