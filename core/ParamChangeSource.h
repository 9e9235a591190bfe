#pragma once

// Why a parameter changed; passed with every ParamChanged notice.
enum ParamChangeSource {
  SourceReset = 0,     // all-parameter notice after the host opens the instance
  SourceHost = 1,      // host automation or host text entry
  SourceRecall = 2,    // restored from a state chunk
  SourceEditor = 3,    // the user moved a control
  SourceInternal = 4,  // group link pull, partial state restore
};
