#pragma once

// First-order high-pass with its corner at 5 Hz that removes a DC offset.
// The state survives coefficient changes, so a sample-rate change does not
// click. A block that leaves the state non-finite restarts it from rest, so
// one bad sample spoils at most the rest of its block.
class DCBlocker {
 public:
  // Coefficients for the integer sample rate; the state is kept.
  void SetSampleRate(int sampleRate);

  // Filters n samples in place.
  void Process(double* samples, int n);

  // left.Process (leftSamples), then right.Process (rightSamples), with the
  // same results, but faster when the buffers differ.
  static void ProcessPair(DCBlocker& left, double* leftSamples, DCBlocker& right,
                          double* rightSamples, int n);

  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double A1() const { return mA1; }
  double X1() const { return mX1; }
  double Y1() const { return mY1; }

 private:
  double mX1 = 0.0;
  double mY1 = 0.0;
  double mB0 = 0.0;
  double mB1 = 0.0;
  double mA1 = 0.0;
};
