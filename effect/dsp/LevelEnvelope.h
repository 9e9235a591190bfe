#pragma once

// A meter's level envelope, advanced once per block: it jumps or glides up
// with the attack coefficient and falls back with the release coefficient.
class LevelEnvelope {
 public:
  void SetCoefficients(double attack, double release) {
    mAttack = attack;
    mRelease = release;
  }

  // Takes the block's level (a magnitude) and answers the new envelope.
  double Update(double level) {
    const double c = level > mValue ? mAttack : mRelease;
    mValue = (mValue - level) * c + level;
    return mValue;
  }

  double Value() const { return mValue; }
  double Attack() const { return mAttack; }
  double Release() const { return mRelease; }

 private:
  double mValue = 0.0;
  double mAttack = 0.0;
  double mRelease = 0.0;
};
