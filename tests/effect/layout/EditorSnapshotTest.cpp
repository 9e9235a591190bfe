// The whole editor as drawn, against a committed picture, and the snapshot
// tool as the demo runs it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "raster/RAS_IBitmap.h"
#include "raster/RAS_Png.h"
#include "raster/RAS_PngWriter.h"
#include "tools/snapshot/EditorSnapshot.h"

namespace {

std::unique_ptr<RAS_IBitmap> ReadPngFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return nullptr;
  return std::unique_ptr<RAS_IBitmap>(RAS_ReadPngMemory(bytes.data(), bytes.size(), nullptr));
}

uint32_t PixelAt(RAS_IBitmap* bitmap, int x, int y) {
  const int row = bitmap->IsFlipped() ? bitmap->GetHeight() - 1 - y : y;
  return bitmap->GetPixels()[static_cast<size_t>(row) * bitmap->GetRowSpan() + x];
}

int ChannelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff));
    worst = d > worst ? d : worst;
  }
  return worst;
}

// A fixed editor state that shows every kind of control in a non-default
// frame: switches on, both selectors moved, knobs off centre, captions with
// named values, and no signal (so the picture does not follow the metering).
void PrepareGoldenState(snapshot::EditorSnapshot& editor) {
  std::string error;
  ASSERT_TRUE(editor.Prepare(44100.0, 512, 2, &error)) << error;
  const char* sets[] = {"DC Block=on",       "Channel Selector=RL", "Auto Gain Mode=RMS",
                        "Gain Level=-6",     "Pan=-40",             "Stereo Width=150",
                        "Limit=on",          "Group=Group 3",       "Group Mute=off",
                        "Auto Gain Level=-12", "RMS wind. size=300", "Limiter release sync=2 Bars"};
  for (const char* s : sets) ASSERT_TRUE(editor.SetParameter(s, &error)) << error;
}

TEST(EditorSnapshot, MatchesTheCommittedPicture) {
  snapshot::EditorSnapshot editor;
  PrepareGoldenState(editor);
  RAS_IBitmap* actual = editor.Render();
  ASSERT_NE(actual, nullptr);
  ASSERT_EQ(actual->GetWidth(), 410);
  ASSERT_EQ(actual->GetHeight(), 522);

  const std::string goldenPath = std::string(STRATUM_SOURCE_DIR) + "/tests/effect/layout/golden/editor.png";
  const std::string actualPath = std::string(STRATUM_BINARY_DIR) + "/editor-actual.png";
  RAS_PngWriteOptions opaque;
  opaque.keepAlpha = false;
  ASSERT_EQ(RAS_WritePngFile(actual, actualPath.c_str(), opaque), RAS_PngWriteResult::kWritten) << actualPath;
  std::unique_ptr<RAS_IBitmap> golden = ReadPngFile(goldenPath);
  ASSERT_NE(golden, nullptr) << goldenPath;
  ASSERT_EQ(golden->GetWidth(), 410);
  ASSERT_EQ(golden->GetHeight(), 522);

  // Text rasterisation may differ by a few levels between font library
  // builds; anything beyond that, or on more than a sprinkle of pixels, is a
  // real change (to review, compare the picture written to actualPath).
  int differing = 0;
  for (int y = 0; y < 522; ++y)
    for (int x = 0; x < 410; ++x)
      if (ChannelDistance(PixelAt(actual, x, y), PixelAt(golden.get(), x, y)) > 24) ++differing;
  EXPECT_LE(differing, 200) << "the editor differs from " << goldenPath << "; drawn: " << actualPath;
}

// Structural checks that hold whatever the font: a processed signal lights
// the meters, silence leaves them dark.
TEST(EditorSnapshot, SignalLightsTheMetersFromTheBottom) {
  snapshot::EditorSnapshot editor;
  std::string error;
  ASSERT_TRUE(editor.Prepare(44100.0, 512, 2, &error)) << error;
  editor.Process(snapshot::Signal::kSine, 50);
  RAS_IBitmap* picture = editor.Render();
  ASSERT_NE(picture, nullptr);
  auto brightness = [&](int x, int y) {
    const uint32_t p = PixelAt(picture, x, y);
    return std::max({int((p >> 16) & 0xff), int((p >> 8) & 0xff), int(p & 0xff)});
  };
  // Peak L meter centre column: lit near the bottom (-23 dB), dark at the top (0 dB).
  EXPECT_GT(brightness(22, 457), 100);
  EXPECT_LT(brightness(22, 41), 80);
}

int RunSnapshotTool(const std::string& arguments) {
  const std::string command = std::string(STRATUM_SNAPSHOT_TOOL) + " " + arguments + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SnapshotTool, WritesThePictureForTheDemoCommandLine) {
  const std::string out = std::string(STRATUM_BINARY_DIR) + "/tool-demo.png";
  std::remove(out.c_str());
  ASSERT_EQ(RunSnapshotTool("--out " + out +
                            " --signal sine --blocks 50 --set \"Gain Level=-6\" --set \"Group=Group 1\""),
            0);
  std::unique_ptr<RAS_IBitmap> picture = ReadPngFile(out);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetWidth(), 410);
  EXPECT_EQ(picture->GetHeight(), 522);
}

TEST(SnapshotTool, RefusesBadArgumentsWithStatusTwo) {
  const std::string out = std::string(STRATUM_BINARY_DIR) + "/tool-refused.png";
  const char* bad[] = {
      "--set \"Gain Level=-6\"",            // no --out
      "--set \"Volume=3\"",                 // unknown parameter
      "--set \"Gain Level=loud\"",          // not a number
      "--set \"Group=Group 42\"",           // not one of the named values
      "--set \"Gain Level\"",               // no value
      "--signal square",                    // unknown signal
      "--blocks many",                      // not a count
      "--channels 3",                       // the effect takes 1 or 2
      "--frobnicate 1",                     // unknown option
  };
  for (const char* arguments : bad) {
    SCOPED_TRACE(arguments);
    std::remove(out.c_str());
    const std::string withOut = std::string(arguments).rfind("--set \"Gain Level=-6\"", 0) == 0
                                    ? std::string(arguments)
                                    : "--out " + out + " " + arguments;
    EXPECT_EQ(RunSnapshotTool(withOut), 2);
    EXPECT_EQ(ReadPngFile(out), nullptr) << "no picture is written on an error";
  }
}

}  // namespace
