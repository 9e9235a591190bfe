#pragma once

// The plug-in format of the adapter an instance was built with.
enum HostFormat {
  HostFormatVst2 = 0,
  HostFormatVst3 = 1,
  HostFormatAax = 4,
};
