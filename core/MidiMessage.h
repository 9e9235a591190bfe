#pragma once

#include <cstdint>

// One short MIDI message with its sample offset inside the current block.
struct MidiMessage {
  int offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;

  // Status 0x90 | channel; data 1 = note, data 2 = velocity.
  void MakeNoteOn(int note, int velocity, int sampleOffset, int channel);
  // Status 0x80 | channel; data 1 = note, data 2 = 0.
  void MakeNoteOff(int note, int sampleOffset, int channel);
  // Offset 0, status 0xB0 | channel; data 1 = controller,
  // data 2 = normalizedValue * 127 truncated.
  void MakeControlChange(int controller, double normalizedValue, int channel);
};

// A system-exclusive message; the bytes belong to the caller.
struct SysExMessage {
  int offset = 0;
  const uint8_t* data = nullptr;
  int size = 0;
};
