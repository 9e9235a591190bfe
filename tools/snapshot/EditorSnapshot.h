#pragma once

#include <memory>
#include <string>

#include "testsupport/IFxRecordingAdapter.h"

class IGraphicsScripted;
class RAS_IBitmap;

namespace snapshot {

enum class Signal { kSilence, kSine, kNoise };

// Reads "sine", "noise" or "silence"; false for anything else.
bool ParseSignal(const std::string& text, Signal* signal);

// One effect instance driven the way a host would drive it, whose editor is
// drawn offscreen: set parameters, process a few blocks of a test signal so
// the meters move, then draw the whole editor.
class EditorSnapshot {
 public:
  EditorSnapshot();
  ~EditorSnapshot();

  // Sample rate, block size and input/output channel count (1 or 2), then a
  // reset as hosts do before processing. False with a message when invalid.
  bool Prepare(double sampleRate, int blockSize, int channels, std::string* error);

  // "Name=value": the parameter by its exact name (or, failing that, ignoring
  // case); the value as a display text ("Group 3", "on", "RMS"), or a plain
  // number, optionally followed by its unit ("-6", "-6 dB"). Applied as a
  // host automation change. False with a message naming the problem.
  bool SetParameter(const std::string& assignment, std::string* error);

  // Runs `blocks` blocks of the signal through the effect. The sine is
  // 997 Hz at -6 dBFS left and -9 dBFS right; the noise is reproducible white
  // noise of the same peak level.
  void Process(Signal signal, int blocks);

  // Draws the whole editor and answers the picture (owned by the editor).
  RAS_IBitmap* Render();

  IFxRecordingAdapter* Effect() const { return mEffect.get(); }
  IGraphicsScripted* Graphics() const;

 private:
  void FillBlock(Signal signal);

  std::unique_ptr<IFxRecordingAdapter> mEffect;
  int mBlockSize = 0;
  int mChannels = 2;
  double mSampleRate = 44100.0;
  long long mSamplesDone = 0;
  unsigned mNoiseState = 0x2545F491u;
  std::unique_ptr<double[]> mIn[2];
  std::unique_ptr<double[]> mOut[2];
};

}  // namespace snapshot
