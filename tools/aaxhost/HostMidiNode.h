#pragma once

#include <vector>

#include "adapters/aax/support/AAX_IMIDINode.h"

namespace aaxhost {

// An input MIDI node holding the packets of the next block.
class HostMidiNode : public AAX_IMIDINode {
 public:
  std::vector<AAX_CMidiPacket> packets;

  AAX_CMidiStream* GetNodeBuffer() override {
    mStream.mBufferSize = static_cast<uint32_t>(packets.size());
    mStream.mBuffer = packets.empty() ? nullptr : packets.data();
    return &mStream;
  }

 private:
  AAX_CMidiStream mStream;
};

}  // namespace aaxhost
