#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

// The host's window that holds a plug-in's view (host object).
class AAX_IViewContainer {
 public:
  virtual ~AAX_IViewContainer() = default;
  // What GetPtr answers: an AAX_EViewContainerType.
  virtual int32_t GetType() = 0;
  // The native window, or null when the container offers none.
  virtual void* GetPtr() = 0;
  virtual AAX_Result SetViewSize(const AAX_Point& size) = 0;
};
