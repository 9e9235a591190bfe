#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Makes the sides of a concurrency test overlap by construction instead of by
// luck of scheduling. Every side first waits at a start latch until all sides
// have arrived; then each keeps doing rounds until every side has done at
// least its minimum. So each side's minimum rounds all run while the other
// sides are still inside their loops, however late the scheduler lets one of
// them begin, and no side can finish before another has started.
//
//   std::vector<long> done = RunConcurrentRounds({
//       {150, [&](long frame) { /* the editor thread's work */ }},   // this thread
//       {400, [&](long block) { /* the audio thread's work */ }}});  // a new thread
//
// A side can do more rounds than its minimum; tests that count what a side did
// compare with the number answered for it.

struct ConcurrentSide {
  long minimumRounds = 1;
  std::function<void(long round)> round;  // called with 0, 1, 2, ...
};

class ConcurrentRounds {
 public:
  explicit ConcurrentRounds(const std::vector<long>& minimumRounds)
      : mMinimum(minimumRounds), mDone(new std::atomic<long>[minimumRounds.size()]) {
    for (size_t i = 0; i < mMinimum.size(); ++i) mDone[i].store(0);
  }

  // Side `side`'s loop, on the thread that is to run it. Answers its rounds.
  long Run(size_t side, const std::function<void(long)>& round) {
    ArriveAndWait();
    long done = 0;
    while (!EverySideHasDoneEnough()) {
      round(done);
      mDone[side].store(++done);
    }
    return done;
  }

 private:
  void ArriveAndWait() {
    std::unique_lock<std::mutex> lock(mMutex);
    if (++mArrived == mMinimum.size()) {
      mAllArrived.notify_all();
    } else {
      mAllArrived.wait(lock, [&] { return mArrived == mMinimum.size(); });
    }
  }

  bool EverySideHasDoneEnough() const {
    for (size_t i = 0; i < mMinimum.size(); ++i)
      if (mDone[i].load() < mMinimum[i]) return false;
    return true;
  }

  const std::vector<long> mMinimum;
  std::unique_ptr<std::atomic<long>[]> mDone;
  std::mutex mMutex;
  std::condition_variable mAllArrived;
  size_t mArrived = 0;
};

// Runs the first side on the calling thread (where a test keeps its editor)
// and every other side on a thread of its own. Answers the rounds each did.
inline std::vector<long> RunConcurrentRounds(const std::vector<ConcurrentSide>& sides) {
  std::vector<long> minimum;
  for (const ConcurrentSide& side : sides) minimum.push_back(side.minimumRounds);
  ConcurrentRounds rounds(minimum);
  std::vector<long> done(sides.size(), 0);
  std::vector<std::thread> threads;
  for (size_t i = 1; i < sides.size(); ++i)
    threads.emplace_back([&, i] { done[i] = rounds.Run(i, sides[i].round); });
  if (!sides.empty()) done[0] = rounds.Run(0, sides[0].round);
  for (std::thread& thread : threads) thread.join();
  return done;
}
