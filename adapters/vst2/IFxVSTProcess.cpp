// The record's processing and parameter entries. Each holds the instance
// lock for the whole call and lets no exception reach the host.

#include <algorithm>
#include <cmath>

#include "adapters/vst2/IFxVST.h"
#include "core/IFxEditorLink.h"
#include "platform/RecursiveLock.h"

template <typename Sample>
bool IFxVST::HostBuffersUsable(Sample* const* inputs, Sample* const* outputs, int frames) const {
  const int numInputs = mRecord.effect.numInputs;
  const int numOutputs = mRecord.effect.numOutputs;
  if (frames <= 0) return false;
  // A host that hands fewer buffers than it announced channels gets nothing
  // processed rather than a read through a null pointer.
  if (numInputs > 0 && inputs == nullptr) return false;
  if (numOutputs > 0 && outputs == nullptr) return false;
  for (int c = 0; c < numInputs; ++c) {
    if (inputs[c] == nullptr) return false;
  }
  for (int c = 0; c < numOutputs; ++c) {
    if (outputs[c] == nullptr) return false;
  }
  return true;
}

bool IFxVST::AttachHostBuffers(float** inputs, float** outputs, int frames) {
  if (!HostBuffersUsable(inputs, outputs, frames)) return false;
  if (DoesMidi()) CallHost(audioMasterWantMidi);
  AttachInputs(0, mRecord.effect.numInputs, inputs, frames);
  AttachOutputs(0, mRecord.effect.numOutputs, outputs);
  return true;
}

// Double inputs are used where they lie.
bool IFxVST::AttachHostBuffers(double** inputs, double** outputs, int frames) {
  if (!HostBuffersUsable(inputs, outputs, frames)) return false;
  if (DoesMidi()) CallHost(audioMasterWantMidi);
  AttachInputs(0, mRecord.effect.numInputs, inputs);
  AttachOutputs(0, mRecord.effect.numOutputs, outputs);
  return true;
}

void IFxVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, int frames) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return;
  try {
    platform::LockGuard guard(self->GetLock());
    if (self->AttachHostBuffers(inputs, outputs, frames)) self->RunProcessingFloat(frames);
  } catch (...) {
  }
}

void IFxVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, int frames) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return;
  try {
    platform::LockGuard guard(self->GetLock());
    if (self->AttachHostBuffers(inputs, outputs, frames)) self->RunProcessingAdding(frames);
  } catch (...) {
  }
}

void IFxVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                       int frames) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return;
  try {
    platform::LockGuard guard(self->GetLock());
    if (self->AttachHostBuffers(inputs, outputs, frames)) {
      self->RunProcessingDouble(frames);
    }
  } catch (...) {
  }
}

void IFxVST::SetHostParameter(int index, float value) {
  // NaN is refused; other values are brought into 0..1 by the parameter.
  if (!IsParamIndex(index) || std::isnan(value)) return;
  platform::LockGuard guard(GetLock());
  const double normalized = std::clamp(static_cast<double>(value), 0.0, 1.0);
  GetParam(index)->SetFromNormalized(normalized);
  if (IFxEditorLink* editor = GetEditor()) editor->PushParamToControls(index, normalized, true);
  ParamChanged(index, SourceHost);
}

float IFxVST::GetHostParameter(int index) {
  if (!IsParamIndex(index)) return 0.0f;
  platform::LockGuard guard(GetLock());
  return static_cast<float>(GetParam(index)->GetNormalized());
}

void IFxVST::VSTSetParameter(AEffect* effect, int index, float value) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return;
  try {
    self->SetHostParameter(index, value);
  } catch (...) {
  }
}

float IFxVST::VSTGetParameter(AEffect* effect, int index) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return 0.0f;
  try {
    return self->GetHostParameter(index);
  } catch (...) {
    return 0.0f;
  }
}
