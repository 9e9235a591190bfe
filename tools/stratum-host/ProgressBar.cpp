#include "tools/stratum-host/ProgressBar.h"

#include <cstdio>

namespace stratumhost {

namespace {
constexpr int kWidth = 40;
}

void ProgressBar::Update(int64_t done) {
  if (!mEnabled) return;
  if (done > mTotal) done = mTotal;
  const int percent = static_cast<int>(done * 100 / mTotal);
  if (percent == mShown) return;
  mShown = percent;
  char bar[kWidth + 1];
  const int filled = percent * kWidth / 100;
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  std::fprintf(stderr, "\rrendering [%s] %3d%%", bar, percent);
  std::fflush(stderr);
}

void ProgressBar::Finish() {
  if (!mEnabled) return;
  Update(mTotal);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  mEnabled = false;
}

}  // namespace stratumhost
