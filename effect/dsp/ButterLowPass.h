#pragma once

#include <cmath>

// First-order Butterworth low-pass for one channel (bilinear transform with
// frequency pre-warping), run in direct form II.
class ButterLowPass {
 public:
  // Highest cutoff, as a fraction of the sample rate, that the design uses.
  // A cutoff at or above half the sample rate has no stable first-order
  // design, so such a request is held at this fraction instead.
  static constexpr double kMaxCutoffRatio = 0.45;

  // Designs the filter; the state is cleared.
  void Design(double cutoffHz, int sampleRate);

  // Filters one sample.
  double Process(double x) {
    const double w = x - mA1 * mW1 + 1e-25;
    const double y = mB0 * w + mB1 * mW1;
    mW1 = w;
    return y;
  }

  // Whether the state is a finite number (a non-finite sample keeps it
  // non-finite for good); Clear starts it from rest.
  bool StateIsFinite() const { return std::isfinite(mW1); }
  void Clear() { mW1 = 0.0; }

  double CutoffHz() const { return mCutoffHz; }
  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double A1() const { return mA1; }

 private:
  double mCutoffHz = 0.0;
  double mB0 = 0.0;
  double mB1 = 0.0;
  double mA1 = 0.0;
  double mW1 = 0.0;
};
