// The channel side of IFxBase: connection and attachment of host buffers,
// the processing entries, bypass and the channel buffers. All of it runs on
// the host's audio thread under the instance lock; nothing here allocates
// unless a host sends a longer block than it announced.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/IFxBase.h"

#ifndef STRATUM_TRACE_AUDIO_ATTACH
#define STRATUM_TRACE_AUDIO_ATTACH 0
#endif

namespace {

// The channel indices [first, end) of a range request, kept inside 0..count.
struct ChannelRange {
  int first;
  int end;
};

ChannelRange ClipRange(int first, int count, int channelCount) {
  ChannelRange range;
  range.first = std::max(first, 0);
  const long long end = static_cast<long long>(first) + std::max(count, 0);
  range.end = static_cast<int>(std::min<long long>(end, channelCount));
  if (range.end < range.first) range.end = range.first;
  return range;
}

// A float for the host, with denormal results flushed to 0: a host (or the
// next plug-in) doing arithmetic on them would slow down badly. Double values
// that are normal can still be denormal as floats.
inline float ToFloatFlushed(double value) {
  return std::fabs(value) < static_cast<double>(FLT_MIN) ? 0.0f : static_cast<float>(value);
}

inline float FlushDenormal(float value) { return std::fabs(value) < FLT_MIN ? 0.0f : value; }

}  // namespace

bool IFxBase::LegalIO(int numInputs, int numOutputs) const {
  for (const ChannelIOPair& pair : mChannelIOPairs) {
    const bool inputsMatch = numInputs < 0 || numInputs == pair.inputs;
    const bool outputsMatch = numOutputs < 0 || numOutputs == pair.outputs;
    if (inputsMatch && outputsMatch) return true;
  }
  return false;
}

void IFxBase::RestrictToStereo() {
  ConnectInputs(2, NumInputChannels(), false);
  if (NumOutputChannels() > 2) ConnectOutputs(2, NumOutputChannels(), true);
}

bool IFxBase::IsInputConnected(int channel) const {
  return channel >= 0 && channel < NumInputChannels() && mInputChannels[channel].connected;
}

bool IFxBase::IsOutputConnected(int channel) const {
  return channel >= 0 && channel < NumOutputChannels() && mOutputChannels[channel].connected;
}

void IFxBase::ConnectInputs(int first, int count, bool connected) {
  const ChannelRange range = ClipRange(first, count, NumInputChannels());
  for (int i = range.first; i < range.end; ++i) {
    mInputChannels[i].connected = connected;
    if (!connected) mInputPointers[i] = mInputChannels[i].buffer.data();
  }
}

void IFxBase::ConnectOutputs(int first, int count, bool connected) {
  const ChannelRange range = ClipRange(first, count, NumOutputChannels());
  for (int i = range.first; i < range.end; ++i) {
    mOutputChannels[i].connected = connected;
    if (!connected) mOutputPointers[i] = mOutputChannels[i].buffer.data();
  }
}

void IFxBase::AttachInputs(int first, int count, double* const* hostBuffers) {
  const ChannelRange range = ClipRange(first, count, NumInputChannels());
  int next = 0;
  for (int i = range.first; i < range.end; ++i) {
    if (!mInputChannels[i].connected) continue;
    double* host = hostBuffers != nullptr ? hostBuffers[next++] : nullptr;
    // Hosts pass no buffers in blocks that only carry parameter changes; the
    // channel then reads its own buffer instead of a null pointer.
    mInputPointers[i] = host != nullptr ? host : mInputChannels[i].buffer.data();
  }
}

void IFxBase::AttachInputs(int first, int count, const float* const* hostBuffers, int frames) {
  const ChannelRange range = ClipRange(first, count, NumInputChannels());
  EnsureBufferCapacity(frames);
  int next = 0;
  for (int i = range.first; i < range.end; ++i) {
#if STRATUM_TRACE_AUDIO_ATTACH
    // Diagnostic trace; blocking output on the audio thread, so only in
    // builds that ask for it.
    printf("attaching channel %d ...", i);
#endif
    InputChannel& channel = mInputChannels[i];
    if (channel.connected) {
      const float* source = hostBuffers != nullptr ? hostBuffers[next++] : nullptr;
      double* destination = channel.buffer.data();
      if (source != nullptr) {
        for (int s = 0; s < frames; ++s) destination[s] = source[s];
      } else {
        for (int s = 0; s < frames; ++s) destination[s] = 0.0;
      }
      mInputPointers[i] = destination;
    }
#if STRATUM_TRACE_AUDIO_ATTACH
    printf("done\n");
#endif
  }
}

