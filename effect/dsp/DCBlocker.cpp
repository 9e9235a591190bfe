#include "effect/dsp/DCBlocker.h"

#include <cfloat>
#include <cmath>

namespace {

// Once per block: a state that is not finite (a non-finite or overflowing
// sample went in) would keep every later output non-finite, so the filter
// starts again from rest; a decaying tail below this floor ends at 0 instead
// of crawling on through ever tinier numbers.
constexpr double kTailFloor = 1e-30;

void SettleState(double& x1, double& y1) {
  if (!(std::fabs(x1) <= DBL_MAX && std::fabs(y1) <= DBL_MAX)) {
    x1 = 0.0;
    y1 = 0.0;
  } else if (std::fabs(y1) < kTailFloor) {
    y1 = 0.0;
  }
}

}  // namespace

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
  SettleState(x1, y1);
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
  const double lb0 = left.mB0, lb1 = left.mB1, la1 = left.mA1;
  const double rb0 = right.mB0, rb1 = right.mB1, ra1 = right.mA1;
  double lx1 = left.mX1, ly1 = left.mY1, rx1 = right.mX1, ry1 = right.mY1;
  for (int i = 0; i < n; ++i) {
    const double lx = leftSamples[i] + 1e-23;
    const double rx = rightSamples[i] + 1e-23;
    const double ly = lb0 * lx + lb1 * lx1 + la1 * ly1;
    const double ry = rb0 * rx + rb1 * rx1 + ra1 * ry1;
    lx1 = lx;
    ly1 = ly;
    rx1 = rx;
    ry1 = ry;
    leftSamples[i] = ly;
    rightSamples[i] = ry;
  }
  SettleState(lx1, ly1);
  SettleState(rx1, ry1);
  left.mX1 = lx1;
  left.mY1 = ly1;
  right.mX1 = rx1;
  right.mY1 = ry1;
}
