#include "grouplink/SharedSegment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "grouplink/SegmentLayout.h"
#include "platform/SharedMemory.h"

namespace {

using namespace segment_layout;

// A name no real instance and no other test process uses.
std::string UniqueName(const char* what) {
  static int counter = 0;
  return std::string("StratumTest-") + what + "-" + std::to_string(getpid()) + "-" +
         std::to_string(++counter);
}

// Stands in for another program that made an object of our name.
struct ForeignObject {
  ForeignObject(const std::string& name, size_t size, const char* magic, uint64_t storedSize)
      : magic(magic), storedSize(storedSize) {
    platform::SharedMemory::OpenResult result;
    memory = platform::SharedMemory::Open(name.c_str(), size, result, &Write, this);
    EXPECT_EQ(result, platform::SharedMemory::OpenResult::kCreated);
  }
  static void Write(platform::SharedMemory& memory, void* self) {
    const ForeignObject& object = *static_cast<ForeignObject*>(self);
    uint8_t* address = memory.Address();
    const size_t size = memory.Size();
    std::memcpy(address, object.magic, std::min<size_t>(4, size));
    if (size >= 16) StoreU64(address, kDataSizeOffset, object.storedSize);
  }
  const char* magic;
  uint64_t storedSize;
  std::unique_ptr<platform::SharedMemory> memory;
};

TEST(SharedSegment, FirstOpenCreatesHeaderAndRunsInitialiser) {
  std::string name = UniqueName("create");
  int initialised = 0;
  auto initialise = [](platform::SharedMemory&, uint8_t* data, uint64_t dataSize, void* counter) {
    ++*static_cast<int*>(counter);
    EXPECT_EQ(dataSize, kGroupDataSize);
    data[0] = 0x5a;
  };
  std::unique_ptr<SharedSegment> first = OpenSegment(name.c_str(), kGroupDataSize, initialise, &initialised);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(SegmentCreated(first.get()));
  EXPECT_EQ(first->name, name);
  EXPECT_EQ(initialised, 1);

  const uint8_t* header = SegmentData(first.get()) - kHeaderSize;
  const uint8_t expected[16] = {'S', 'M', 'E', 'M', 0, 0, 0, 0, 0x20, 0x86, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(header, expected, sizeof expected), 0);
  for (size_t i = 16; i < kHeaderSize; ++i) EXPECT_EQ(header[i], 0) << "header byte " << i;
  EXPECT_EQ(SegmentData(first.get())[0], 0x5a);

  std::unique_ptr<SharedSegment> second = OpenSegment(name.c_str(), kGroupDataSize, initialise, &initialised);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(SegmentCreated(second.get()));
  EXPECT_EQ(initialised, 1) << "an attaching open must not initialise again";
  SegmentData(second.get())[1] = 0x33;
  EXPECT_EQ(SegmentData(first.get())[1], 0x33) << "both opens see the same memory";
  CloseSegment(std::move(first));
  CloseSegment(std::move(second));
}

TEST(SharedSegment, SegmentIsFreshAfterTheLastHolderCloses) {
  std::string name = UniqueName("fresh");
  std::unique_ptr<SharedSegment> a = OpenSegment(name.c_str(), 256);
  std::unique_ptr<SharedSegment> b = OpenSegment(name.c_str(), 256);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  SegmentData(a.get())[10] = 7;
  CloseSegment(std::move(a));
  // b still holds it: a new open attaches and sees the old contents.
  std::unique_ptr<SharedSegment> c = OpenSegment(name.c_str(), 256);
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(SegmentCreated(c.get()));
  EXPECT_EQ(SegmentData(c.get())[10], 7);
  CloseSegment(std::move(b));
  CloseSegment(std::move(c));

  std::unique_ptr<SharedSegment> d = OpenSegment(name.c_str(), 256);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(SegmentCreated(d.get()));
  EXPECT_EQ(SegmentData(d.get())[10], 0);
}

TEST(SharedSegment, ForeignObjectsAreRefusedWithAMessage) {
  struct Case {
    const char* what;
    size_t objectSize;
    const char* magic;
    uint64_t storedSize;
    std::string message;  // with NAME standing for the segment name
  };
  const Case cases[] = {
      {"no magic", kGroupDataSize + kHeaderSize, "SMEX", kGroupDataSize,
       "shmem(\"NAME\", 34336) failed: invalid header\n"},
      {"other size", kGroupDataSize + kHeaderSize, "SMEM", 1000,
       "shmem(\"NAME\", 34336) failed: size mismatch (found 1000)\n"},
      {"short object", 1064, "SMEM", 1000, "shmem(\"NAME\", 34336) failed: size mismatch (found 1000)\n"},
      {"tiny object", 2, "SM", 0, "shmem(\"NAME\", 34336) failed: invalid header\n"},
      {"found reports the low 32 bits", kGroupDataSize + kHeaderSize, "SMEM", 0x100000005ull,
       "shmem(\"NAME\", 34336) failed: size mismatch (found 5)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string name = UniqueName("foreign");
    ForeignObject foreign(name, c.objectSize, c.magic, c.storedSize);
    uint8_t before[16];
    std::memcpy(before, foreign.memory->Address(), std::min<size_t>(16, foreign.memory->Size()));

    testing::internal::CaptureStderr();
    std::unique_ptr<SharedSegment> segment = OpenSegment(name.c_str(), kGroupDataSize);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(segment, nullptr);
    std::string expected = c.message;
    expected.replace(expected.find("NAME"), 4, name);
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(std::memcmp(before, foreign.memory->Address(), std::min<size_t>(16, foreign.memory->Size())), 0)
        << "a refused object is left as it was";
  }
}

TEST(SharedSegment, NoneIsHarmless) {
  EXPECT_EQ(SegmentData(nullptr), nullptr);
  EXPECT_FALSE(SegmentCreated(nullptr));
  CloseSegment(nullptr);

  // A missing name is the empty name, which still makes a usable segment.
  std::unique_ptr<SharedSegment> unnamed = OpenSegment(nullptr, 64);
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(unnamed->name, "");
}

// Restores the product's namespace however a test ends.
struct NamespaceGuard {
  ~NamespaceGuard() { SetSegmentNamespace(""); }
};

TEST(SharedSegment, NamespacesKeepSegmentsOfOneNameApart) {
  NamespaceGuard restore;
  const std::string name = UniqueName("space");
  const std::string a = "a-" + std::to_string(getpid()) + ".";
  const std::string b = "b-" + std::to_string(getpid()) + ".";

  ASSERT_TRUE(SetSegmentNamespace(a.c_str()));
  std::unique_ptr<SharedSegment> inA = OpenSegment(name.c_str(), 256);
  ASSERT_TRUE(SetSegmentNamespace(b.c_str()));
  std::unique_ptr<SharedSegment> inB = OpenSegment(name.c_str(), 256);
  ASSERT_TRUE(SetSegmentNamespace(""));
  std::unique_ptr<SharedSegment> plain = OpenSegment(name.c_str(), 256);
  ASSERT_NE(inA, nullptr);
  ASSERT_NE(inB, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(SegmentCreated(inA.get()));
  EXPECT_TRUE(SegmentCreated(inB.get())) << "another namespace is another segment";
  EXPECT_TRUE(SegmentCreated(plain.get()));
  EXPECT_EQ(inB->name, name) << "the name stays as given, without the prefix";

  ASSERT_TRUE(SetSegmentNamespace(a.c_str()));
  std::unique_ptr<SharedSegment> againInA = OpenSegment(name.c_str(), 256);
  ASSERT_NE(againInA, nullptr);
  EXPECT_FALSE(SegmentCreated(againInA.get()));
  SegmentData(againInA.get())[0] = 0x77;
  EXPECT_EQ(SegmentData(inA.get())[0], 0x77);
  EXPECT_NE(SegmentData(inB.get())[0], 0x77);
  EXPECT_NE(SegmentData(plain.get())[0], 0x77);
}

TEST(SharedSegment, OnlyPlainPrefixesNameANamespace) {
  NamespaceGuard restore;
  const struct {
    const char* prefix;
    bool accepted;
  } cases[] = {
      {"", true},          {"run-42.", true},  {"A_b.C-9", true}, {"../up", false},
      {"Local\\x", false}, {"a/b", false},     {"sp ace", false}, {"\xc3\xa9", false},
  };
  ASSERT_TRUE(SetSegmentNamespace("kept."));
  for (const auto& c : cases) {
    EXPECT_EQ(SetSegmentNamespace(c.prefix), c.accepted) << c.prefix;
    EXPECT_EQ(SegmentNamespace(), c.accepted ? c.prefix : "kept.") << c.prefix;
    SetSegmentNamespace("kept.");
  }
  EXPECT_TRUE(SetSegmentNamespace(nullptr));
  EXPECT_EQ(SegmentNamespace(), "");
}

}  // namespace