void IFxBase::AttachOutputs(int first, int count, double* const* hostBuffers) {
  const ChannelRange range = ClipRange(first, count, NumOutputChannels());
  int next = 0;
  for (int i = range.first; i < range.end; ++i) {
    if (!mOutputChannels[i].connected) continue;
    double* host = hostBuffers != nullptr ? hostBuffers[next++] : nullptr;
    mOutputPointers[i] = host != nullptr ? host : mOutputChannels[i].buffer.data();
  }
}

void IFxBase::AttachOutputs(int first, int count, float* const* hostBuffers) {
  const ChannelRange range = ClipRange(first, count, NumOutputChannels());
  int next = 0;
  for (int i = range.first; i < range.end; ++i) {
    OutputChannel& channel = mOutputChannels[i];
    if (!channel.connected) continue;
    mOutputPointers[i] = channel.buffer.data();
    channel.floatDestination = hostBuffers != nullptr ? hostBuffers[next++] : nullptr;
  }
}

void IFxBase::RunProcessingDouble(int frames) {
  if (frames <= 0) return;
  EnsureBufferCapacity(frames);
  ProcessAudio(mInputPointers.data(), mOutputPointers.data(), frames);
}

void IFxBase::RunProcessingFloat(int frames) {
  if (frames <= 0) return;
  EnsureBufferCapacity(frames);
  ProcessAudio(mInputPointers.data(), mOutputPointers.data(), frames);
  ConvertOutputsToFloat(frames, false);
}

void IFxBase::RunProcessingAdding(int frames) {
  if (frames <= 0) return;
  EnsureBufferCapacity(frames);
  ProcessAudio(mInputPointers.data(), mOutputPointers.data(), frames);
  ConvertOutputsToFloat(frames, true);
}

void IFxBase::RunBypassDouble(int frames) {
  if (frames <= 0) return;
  EnsureBufferCapacity(frames);
  if (mLatency != 0 && mDelayLine) {
    mDelayLine->Process(mInputPointers.data(), mOutputPointers.data(), frames);
  } else {
    IFxBase::ProcessAudio(mInputPointers.data(), mOutputPointers.data(), frames);
  }
}

void IFxBase::RunBypassFloat(int frames) {
  if (frames <= 0) return;
  RunBypassDouble(frames);
  ConvertOutputsToFloat(frames, false);
}

void IFxBase::ConvertOutputsToFloat(int frames, bool adding) {
  for (OutputChannel& channel : mOutputChannels) {
    // A channel attached only as double (or never) has nowhere to convert to.
    if (!channel.connected || channel.floatDestination == nullptr) continue;
    const double* source = channel.buffer.data();
    float* destination = channel.floatDestination;
    if (adding) {
      for (int s = 0; s < frames; ++s) {
        destination[s] = FlushDenormal(destination[s] + ToFloatFlushed(source[s]));
      }
    } else {
      for (int s = 0; s < frames; ++s) destination[s] = ToFloatFlushed(source[s]);
    }
  }
}

void IFxBase::RunEmptyBlock() {
  ProcessAudio(mInputPointers.data(), mOutputPointers.data(), 0);
}

void IFxBase::SilenceUnconnectedInputs(int frames) {
  if (frames <= 0) return;
  EnsureBufferCapacity(frames);
  for (InputChannel& channel : mInputChannels) {
    if (!channel.connected) std::fill(channel.buffer.begin(), channel.buffer.begin() + frames, 0.0);
  }
}

int IFxBase::ArrangedInputChannels() const {
  if (mArrangedInputs >= 0) return mArrangedInputs;
  int connected = 0;
  for (const InputChannel& channel : mInputChannels) connected += channel.connected ? 1 : 0;
  return connected;
}

