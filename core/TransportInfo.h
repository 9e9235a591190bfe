#pragma once

// The host's transport as an adapter reports it. An adapter changes only the
// fields its host supplies; the rest keep the defaults below.
struct TransportInfo {
  double tempo = 120.0;            // beats per minute
  double samplePosition = -1.0;    // samples since project start
  double ppqPosition = -1.0;       // quarter notes
  double lastBarPosition = -1.0;   // quarter notes
  double cycleStart = -1.0;        // quarter notes
  double cycleEnd = -1.0;          // quarter notes
  int numerator = 4;
  int denominator = 4;
  bool running = false;
  bool looping = false;
};
