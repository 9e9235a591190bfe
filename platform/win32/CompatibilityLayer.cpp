#include "platform/CompatibilityLayer.h"

#include <windows.h>

namespace platform {

#if defined(_WIN64)
// Wine keeps its own settings under HKEY_LOCAL_MACHINE\Software\Wine; a real
// Windows has no such key. Read-only: the key is opened for reading and closed.
bool IsRunningUnderCompatibilityLayer() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
#else
// The 32-bit builds never ask.
bool IsRunningUnderCompatibilityLayer() { return false; }
#endif

}  // namespace platform
