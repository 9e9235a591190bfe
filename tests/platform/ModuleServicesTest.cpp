// Finding a loaded module from an address, and polling a descriptor.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/DescriptorReady.h"
#include "platform/LoadableModule.h"
#include "platform/ModuleContaining.h"

#ifdef _WIN32
constexpr const char* kSystemLibrary = "kernel32.dll";
constexpr const char* kSystemFunction = "GetTickCount";
#else
constexpr const char* kSystemLibrary = "libm.so.6";
constexpr const char* kSystemFunction = "cos";
#endif

TEST(ModuleContaining, FindsTheModuleThatHoldsTheAddress) {
  platform::LoadableModule library;
  ASSERT_TRUE(library.Open(kSystemLibrary));
  void* symbol = library.Symbol(kSystemFunction);
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(platform::ModuleHandleContaining(symbol), library.Handle());
  EXPECT_EQ(platform::ModuleHandleContaining(nullptr), nullptr);
}

TEST(LoadableModule, MissingModuleIsReportedNotFatal) {
  platform::LoadableModule library;
  std::string error;
  EXPECT_FALSE(library.Open("no-such-stratum-module.so", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(library.IsOpen());
  EXPECT_EQ(library.Symbol(kSystemFunction), nullptr);
}

#ifndef _WIN32
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
#endif
