#include "effect/dsp/DCBlocker.h"

#include <cmath>

void DCBlocker::SetSampleRate(int sampleRate) {
  // The quotient is formed in single precision on purpose: stored projects
  // were rendered with exactly these coefficients.
  const double q = static_cast<double>(5.0f / static_cast<float>(sampleRate));
  const double b = std::pow(2.718281828459045, -6.283185307179586 * q);
  mB0 = (1.0 + b) * 0.5;
  mB1 = (1.0 + b) * -0.5;
  mA1 = b;
}

void DCBlocker::Process(double* samples, int n) {
  for (int i = 0; i < n; ++i) {
    // The tiny offset keeps the recursion out of denormal numbers in silence.
    const double x = samples[i] + 1e-23;
    const double y = mB0 * x + mB1 * mX1 + mA1 * mY1;
    mX1 = x;
    mY1 = y;
    samples[i] = y;
  }
}
