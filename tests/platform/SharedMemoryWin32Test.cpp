// The Windows shared memory as other programs see it: a named file mapping
// "Local\<name>" that lives exactly as long as some handle on it, and
// ownership marks that belong to a holder, not to a thread.
#include "platform/SharedMemory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

using platform::SharedMemory;

std::string UniqueName(const char* what) {
  static int counter = 0;
  return std::string("StratumWin32Test-") + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter);
}

std::unique_ptr<SharedMemory> OpenBlock(const std::string& name, size_t size, SharedMemory::OpenResult* result) {
  return SharedMemory::Open(name.c_str(), size, *result);
}

HANDLE OpenRawMapping(const std::string& name) {
  return OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ("Local\\" + name).c_str());
}

TEST(Win32SharedMemory, IsTheNamedMappingLocalNameAndGoesWithItsLastHandle) {
  const std::string name = UniqueName("mapping");
  SharedMemory::OpenResult result;
  std::unique_ptr<SharedMemory> block = OpenBlock(name, 34400, &result);
  ASSERT_EQ(result, SharedMemory::OpenResult::kCreated);
  std::memcpy(block->Address(), "SMEM", 4);
  block->Address()[34399] = 0x7e;

  HANDLE raw = OpenRawMapping(name);
  ASSERT_NE(raw, nullptr) << "error " << GetLastError();
  auto* view = static_cast<uint8_t*>(MapViewOfFile(raw, FILE_MAP_ALL_ACCESS, 0, 0, 34400));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::memcmp(view, "SMEM", 4), 0);
  EXPECT_EQ(view[34399], 0x7e);

  block.reset();  // the raw handle still keeps it
  EXPECT_EQ(view[34399], 0x7e);
  std::unique_ptr<SharedMemory> again = OpenBlock(name, 34400, &result);
  EXPECT_EQ(result, SharedMemory::OpenResult::kAttached);
  again.reset();

  UnmapViewOfFile(view);
  CloseHandle(raw);
  HANDLE gone = OpenRawMapping(name);
  EXPECT_EQ(gone, nullptr) << "the last handle destroys the mapping";
  if (gone != nullptr) CloseHandle(gone);
}

TEST(Win32SharedMemory, AttachesToAShorterMappingAnotherProgramMade) {
  const std::string name = UniqueName("short");
  HANDLE foreign = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100, ("Local\\" + name).c_str());
  ASSERT_NE(foreign, nullptr);
  SharedMemory::OpenResult result;
  std::unique_ptr<SharedMemory> block = OpenBlock(name, 34400, &result);
  ASSERT_EQ(result, SharedMemory::OpenResult::kAttached);
  EXPECT_GE(block->Size(), 100u);
  EXPECT_LT(block->Size(), 34400u) << "no more than the mapping holds";
  block.reset();
  CloseHandle(foreign);
}

TEST(Win32SharedMemory, MarksBelongToTheHolderWhateverTheThread) {
  const std::string name = UniqueName("marks");
  SharedMemory::OpenResult result;
  std::unique_ptr<SharedMemory> first = OpenBlock(name, 256, &result);
  std::unique_ptr<SharedMemory> second = OpenBlock(name, 256, &result);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  bool takenElsewhere = false;
  std::thread([&] { takenElsewhere = first->TryTakeMark(3); }).join();
  ASSERT_TRUE(takenElsewhere);
  EXPECT_TRUE(first->TryTakeMark(3)) << "a holder still has its own mark";
  EXPECT_FALSE(second->TryTakeMark(3)) << "another holder on any thread is refused";
  EXPECT_TRUE(second->TryTakeMark(4));

  first->ReleaseMark(3);  // on another thread than the one that took it
  EXPECT_TRUE(second->TryTakeMark(3));
  EXPECT_FALSE(first->TryTakeMark(4));

  second.reset();  // a holder that goes frees its marks
  EXPECT_TRUE(first->TryTakeMark(3));
  EXPECT_TRUE(first->TryTakeMark(4));
  EXPECT_FALSE(first->TryTakeMark(-1));
}

}  // namespace
