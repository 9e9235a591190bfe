#pragma once

// One-pole smoother advanced once per block: the value glides from its
// current value towards the target with a per-block coefficient.
class ParamSmoother {
 public:
  // Written by the effect whenever the parameter changes.
  void SetTarget(double target) { mTarget = target; }
  double Target() const { return mTarget; }
  double Current() const { return mCurrent; }
  double Coefficient() const { return mCoefficient; }

  // Restart from 0 with a new per-block coefficient (block size changed).
  void Restart(double coefficient) {
    mCurrent = 0.0;
    mCoefficient = coefficient;
  }

  // A new per-block coefficient (sample rate changed); the value is kept.
  void SetCoefficient(double coefficient) { mCoefficient = coefficient; }

  // One block's step; answers the value to use for this block.
  double Step() {
    if (mCurrent != mTarget) {
      mCurrent = (1.0 - mCoefficient) * mTarget + mCoefficient * mCurrent;
    }
    return mCurrent;
  }

  bool AtTarget() const { return mCurrent == mTarget; }

 private:
  double mCurrent = 0.0;
  double mCoefficient = 0.0;
  double mTarget = 0.0;
};
