#pragma once

#include <vector>

#include "adapters/aax/support/AAX_IViewContainer.h"

namespace aaxhost {

// A view container offering a native window of a given type (or none), with
// a record of the sizes the plug-in asked for.
class HostViewContainer : public AAX_IViewContainer {
 public:
  HostViewContainer(int32_t type, void* window) : mType(type), mWindow(window) {}

  std::vector<AAX_Point> sizeRequests;

  int32_t GetType() override { return mType; }
  void* GetPtr() override { return mWindow; }
  AAX_Result SetViewSize(const AAX_Point& size) override {
    sizeRequests.push_back(size);
    return AAX_SUCCESS;
  }

 private:
  int32_t mType;
  void* mWindow;
};

}  // namespace aaxhost
