#include "core/MidiMessage.h"

namespace {

uint8_t DataByte(int value) { return static_cast<uint8_t>(value & 0x7F); }
uint8_t StatusByte(int kind, int channel) { return static_cast<uint8_t>(kind | (channel & 0x0F)); }

}  // namespace

void MidiMessage::MakeNoteOn(int note, int velocity, int sampleOffset, int channel) {
  offset = sampleOffset;
  status = StatusByte(0x90, channel);
  data1 = DataByte(note);
  data2 = DataByte(velocity);
}

void MidiMessage::MakeNoteOff(int note, int sampleOffset, int channel) {
  offset = sampleOffset;
  status = StatusByte(0x80, channel);
  data1 = DataByte(note);
  data2 = 0;
}

void MidiMessage::MakeControlChange(int controller, double normalizedValue, int channel) {
  offset = 0;
  status = StatusByte(0xB0, channel);
  data1 = DataByte(controller);
  // Out-of-range values would make the float-to-int conversion undefined.
  double scaled = normalizedValue * 127.0;
  if (!(scaled >= 0.0)) scaled = 0.0;
  if (scaled > 127.0) scaled = 127.0;
  data2 = DataByte(static_cast<int>(scaled));
}
