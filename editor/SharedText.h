#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// A short text that one thread may replace while another reads it, without
// tearing, locking or allocating on the writing side. The processing thread
// writes read-out texts while the user-interface thread draws them.
//
// The text lives in a fixed buffer of atomic words guarded by a sequence
// counter: a writer makes the counter odd, stores the words and makes it even
// again; a reader copies the words and retries when the counter moved or was
// odd meanwhile. Writers exclude each other by claiming the odd count with a
// compare-and-swap (a few dozen stores at most, so contention is brief).
// Texts longer than kCapacity - 1 bytes are cut at a UTF-8 character start.
class SharedText {
 public:
  static constexpr size_t kCapacity = 256;

  SharedText() = default;
  explicit SharedText(const char* text) { Set(text); }
  SharedText(const SharedText&) = delete;
  SharedText& operator=(const SharedText&) = delete;

  // Stores `text` when it differs from the current one; answers whether it
  // changed. Real-time safe.
  bool Set(const char* text);

  // Copies the current text into out (always NUL-terminated, cut to
  // outSize - 1 bytes). Never sees a half-written text.
  void Get(char* out, size_t outSize) const;
  std::string Get() const;

  bool IsEmpty() const;

 private:
  static constexpr size_t kWords = kCapacity / sizeof(uint64_t);

  void BeginWrite();
  void EndWrite();
  void ReadWords(uint64_t* out) const;

  mutable std::atomic<uint32_t> mSequence{0};
  std::atomic<uint64_t> mWords[kWords] = {};
};
