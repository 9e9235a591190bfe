// Finding a loaded module from an address, and polling a descriptor.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/DescriptorReady.h"
#include "platform/LoadableModule.h"
#include "platform/ModuleContaining.h"

TEST(ModuleContaining, FindsTheModuleThatHoldsTheAddress) {
  platform::LoadableModule library;
  ASSERT_TRUE(library.Open("libm.so.6"));
  void* symbol = library.Symbol("cos");
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(platform::ModuleHandleContaining(symbol), library.Handle());
  EXPECT_EQ(platform::ModuleHandleContaining(nullptr), nullptr);
}

TEST(DescriptorReady, ReportsWaitingInputWithoutWaiting) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  EXPECT_FALSE(platform::IsDescriptorReadable(fds[0]));
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_TRUE(platform::IsDescriptorReadable(fds[0]));
  close(fds[0]);
  close(fds[1]);
  EXPECT_FALSE(platform::IsDescriptorReadable(fds[0]));
  EXPECT_FALSE(platform::IsDescriptorReadable(-1));
}
