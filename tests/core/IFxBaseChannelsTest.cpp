#include <gtest/gtest.h>

#include <vector>

#include "testsupport/IFxRecordingAdapter.h"

namespace {

// A plug-in with the given channel description whose processing records the
// pointers it is handed and writes input + 100 * (channel + 1), so every
// output shows which input reached it.
class ChannelPlugin : public IFxRecordingAdapter {
 public:
  explicit ChannelPlugin(const char* channelIO, int latency = 0)
      : IFxRecordingAdapter(1, channelIO, 1, "Test", "", "Maker", 0x10203, 1, 2, latency, false,
                            true, false, 0) {}

  void ProcessAudio(double** inputs, double** outputs, int frames) override {
    seenInputs.assign(inputs, inputs + NumInputChannels());
    seenOutputs.assign(outputs, outputs + NumOutputChannels());
    ++processCalls;
    for (int c = 0; c < NumOutputChannels(); ++c) {
      const double* in = inputs[c < NumInputChannels() ? c : 0];
      for (int s = 0; s < frames; ++s) outputs[c][s] = in[s] + 100.0 * (c + 1);
    }
  }

  std::vector<double*> seenInputs;
  std::vector<double*> seenOutputs;
  int processCalls = 0;
};

TEST(IFxBaseChannels, ChannelIODescriptionAndLegalIO) {
  ChannelPlugin plugin("1-1 2-2");
  ASSERT_EQ(plugin.NumChannelIOPairs(), 2);
  EXPECT_EQ(plugin.GetChannelIOPair(1).inputs, 2);
  EXPECT_EQ(plugin.NumInputChannels(), 2);
  EXPECT_EQ(plugin.NumOutputChannels(), 2);
  const struct {
    int in, out;
    bool legal;
  } cases[] = {{1, 1, true}, {2, 2, true}, {-1, 2, true}, {1, -1, true},
               {1, 2, false}, {2, 1, false}, {3, 3, false}, {-1, -1, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(plugin.LegalIO(c.in, c.out), c.legal) << c.in << "-" << c.out;
  }
}

TEST(IFxBaseChannelsDeathTest, MalformedDescriptionStopsAtTheAssertion) {
  EXPECT_DEATH(ChannelPlugin("1-1 x"), "channelIOStrValid");
  EXPECT_DEATH(ChannelPlugin("2"), "channelIOStrValid");
}

TEST(IFxBaseChannels, DoubleAttachmentSkipsUnconnectedChannels) {
  ChannelPlugin plugin("1-1 2-2");
  plugin.ChangeBlockSize(4);
  plugin.ConnectInputs(1, 1, true);  // only channel 1
  plugin.ConnectOutputs(0, 2, true);
  double host0[4] = {1, 2, 3, 4};
  double out0[4] = {}, out1[4] = {};
  double* inputs[] = {host0};
  double* outputs[] = {out0, out1};
  plugin.AttachInputs(0, 2, inputs);
  plugin.AttachOutputs(0, 2, outputs);
  plugin.RunProcessingDouble(4);

  EXPECT_FALSE(plugin.IsInputConnected(0));
  EXPECT_TRUE(plugin.IsInputConnected(1));
  EXPECT_FALSE(plugin.IsInputConnected(2));
  EXPECT_EQ(plugin.seenInputs[1], host0);  // the first host pointer went to channel 1
  EXPECT_NE(plugin.seenInputs[0], host0);
  EXPECT_EQ(plugin.seenOutputs[0], out0);
  EXPECT_EQ(out0[2], 100.0);  // channel 0 read its own zeroed buffer
  EXPECT_EQ(out1[2], 203.0);
}

TEST(IFxBaseChannels, MonoHostOnStereoEffectWritesTheSecondOutputNowhere) {
  ChannelPlugin plugin("1-1 2-2");
  plugin.ChangeBlockSize(3);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 1, true);
  float in[3] = {0.5f, 0.25f, -1.0f};
  float out[3] = {};
  const float* inputs[] = {in};
  float* outputs[] = {out};
  plugin.AttachInputs(0, 2, inputs, 3);
  plugin.AttachOutputs(0, 2, outputs);
  plugin.RunProcessingFloat(3);

  EXPECT_FALSE(plugin.IsInputConnected(1));
  EXPECT_EQ(out[0], 100.5f);
  EXPECT_EQ(out[2], 99.0f);
  // Channel 1 reads zeros and writes into a buffer no host sees.
  EXPECT_EQ(plugin.seenInputs[1][0], 0.0);
  EXPECT_EQ(plugin.seenOutputs[1][0], 200.0);
}

TEST(IFxBaseChannels, FloatOutputsConvertOrAdd) {
  ChannelPlugin plugin("1-1");
  plugin.ChangeBlockSize(2);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 1, true);
  float in[2] = {1.0f, 2.0f};
  float out[2] = {10.0f, 20.0f};
  const float* inputs[] = {in};
  float* outputs[] = {out};

