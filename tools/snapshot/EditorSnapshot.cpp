#include "tools/snapshot/EditorSnapshot.h"

#include <cmath>
#include <cstdlib>
#include <strings.h>

#include "core/IFxParam.h"
#include "core/ParamChangeSource.h"
#include "core/TransportInfo.h"
#include "effect/VelmarStratum.h"
#include "raster/RAS_SysBitmap.h"
#include "testsupport/IGraphicsScripted.h"
#include "testsupport/PrivateSegmentNamespace.h"

namespace snapshot {

namespace {

constexpr double kSineHz = 997.0;
constexpr double kLeftLevel = 0.5;     // -6 dBFS
constexpr double kRightLevel = 0.354;  // -9 dBFS

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A plain number at the start of the text, with nothing but an optional unit
// (or the parameter's label) after it.
bool ReadNumber(const std::string& text, double* value) {
  const char* start = text.c_str();
  char* end = nullptr;
  const double number = std::strtod(start, &end);
  if (end == start || !std::isfinite(number)) return false;
  *value = number;
  return true;
}

}  // namespace

bool ParseSignal(const std::string& text, Signal* signal) {
  if (text == "sine") *signal = Signal::kSine;
  else if (text == "noise") *signal = Signal::kNoise;
  else if (text == "silence" || text == "none") *signal = Signal::kSilence;
  else return false;
  return true;
}

// The instance lives in a segment namespace of this process, so a snapshot
// with a group set never takes values from, or sends its own to, the
// plug-ins running in the user's hosts.
static IFxRecordingAdapter* NewPrivateEffect() {
  testsupport::UsePrivateSegmentNamespace();
  return new VelmarStratum();
}

EditorSnapshot::EditorSnapshot() : mEffect(NewPrivateEffect()) {
  // A playing transport, as in a host during playback: the effect stops auto
  // gain when the transport stops.
  TransportInfo transport;
  transport.tempo = 120.0;
  transport.samplePosition = 0.0;
  transport.running = true;
  mEffect->SetTransportInfo(transport);
  // VST2 and VST3 hosts notice every parameter once when they open an
  // instance; the effect's smoothers take their first targets from it.
  platform::LockGuard lock(mEffect->GetLock());
  mEffect->NotifyAllParams(SourceReset);
  // The snapshot is the editor shown: its meters and read-outs follow the
  // blocks.
  mEffect->EditorOpened();
}

EditorSnapshot::~EditorSnapshot() = default;

IGraphicsScripted* EditorSnapshot::Graphics() const {
  auto* effect = static_cast<VelmarStratum*>(mEffect.get());
  return dynamic_cast<IGraphicsScripted*>(effect->Graphics());
}

bool EditorSnapshot::Prepare(double sampleRate, int blockSize, int channels, std::string* error) {
  if (!(sampleRate >= 8000.0 && sampleRate <= 768000.0)) {
    *error = "the sample rate must lie between 8000 and 768000 Hz";
    return false;
  }
  if (blockSize < 1 || blockSize > 65536) {
    *error = "the block size must lie between 1 and 65536 samples";
    return false;
  }
  if (channels != 1 && channels != 2) {
    *error = "the effect takes 1 or 2 channels";
    return false;
  }
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  mChannels = channels;
  for (int c = 0; c < 2; ++c) {
    mIn[c].reset(new double[blockSize]());
    mOut[c].reset(new double[blockSize]());
  }
  platform::LockGuard lock(mEffect->GetLock());
  mEffect->ChangeSampleRate(sampleRate);
  mEffect->ChangeBlockSize(blockSize);
  mEffect->ConnectInputs(0, 2, false);
  mEffect->ConnectOutputs(0, 2, false);
  mEffect->ConnectInputs(0, channels, true);
  mEffect->ConnectOutputs(0, channels, true);
  mEffect->ResetProcessing();
  return true;
}

bool EditorSnapshot::SetParameter(const std::string& assignment, std::string* error) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    *error = "\"" + assignment + "\" is not of the form Name=value";
    return false;
  }
  const std::string name = Trim(assignment.substr(0, equals));
  const std::string text = Trim(assignment.substr(equals + 1));

  int index = -1;
  for (int i = 0; i < mEffect->NumParams() && index < 0; ++i) {
    if (name == mEffect->GetParam(i)->Name()) index = i;
  }
  for (int i = 0; i < mEffect->NumParams() && index < 0; ++i) {
    if (strcasecmp(name.c_str(), mEffect->GetParam(i)->Name()) == 0) index = i;
  }
  if (index < 0) {
    *error = "no parameter is named \"" + name + "\"; the parameters are:";
    for (int i = 0; i < mEffect->NumParams(); ++i) {
      *error += std::string(i ? ", \"" : " \"") + mEffect->GetParam(i)->Name() + "\"";
    }
    return false;
  }

  IFxParam* param = mEffect->GetParam(index);
  double value = 0.0;
  if (!param->NamedValueFromText(text.c_str(), &value) && !ReadNumber(text, &value)) {
    *error = "\"" + text + "\" is neither a number nor a value of \"" + name + "\"";
    if (param->NamedValueCount() > 0) {
      *error += " (";
      for (int i = 0; i < param->NamedValueCount(); ++i) {
        *error += std::string(i ? ", " : "") + param->NamedValueAt(i)->text;
      }
      *error += ")";
    }
    return false;
  }

  // As an adapter applies a host change: set, show, notify.
  platform::LockGuard lock(mEffect->GetLock());
  param->SetValueClamped(value);
  if (IGraphics* graphics = static_cast<VelmarStratum*>(mEffect.get())->Graphics()) {
    graphics->PushParamToControls(index, param->GetNormalized(), true);
  }
  mEffect->ParamChanged(index, SourceHost);
  return true;
}

void EditorSnapshot::FillBlock(Signal signal) {
  for (int i = 0; i < mBlockSize; ++i) {
    double left = 0.0, right = 0.0;
    if (signal == Signal::kSine) {
      const double phase = 2.0 * M_PI * kSineHz * double(mSamplesDone + i) / mSampleRate;
      left = kLeftLevel * std::sin(phase);
      right = kRightLevel * std::sin(phase);
    } else if (signal == Signal::kNoise) {
      // xorshift32: the same noise on every machine.
      for (double* sample : {&left, &right}) {
        mNoiseState ^= mNoiseState << 13;
        mNoiseState ^= mNoiseState >> 17;
        mNoiseState ^= mNoiseState << 5;
        *sample = (mNoiseState / 4294967295.0 * 2.0 - 1.0);
      }
      left *= kLeftLevel;
      right *= kRightLevel;
    }
    mIn[0][i] = left;
    mIn[1][i] = right;
  }
}

void EditorSnapshot::Process(Signal signal, int blocks) {
  double* inputs[2] = {mIn[0].get(), mIn[1].get()};
  double* outputs[2] = {mOut[0].get(), mOut[1].get()};
  for (int b = 0; b < blocks; ++b) {
    FillBlock(signal);
    mEffect->SetSamplePosition(mSamplesDone);
    platform::LockGuard lock(mEffect->GetLock());
    mEffect->AttachInputs(0, mChannels, inputs);
    mEffect->AttachOutputs(0, mChannels, outputs);
    mEffect->RunProcessingDouble(mBlockSize);
    mSamplesDone += mBlockSize;
  }
}

RAS_IBitmap* EditorSnapshot::Render() {
  IGraphicsScripted* graphics = Graphics();
  if (!graphics) return nullptr;
  graphics->DrawAll();
  return graphics->GetBackBuffer();
}

}  // namespace snapshot
