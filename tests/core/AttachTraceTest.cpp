// Built twice: against the core with the attachment trace compiled in
// (EXPECT_ATTACH_TRACE=1) and without it (0).
#include <gtest/gtest.h>

#include <string>

#include "core/IFxBase.h"

namespace {

class SilentHostPlugin : public IFxBase {
 public:
  SilentHostPlugin()
      : IFxBase(0, "1-1 2-2", 0, "T", "", "M", 0, 0, 0, 0, false, false, false, HostFormatVst2) {}
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfPresetChange() override {}
  int64_t GetSamplePosition() override { return 0; }
  double GetTempoBpm() override { return 120.0; }
  void GetTimeSignature(int*, int*) override {}
  void GetTransportInfo(TransportInfo*) override {}
  void ResizeEditorWindow(int, int) override {}
  bool SendMidiMessage(const MidiMessage&) override { return false; }
};

TEST(AttachTrace, FloatAttachmentTracesEveryChannelOnlyWhenEnabled) {
  SilentHostPlugin plugin;
  plugin.ChangeBlockSize(2);
  plugin.ConnectInputs(0, 1, true);  // channel 1 stays unconnected
  float in[2] = {1.0f, 2.0f};
  const float* inputs[] = {in};

  testing::internal::CaptureStdout();
  plugin.AttachInputs(0, 2, inputs, 2);
  const std::string output = testing::internal::GetCapturedStdout();

#if EXPECT_ATTACH_TRACE
  EXPECT_EQ(output, "attaching channel 0 ...done\nattaching channel 1 ...done\n");
#else
  EXPECT_EQ(output, "");
#endif
}

TEST(AttachTrace, DoubleAttachmentNeverTraces) {
  SilentHostPlugin plugin;
  plugin.ConnectInputs(0, 2, true);
  double in[1] = {0.0};
  double* inputs[] = {in, in};
  testing::internal::CaptureStdout();
  plugin.AttachInputs(0, 2, inputs);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
