#include <cstddef>
#include <cstdint>
#include <memory>

#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_Png.h"

// Any input must decode or be refused without crashing, leaking or reading
// outside the buffer; both the new-bitmap and the given-bitmap paths run.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<RAS_IBitmap> made(RAS_ReadPngMemory(data, size, nullptr));
  if (made) {
    // Touch the last pixel so that a short allocation would be caught.
    volatile uint32_t last = made->GetPixels()[(made->GetHeight() - 1) * made->GetRowSpan() + made->GetWidth() - 1];
    (void)last;
  }
  RAS_MemBitmap given(3, 5);
  RAS_ReadPngMemory(data, size, &given);
  return 0;
}
