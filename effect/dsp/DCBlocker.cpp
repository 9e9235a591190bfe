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

// The state is kept in locals inside the loops: the samples could alias the
// members as far as the compiler knows, which would put a store and reload
// into every step of the recursion.
void DCBlocker::Process(double* samples, int n) {
  const double b0 = mB0, b1 = mB1, a1 = mA1;
  double x1 = mX1, y1 = mY1;
  for (int i = 0; i < n; ++i) {
    // The tiny offset keeps the recursion out of denormal numbers in silence.
    const double x = samples[i] + 1e-23;
    const double y = b0 * x + b1 * x1 + a1 * y1;
    x1 = x;
    y1 = y;
    samples[i] = y;
  }
  mX1 = x1;
  mY1 = y1;
}

void DCBlocker::ProcessPair(DCBlocker& left, double* leftSamples, DCBlocker& right,
                            double* rightSamples, int n) {
  if (leftSamples == rightSamples) {
    // One buffer for both: the right filter runs over the left one's output.
    left.Process(leftSamples, n);
    right.Process(rightSamples, n);
    return;
  }
  // Two independent recursions in one loop overlap their latencies; each
  // channel's arithmetic is exactly that of Process.
  double lx1 = left.mX1, ly1 = left.mY1, rx1 = right.mX1, ry1 = right.mY1;
  for (int i = 0; i < n; ++i) {
    const double lx = leftSamples[i] + 1e-23;
    const double rx = rightSamples[i] + 1e-23;
    const double ly = left.mB0 * lx + left.mB1 * lx1 + left.mA1 * ly1;
    const double ry = right.mB0 * rx + right.mB1 * rx1 + right.mA1 * ry1;
    lx1 = lx;
    ly1 = ly;
    rx1 = rx;
    ry1 = ry;
    leftSamples[i] = ly;
    rightSamples[i] = ry;
  }
  left.mX1 = lx1;
  left.mY1 = ly1;
  right.mX1 = rx1;
  right.mY1 = ry1;
}