  plugin.AttachInputs(0, 1, inputs, 2);
  plugin.AttachOutputs(0, 1, outputs);
  plugin.RunProcessingAdding(2);
  EXPECT_EQ(out[0], 111.0f);
  EXPECT_EQ(out[1], 122.0f);

  plugin.AttachInputs(0, 1, inputs, 2);
  plugin.AttachOutputs(0, 1, outputs);
  plugin.RunProcessingFloat(2);
  EXPECT_EQ(out[0], 101.0f);
}

TEST(IFxBaseChannels, BaseProcessAudioPassesThroughAndZeroesExtraOutputs) {
  const struct {
    const char* io;
    double expectedOut0, expectedOut1;
  } cases[] = {{"2-1", 7.0, -1.0}, {"1-2", 7.0, 0.0}, {"2-2", 7.0, 8.0}};
  for (const auto& c : cases) {
    IFxRecordingAdapter plugin(0, c.io, 0, "T", "", "M", 0, 0, 0, 0, false, false, false, 0);
    double in0[1] = {7.0}, in1[1] = {8.0};
    double out0[1] = {-1.0}, out1[1] = {-1.0};
    double* inputs[] = {in0, in1};
    double* outputs[] = {out0, out1};
    plugin.IFxBase::ProcessAudio(inputs, outputs, 1);
    EXPECT_EQ(out0[0], c.expectedOut0) << c.io;
    EXPECT_EQ(out1[0], c.expectedOut1) << c.io;
  }
}

TEST(IFxBaseChannels, BlockSizeChangeZeroesButSameSizeKeepsContents) {
  ChannelPlugin plugin("1-1");
  plugin.ChangeBlockSize(2);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 1, true);
  float in[2] = {3.0f, 4.0f};
  const float* inputs[] = {in};
  plugin.AttachInputs(0, 1, inputs, 2);
  plugin.ConnectInputs(0, 1, false);  // now reads its own buffer, holding 3, 4

  double out[2] = {};
  double* outputs[] = {out};
  plugin.AttachOutputs(0, 1, outputs);
  plugin.ChangeBlockSize(2);
  plugin.RunProcessingDouble(2);
  EXPECT_EQ(out[1], 104.0);

  plugin.ClearChannelBuffers();
  plugin.RunProcessingDouble(2);
  EXPECT_EQ(out[1], 100.0);

  plugin.AttachInputs(0, 1, inputs, 2);  // unconnected: nothing converted
  plugin.RunProcessingDouble(2);
  EXPECT_EQ(out[1], 100.0);
  EXPECT_EQ(plugin.GetBlockSize(), 2);
}

TEST(IFxBaseChannels, LongerBlockThanAnnouncedStaysInsideTheBuffers) {
  ChannelPlugin plugin("2-2");
  plugin.ChangeBlockSize(4);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 1, true);
  std::vector<float> in(64, 1.0f), out(64, 0.0f);
  const float* inputs[] = {in.data()};
  float* outputs[] = {out.data()};
  plugin.AttachInputs(0, 2, inputs, 64);
  plugin.AttachOutputs(0, 2, outputs);
  plugin.RunProcessingFloat(64);  // AddressSanitizer watches the channel buffers
  EXPECT_EQ(out[63], 101.0f);
  EXPECT_EQ(plugin.seenInputs[1][63], 0.0);
}

TEST(IFxBaseChannels, ProcessingBeforeAnyBlockSizeIsSafe) {
  ChannelPlugin plugin("1-1 2-2");
  plugin.RunProcessingDouble(8);
  EXPECT_EQ(plugin.processCalls, 1);
  plugin.RunProcessingDouble(0);
  plugin.RunProcessingDouble(-5);
  EXPECT_EQ(plugin.processCalls, 1);
}

TEST(IFxBaseChannels, MissingHostBuffersFallBackToTheChannelsOwn) {
  ChannelPlugin plugin("2-2");
  plugin.ChangeBlockSize(4);
  plugin.ConnectInputs(0, 2, true);
  plugin.ConnectOutputs(0, 2, true);
  float in[4] = {1, 1, 1, 1};
  const float* floatInputs[] = {in, nullptr};
  plugin.AttachInputs(0, 2, floatInputs, 4);
  plugin.AttachOutputs(0, 2, static_cast<float* const*>(nullptr));
  plugin.RunProcessingFloat(4);  // nothing to convert into, nothing dereferenced
  EXPECT_EQ(plugin.seenInputs[1][3], 0.0);

  double* doubleInputs[] = {nullptr, nullptr};
  plugin.AttachInputs(0, 2, doubleInputs);
  plugin.AttachInputs(0, 2, static_cast<double* const*>(nullptr));
  plugin.AttachOutputs(0, 2, doubleInputs);
  plugin.RunProcessingDouble(4);
  EXPECT_NE(plugin.seenInputs[0], nullptr);
  EXPECT_NE(plugin.seenOutputs[1], nullptr);
}

