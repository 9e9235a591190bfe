// The render entry: MIDI in, the transport, the host's stems attached to the
// base's channels, then processing or bypass. Never allocates.

#include <algorithm>
#include <cstdio>

#include "adapters/aax/IFxAAX.h"
#include "adapters/aax/support/AAX_IController.h"
#include "adapters/aax/support/AAX_IMIDINode.h"
#include "platform/RecursiveLock.h"

#ifndef STRATUM_TRACE_AUDIO_ATTACH
#define STRATUM_TRACE_AUDIO_ATTACH 0
#endif

namespace {

// The channel count of the stem the controller reports, within 0 .. limit.
int StemChannels(AAX_Result result, AAX_EStemFormat format, int limit) {
  if (result != AAX_SUCCESS) format = AAX_eStemFormat_Mono;
  return std::min(AAX_StemFormatChannelCount(format), limit);
}

}  // namespace

void IFxAAX::RenderAudio(IFxAAXRenderContext* context) {
  if (context == nullptr) return;
  platform::LockGuard guard(GetLock());

  const bool bypassed = mBypassParam != nullptr && mBypassParam->GetValue();
  AAX_EStemFormat inputFormat = AAX_eStemFormat_Mono;
  AAX_EStemFormat outputFormat = AAX_eStemFormat_Mono;
  AAX_Result inputResult = AAX_ERROR_NULL_OBJECT;
  AAX_Result outputResult = AAX_ERROR_NULL_OBJECT;
  if (Controller() != nullptr) {
    inputResult = Controller()->GetInputStemFormat(&inputFormat);
    outputResult = Controller()->GetOutputStemFormat(&outputFormat);
  }
  const int inputChannels =
      StemChannels(inputResult, inputFormat, std::min(NumInputChannels(), kMaxRenderChannels));
  const int outputChannels =
      StemChannels(outputResult, outputFormat, std::min(NumOutputChannels(), kMaxRenderChannels));

  if (DoesMidi() && context->inputMidi != nullptr) {
    if (const AAX_CMidiStream* stream = context->inputMidi->GetNodeBuffer()) {
      for (uint32_t i = 0; stream->mBuffer != nullptr && i < stream->mBufferSize; ++i) {
        const AAX_CMidiPacket& packet = stream->mBuffer[i];
        MidiMessage message;
        message.offset = static_cast<int>(packet.mTimestamp);
        message.status = packet.mData[0];
        message.data1 = packet.mData[1];
        message.data2 = packet.mData[2];
        HandleMidiMessage(message);
      }
    }
  }

  mTransport = context->transport;

  const int frames = context->bufferLength != nullptr ? *context->bufferLength : 0;
  if (frames <= 0) return;
  // Without the host's buffers there is nothing to read or write.
  if ((inputChannels > 0 && context->inputs == nullptr) ||
      (outputChannels > 0 && context->outputs == nullptr)) {
    return;
  }
  for (int c = 0; c < inputChannels; ++c) {
    if (context->inputs[c] == nullptr) return;
  }
  for (int c = 0; c < outputChannels; ++c) {
    if (context->outputs[c] == nullptr) return;
  }
  ClearChannelBuffers();

  ConnectInputs(0, NumInputChannels(), false);
  ConnectInputs(0, inputChannels, true);
#if STRATUM_TRACE_AUDIO_ATTACH
  std::printf("attach input buffers: 0 - %d\n", inputChannels);
#endif
  ConnectOutputs(0, outputChannels, true);
  ConnectOutputs(outputChannels, NumOutputChannels() - outputChannels, false);

  // Blocks longer than the channel buffers go in pieces.
  const int pieceSize = GetBlockSize() > 0 ? GetBlockSize() : kBlockSize;
  for (int offset = 0; offset < frames; offset += pieceSize) {
    RenderPiece(context->inputs, inputChannels, context->outputs, outputChannels, offset,
                std::min(pieceSize, frames - offset), bypassed);
  }
}

void IFxAAX::RenderPiece(float* const* inputs, int inputChannels, float* const* outputs,
                         int outputChannels, int offset, int frames, bool bypassed) {
  const float* pieceInputs[kMaxRenderChannels] = {};
  float* pieceOutputs[kMaxRenderChannels] = {};
  for (int c = 0; c < inputChannels; ++c) pieceInputs[c] = inputs[c] + offset;
  for (int c = 0; c < outputChannels; ++c) pieceOutputs[c] = outputs[c] + offset;
  AttachInputs(0, inputChannels, pieceInputs, frames);
  AttachOutputs(0, NumOutputChannels(), pieceOutputs);
  if (bypassed) {
    RunBypassFloat(frames);
  } else {
    RunProcessingFloat(frames);
  }
}
