#pragma once

#include <string>
#include <vector>

#include "adapters/aax/support/AAX.h"

// Marks parameters whose values the processing side has to pick up. The
// effect reads its values under its own lock, so a mark is all there is: the
// dirty IDs wait until the processing side takes them.
class AAX_CPacketDispatcher {
 public:
  // Marks the ID dirty (once); success for every ID.
  AAX_Result SetDirty(const char* identifier);
  bool IsDirty(const char* identifier) const;
  // Forgets every mark.
  void ClearDirty() { mDirty.clear(); }

 private:
  std::vector<std::string> mDirty;
};
