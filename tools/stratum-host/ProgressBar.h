#pragma once

#include <cstdint>

namespace stratumhost {

// A one-line progress bar on standard error, redrawn when the percentage moves.
class ProgressBar {
 public:
  // Shown only when enabled; total is the amount of work (frames).
  ProgressBar(bool enabled, int64_t total) : mEnabled(enabled && total > 0), mTotal(total) {}
  ~ProgressBar() { Finish(); }
  void Update(int64_t done);
  void Finish();

 private:
  bool mEnabled;
  int64_t mTotal;
  int mShown = -1;
};

}  // namespace stratumhost