TEST(IFxBaseChannels, RangesBeyondTheChannelsAreClipped) {
  ChannelPlugin plugin("1-1 2-2");
  plugin.ConnectInputs(1, 100, true);
  plugin.ConnectInputs(-3, 2, true);
  EXPECT_FALSE(plugin.IsInputConnected(0));
  EXPECT_TRUE(plugin.IsInputConnected(1));
  EXPECT_FALSE(plugin.IsInputConnected(-1));
}

TEST(IFxBaseChannels, RestrictToStereo) {
  ChannelPlugin plugin("4-4");
  plugin.ConnectInputs(0, 4, true);
  plugin.RestrictToStereo();
  EXPECT_TRUE(plugin.IsInputConnected(1));
  EXPECT_FALSE(plugin.IsInputConnected(2));
  EXPECT_FALSE(plugin.IsInputConnected(3));
  EXPECT_FALSE(plugin.IsOutputConnected(1));
  EXPECT_TRUE(plugin.IsOutputConnected(2));
  EXPECT_TRUE(plugin.IsOutputConnected(3));
}

TEST(IFxBaseBypass, DelayLineDelaysByTheLatency) {
  ChannelPlugin plugin("2-2", 3);
  plugin.CreateBypassDelayLine();
  plugin.ChangeBlockSize(4);
  plugin.ConnectInputs(0, 2, true);
  plugin.ConnectOutputs(0, 2, true);
  double in0[4] = {1, 2, 3, 4}, in1[4] = {5, 6, 7, 8};
  double out0[4], out1[4];
  double* inputs[] = {in0, in1};
  double* outputs[] = {out0, out1};

  std::vector<double> first, second;
  for (int block = 0; block < 2; ++block) {
    plugin.AttachInputs(0, 2, inputs);
    plugin.AttachOutputs(0, 2, outputs);
    plugin.RunBypassDouble(4);
    for (int s = 0; s < 4; ++s) {
      first.push_back(out0[s]);
      second.push_back(out1[s]);
    }
  }
  EXPECT_EQ(first, (std::vector<double>{0, 0, 0, 1, 2, 3, 4, 1}));
  EXPECT_EQ(second, (std::vector<double>{0, 0, 0, 5, 6, 7, 8, 5}));
  EXPECT_EQ(plugin.processCalls, 0);  // bypass never runs the effect's processing
}

TEST(IFxBaseBypass, InPlaceBuffersAreDelayedCorrectly) {
  BypassDelayLine line(1, 1, 2);
  double buffer[5] = {1, 2, 3, 4, 5};
  double* io[] = {buffer};
  line.Process(io, io, 5);
  EXPECT_EQ(std::vector<double>(buffer, buffer + 5), (std::vector<double>{0, 0, 1, 2, 3}));
}

TEST(IFxBaseBypass, WithoutLatencyBypassIsTheBasePassThrough) {
  ChannelPlugin plugin("1-2");
  plugin.CreateBypassDelayLine();
  plugin.ChangeBlockSize(2);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 2, true);
  float in[2] = {0.5f, -0.5f};
  float out0[2] = {9, 9}, out1[2] = {9, 9};
  const float* inputs[] = {in};
  float* outputs[] = {out0, out1};
  plugin.AttachInputs(0, 1, inputs, 2);
  plugin.AttachOutputs(0, 2, outputs);
  plugin.RunBypassFloat(2);
  EXPECT_EQ(out0[1], -0.5f);
  EXPECT_EQ(out1[1], 0.0f);
  EXPECT_EQ(plugin.processCalls, 0);
}

TEST(IFxBaseBypass, ChangeLatencyResizesAndClearsTheDelayLine) {
  ChannelPlugin plugin("1-1", 2);
  plugin.CreateBypassDelayLine();
  plugin.ChangeBlockSize(4);
  plugin.ConnectInputs(0, 1, true);
  plugin.ConnectOutputs(0, 1, true);
  double in[4] = {1, 2, 3, 4};
  double out[4];
  double* inputs[] = {in};
  double* outputs[] = {out};
  plugin.AttachInputs(0, 1, inputs);
  plugin.AttachOutputs(0, 1, outputs);
  plugin.RunBypassDouble(4);

  plugin.ChangeLatency(1);
  EXPECT_EQ(plugin.GetLatency(), 1);
  EXPECT_EQ(plugin.GetBypassDelayLine()->Delay(), 1);
  plugin.RunBypassDouble(4);
  EXPECT_EQ(std::vector<double>(out, out + 4), (std::vector<double>{0, 1, 2, 3}));

  plugin.ChangeLatency(-7);
  EXPECT_EQ(plugin.GetLatency(), 0);
}

}  // namespace