void IFxBase::ClearChannelBuffers() {
  for (InputChannel& channel : mInputChannels) {
    std::fill(channel.buffer.begin(), channel.buffer.end(), 0.0);
  }
  for (OutputChannel& channel : mOutputChannels) {
    std::fill(channel.buffer.begin(), channel.buffer.end(), 0.0);
  }
}

namespace {

// Gives a channel buffer frames samples: all zero when clearing, otherwise
// keeping the samples it has. A slot that used the buffer follows it when the
// storage moves.
void ResizeChannelBuffer(std::vector<double>& buffer, double*& slot, size_t frames,
                         bool clear) {
  const bool ownBuffer = slot == buffer.data();
  if (clear) {
    buffer.assign(frames, 0.0);
  } else {
    buffer.resize(frames, 0.0);
  }
  if (ownBuffer) slot = buffer.data();
}

}  // namespace

void IFxBase::ChangeBlockSize(int frames) {
  if (frames < 0 || frames == mBlockSize) return;
  const size_t size = static_cast<size_t>(frames);
  for (size_t i = 0; i < mInputChannels.size(); ++i) {
    ResizeChannelBuffer(mInputChannels[i].buffer, mInputPointers[i], size, true);
  }
  for (size_t i = 0; i < mOutputChannels.size(); ++i) {
    ResizeChannelBuffer(mOutputChannels[i].buffer, mOutputPointers[i], size, true);
  }
  mBlockSize = frames;
}

void IFxBase::EnsureBufferCapacity(int frames) {
  const size_t needed = static_cast<size_t>(frames > 0 ? frames : 0);
  for (size_t i = 0; i < mInputChannels.size(); ++i) {
    if (mInputChannels[i].buffer.size() >= needed) continue;
    ResizeChannelBuffer(mInputChannels[i].buffer, mInputPointers[i], needed, false);
  }
  for (size_t i = 0; i < mOutputChannels.size(); ++i) {
    if (mOutputChannels[i].buffer.size() >= needed) continue;
    ResizeChannelBuffer(mOutputChannels[i].buffer, mOutputPointers[i], needed, false);
  }
}

void IFxBase::CreateBypassDelayLine() {
  mDelayLine = std::make_unique<BypassDelayLine>(NumInputChannels(), NumOutputChannels(), mLatency);
}

const char* IFxBase::GetInputLabel(int channel) const {
  if (channel < 0 || channel >= NumInputChannels()) return "";
  return mInputChannels[channel].label.c_str();
}

const char* IFxBase::GetOutputLabel(int channel) const {
  if (channel < 0 || channel >= NumOutputChannels()) return "";
  return mOutputChannels[channel].label.c_str();
}

void IFxBase::SetInputLabel(int channel, const char* label) {
  if (channel < 0 || channel >= NumInputChannels()) return;
  mInputChannels[channel].label = label != nullptr ? label : "";
}

void IFxBase::SetOutputLabel(int channel, const char* label) {
  if (channel < 0 || channel >= NumOutputChannels()) return;
  mOutputChannels[channel].label = label != nullptr ? label : "";
}

namespace {

void SetBusName(std::vector<std::string>& names, int index, const char* name) {
  if (static_cast<size_t>(index) >= names.size()) names.resize(static_cast<size_t>(index) + 1);
  names[index] = name != nullptr ? name : "";
}

const char* BusName(const std::vector<std::string>& names, int index) {
  if (index < 0 || static_cast<size_t>(index) >= names.size()) return nullptr;
  return names[index].c_str();
}

}  // namespace

void IFxBase::SetInputBusName(int index, const char* name) {
  if (index == 0 || index == 1) SetBusName(mInputBusNames, index, name);
}

void IFxBase::SetOutputBusName(int index, const char* name) {
  if (index >= 0) SetBusName(mOutputBusNames, index, name);
}

const char* IFxBase::GetInputBusName(int index) const { return BusName(mInputBusNames, index); }

const char* IFxBase::GetOutputBusName(int index) const { return BusName(mOutputBusNames, index); }
