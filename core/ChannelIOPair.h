#pragma once

// One supported combination of input and output channel counts.
struct ChannelIOPair {
  int inputs = 0;
  int outputs = 0;
};
