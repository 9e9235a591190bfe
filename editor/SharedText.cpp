#include "editor/SharedText.h"

#include <cstring>

namespace {

// Length of `text` cut so that it fits `limit` bytes without splitting a
// UTF-8 sequence.
size_t FittingLength(const char* text, size_t limit) {
  size_t n = std::strlen(text);
  if (n <= limit) return n;
  n = limit;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

void PackWords(const char* text, size_t length, uint64_t* words, size_t wordCount) {
  unsigned char bytes[SharedText::kCapacity] = {};
  std::memcpy(bytes, text, length);
  for (size_t w = 0; w < wordCount; ++w) {
    uint64_t word = 0;
    for (size_t b = 0; b < 8; ++b) word |= static_cast<uint64_t>(bytes[w * 8 + b]) << (8 * b);
    words[w] = word;
  }
}

void UnpackWords(const uint64_t* words, size_t wordCount, char* out) {
  for (size_t w = 0; w < wordCount; ++w)
    for (size_t b = 0; b < 8; ++b) out[w * 8 + b] = static_cast<char>((words[w] >> (8 * b)) & 0xFF);
}

}  // namespace

void SharedText::BeginWrite() {
  uint32_t seq = mSequence.load(std::memory_order_relaxed);
  for (;;) {
    if ((seq & 1u) == 0 &&
        mSequence.compare_exchange_weak(seq, seq + 1, std::memory_order_acq_rel,
                                        std::memory_order_relaxed))
      break;
    seq = mSequence.load(std::memory_order_relaxed);
  }
}

void SharedText::EndWrite() { mSequence.fetch_add(1, std::memory_order_release); }

void SharedText::ReadWords(uint64_t* out) const {
  for (;;) {
    const uint32_t before = mSequence.load(std::memory_order_acquire);
    if (before & 1u) continue;
    // Acquire loads of the words written with release stores: a word from a
    // write in progress makes that write's odd count visible to the check.
    for (size_t w = 0; w < kWords; ++w) out[w] = mWords[w].load(std::memory_order_acquire);
    if (mSequence.load(std::memory_order_relaxed) == before) return;
  }
}

bool SharedText::Set(const char* text) {
  if (!text) text = "";
  uint64_t packed[kWords];
  PackWords(text, FittingLength(text, kCapacity - 1), packed, kWords);

  BeginWrite();
  bool same = true;
  for (size_t w = 0; w < kWords && same; ++w)
    same = mWords[w].load(std::memory_order_relaxed) == packed[w];
  if (!same)
    for (size_t w = 0; w < kWords; ++w) mWords[w].store(packed[w], std::memory_order_release);
  EndWrite();
  return !same;
}

void SharedText::Get(char* out, size_t outSize) const {
  if (!out || outSize == 0) return;
  uint64_t words[kWords];
  ReadWords(words);
  char text[kCapacity];
  UnpackWords(words, kWords, text);
  text[kCapacity - 1] = '\0';
  const size_t n = FittingLength(text, outSize - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
}

std::string SharedText::Get() const {
  char text[kCapacity];
  Get(text, sizeof(text));
  return text;
}

bool SharedText::IsEmpty() const {
  uint64_t words[kWords];
  ReadWords(words);
  return (words[0] & 0xFF) == 0;
}
