#pragma once

#include <cstdint>

// MIDI as a node of the render context carries it: the packets the host
// collected for this block, in time order.
struct AAX_CMidiPacket {
  uint32_t mTimestamp = 0;  // sample offset within the block
  uint32_t mLength = 0;     // bytes used of mData
  uint8_t mData[4] = {};
  bool mIsImmediate = false;
};

struct AAX_CMidiStream {
  uint32_t mBufferSize = 0;  // number of packets
  AAX_CMidiPacket* mBuffer = nullptr;
};

// A MIDI node (host object).
class AAX_IMIDINode {
 public:
  virtual ~AAX_IMIDINode() = default;
  // The block's packets; null when there are none.
  virtual AAX_CMidiStream* GetNodeBuffer() = 0;
};
