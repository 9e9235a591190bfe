#include "adapters/aax/support/AAX.h"

AAX_EStemFormat AAX_StemFormatForChannels(int channels) {
  switch (channels) {
    case 1: return AAX_eStemFormat_Mono;
    case 2: return AAX_eStemFormat_Stereo;
    case 3: return AAX_eStemFormat_LCR;
    case 4: return AAX_eStemFormat_Quad;
    case 5: return AAX_eStemFormat_5_0;
    case 6: return AAX_eStemFormat_5_1;
    case 7: return AAX_eStemFormat_6_1;
    case 8: return AAX_eStemFormat_7_1;
    default: return AAX_eStemFormat_None;
  }
}
