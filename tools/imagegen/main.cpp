// stratum-imagegen: draws the editor's ten images.
//
//   stratum-imagegen OUTDIR             writes the ten PNG files into OUTDIR
//   stratum-imagegen --preview OUT.png  also composes a rough editor preview
//                                       (every control at its default frame)
//
// The committed images under resources/img/ are this program's output:
//   build/tools/imagegen/stratum-imagegen resources/img

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "effect/layout/EditorGeometry.h"
#include "resources/EditorImages.h"
#include "tools/imagegen/Artwork.h"
#include "tools/imagegen/PngFile.h"

namespace {

using namespace imagegen;
namespace img = stratum_images;
namespace lay = stratum_layout;

cairo_surface_t* DrawImage(int id) {
  static const char* const kChannels[4] = {"LR", "L", "R", "RL"};
  static const char* const kModes[2] = {"PEAK", "RMS"};
  switch (id) {
    case img::kBackgroundId: return DrawBackground();
    case img::kMeterId: return DrawMeterStrip();
    case img::kPeakHoldId: return DrawPeakHoldStrip();
    case img::kOnOffId: return DrawOnOffSwitch(20);
    case img::kOnOffSmallId: return DrawOnOffSwitch(12);
    case img::kChannelSelectorId: return DrawSegmentSelector(144, 24, kChannels, 4);
    case img::kPeakRmsSelectorId: return DrawSegmentSelector(144, 16, kModes, 2);
    case img::kGainKnobId: return DrawKnobStrip(201);
    case img::kPanKnobId: return DrawKnobStrip(201);
    case img::kWidthKnobId: return DrawKnobStrip(101);
  }
  return nullptr;
}

std::string BaseName(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// Copies frame `frame` (0-based) of a strip to (x, y) of the preview.
void PlaceFrame(cairo_t* cr, cairo_surface_t* strip, int frames, int frame, int x, int y) {
  const int height = cairo_image_surface_get_height(strip) / frames;
  const int width = cairo_image_surface_get_width(strip);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, width, height);
  cairo_clip(cr);
  cairo_set_source_surface(cr, strip, x, y - frame * height);
  cairo_paint(cr);
  cairo_restore(cr);
}

bool WritePreview(const std::string& path) {
  cairo_surface_t* images[img::kImageCount];
  for (int i = 0; i < img::kImageCount; ++i) images[i] = DrawImage(img::kImages[i].id);
  auto strip = [&](int id) {
    for (int i = 0; i < img::kImageCount; ++i)
      if (img::kImages[i].id == id) return images[i];
    return images[0];
  };
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, lay::kEditorWidth, lay::kEditorHeight);
  cairo_t* cr = cairo_create(out);
  PlaceFrame(cr, strip(img::kBackgroundId), 1, 0, 0, 0);
  const lay::Point onSwitches[] = {lay::kDcBlockSwitch, lay::kLimitSwitch, lay::kAutoGainOnSwitch};
  const lay::Point offSwitches[] = {lay::kMuteSwitch, lay::kPhaseRevLSwitch, lay::kPhaseRevRSwitch,
                                    lay::kClipSwitch};
  for (lay::Point p : onSwitches) PlaceFrame(cr, strip(img::kOnOffId), 2, 1, p.x, p.y);
  for (lay::Point p : offSwitches) PlaceFrame(cr, strip(img::kOnOffId), 2, 0, p.x, p.y);
  PlaceFrame(cr, strip(img::kChannelSelectorId), 4, 0, lay::kChannelSelector.x, lay::kChannelSelector.y);
  PlaceFrame(cr, strip(img::kPeakRmsSelectorId), 2, 1, lay::kAutoGainModeSelector.x,
             lay::kAutoGainModeSelector.y);
  PlaceFrame(cr, strip(img::kGainKnobId), 201, 130, lay::kGainKnob.x, lay::kGainKnob.y);
  PlaceFrame(cr, strip(img::kPanKnobId), 201, 70, lay::kPanKnob.x, lay::kPanKnob.y);
  PlaceFrame(cr, strip(img::kWidthKnobId), 101, 50, lay::kWidthKnob.x, lay::kWidthKnob.y);
  for (int i = 0; i < 15; ++i)
    PlaceFrame(cr, strip(img::kOnOffSmallId), 2, i % 3 == 0 ? 0 : 1, lay::kGroupSwitchX, lay::kGroupSwitchY[i]);
  const int meterFrames[4] = {40, 44, 31, 33};
  const int holdFrames[4] = {43, 46, 33, 35};
  for (int i = 0; i < 4; ++i) {
    PlaceFrame(cr, strip(img::kMeterId), 48, meterFrames[i], lay::kMeterStrips[i].x, lay::kMeterStrips[i].y);
    PlaceFrame(cr, strip(img::kPeakHoldId), 48, holdFrames[i], lay::kMeterStrips[i].x, lay::kMeterStrips[i].y);
  }
  cairo_destroy(cr);
  const bool written = WriteRgbaPng(out, path);
  cairo_surface_destroy(out);
  for (cairo_surface_t* s : images) cairo_surface_destroy(s);
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--preview") == 0) {
    return WritePreview(argv[2]) ? 0 : 1;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: stratum-imagegen OUTDIR | --preview OUT.png\n");
    return 2;
  }
  const std::string outDir = argv[1];
  for (const img::ImageInfo& info : img::kImages) {
    cairo_surface_t* surface = DrawImage(info.id);
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "imagegen: drawing %s failed\n", info.name);
      return 1;
    }
    if (cairo_image_surface_get_width(surface) != info.width ||
        cairo_image_surface_get_height(surface) != info.height) {
      std::fprintf(stderr, "imagegen: %s came out at the wrong size\n", info.name);
      return 1;
    }
    const bool written = WriteRgbaPng(surface, outDir + "/" + BaseName(info.name));
    cairo_surface_destroy(surface);
    if (!written) return 1;
  }
  return 0;
}
