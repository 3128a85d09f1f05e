// Container builders and readers, item sizes and the fixed-point helper.
#include <gtest/gtest.h>

#include <vector>

#include "twain/capability_containers.h"
#include "twain/tests/twain_test_support.h"

namespace {

struct SizeCase {
  TW_UINT16 itemType;
  uint32_t size;
};

class TwainTypeSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TwainTypeSizeTest, MatchesTheItemType) { EXPECT_EQ(TwainTypeSize(GetParam().itemType), GetParam().size); }

INSTANTIATE_TEST_SUITE_P(AllTypes, TwainTypeSizeTest,
                         ::testing::Values(SizeCase{TWTY_INT8, 1}, SizeCase{TWTY_UINT8, 1}, SizeCase{TWTY_INT16, 2},
                                           SizeCase{TWTY_UINT16, 2}, SizeCase{TWTY_BOOL, 2}, SizeCase{TWTY_INT32, 4},
                                           SizeCase{TWTY_UINT32, 4}, SizeCase{TWTY_FIX32, 4},
                                           SizeCase{TWTY_FRAME, 16}, SizeCase{TWTY_STR32, 2},
                                           SizeCase{0x0042, 2}));

struct Fix32Case {
  float value;
  int16_t whole;
  uint16_t frac;
};

class MakeFix32Test : public ::testing::TestWithParam<Fix32Case> {};

TEST_P(MakeFix32Test, RoundsToTheNearestStep) {
  TW_FIX32 fix = MakeFix32(GetParam().value);
  EXPECT_EQ(fix.Whole, GetParam().whole);
  EXPECT_EQ(fix.Frac, GetParam().frac);
}

INSTANTIATE_TEST_SUITE_P(Values, MakeFix32Test,
                         ::testing::Values(Fix32Case{300.0f, 300, 0}, Fix32Case{0.5f, 0, 32768},
                                           Fix32Case{228.0f, 228, 0}, Fix32Case{8.25f, 8, 16384},
                                           Fix32Case{0.0f, 0, 0}));

// Records the size of every block and can refuse to allocate or to lock.
struct RecordingAllocator {
  static std::vector<uint32_t> sizes;
  static bool refuseAllocation;
  static bool refuseLock;
  static int released;
  static TW_HANDLE Allocate(uint32_t size) {
    sizes.push_back(size);
    return refuseAllocation ? nullptr : kPlatformContainerAllocator.allocate(size);
  }
  static void* Lock(TW_HANDLE handle) { return refuseLock ? nullptr : kPlatformContainerAllocator.lock(handle); }
  static void Release(TW_HANDLE handle) {
    ++released;
    kPlatformContainerAllocator.release(handle);
  }
};
std::vector<uint32_t> RecordingAllocator::sizes;
bool RecordingAllocator::refuseAllocation;
bool RecordingAllocator::refuseLock;
int RecordingAllocator::released;

class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingAllocator::sizes.clear();
    RecordingAllocator::refuseAllocation = false;
    RecordingAllocator::refuseLock = false;
    RecordingAllocator::released = 0;
    gContainerAllocator = &recording_;
  }
  void TearDown() override { gContainerAllocator = &kPlatformContainerAllocator; }

  const ContainerAllocator recording_ = {RecordingAllocator::Allocate, RecordingAllocator::Lock,
                                         kPlatformContainerAllocator.unlock, RecordingAllocator::Release};
  TW_CAPABILITY capability_ = {ICAP_BITDEPTH, 0, nullptr};
};

TEST_F(ContainerTest, OneValueIsSixBytes) {
  ASSERT_EQ(MakeOneValueContainer(&capability_, TWTY_INT16, 0xFFFF), TWCC_SUCCESS);
  EXPECT_EQ(RecordingAllocator::sizes, std::vector<uint32_t>{6});
  Container c = TakeContainer(&capability_);
  EXPECT_EQ(c.conType, TWON_ONEVALUE);
  EXPECT_EQ(c.itemType, TWTY_INT16);
  EXPECT_EQ(c.items, std::vector<uint32_t>{0xFFFF});
}

TEST_F(ContainerTest, EnumerationIsHeaderItemsAndOne) {
  const TW_UINT16 depths[3] = {1, 8, 16};
  ASSERT_EQ(MakeEnumContainer(&capability_, EnumHeader{TWTY_UINT16, 3, 2, 1}, depths), TWCC_SUCCESS);
  EXPECT_EQ(RecordingAllocator::sizes, std::vector<uint32_t>{14 + 6 + 1});
  Container c = TakeContainer(&capability_);
  EXPECT_EQ(c.conType, TWON_ENUMERATION);
  EXPECT_EQ(c.items, (std::vector<uint32_t>{1, 8, 16}));
  EXPECT_EQ(c.currentIndex, 2u);
  EXPECT_EQ(c.defaultIndex, 1u);
}

TEST_F(ContainerTest, ArrayOfFramesUsesSixteenBytesAnItem) {
  const TW_FRAME frames[2] = {};
  ASSERT_EQ(MakeArrayContainer(&capability_, ArrayHeader{TWTY_FRAME, 2}, frames), TWCC_SUCCESS);
  EXPECT_EQ(RecordingAllocator::sizes, std::vector<uint32_t>{6 + 32 + 1});
  EXPECT_EQ(capability_.ConType, TWON_ARRAY);
  TakeContainer(&capability_);
}

TEST_F(ContainerTest, NoMemoryIsLowMemoryWithoutAContainer) {
  RecordingAllocator::refuseAllocation = true;
  capability_.hContainer = &capability_;
  EXPECT_EQ(MakeOneValueContainer(&capability_, TWTY_UINT16, 8), TWCC_LOWMEMORY);
  EXPECT_EQ(+capability_.hContainer, nullptr);
}

TEST_F(ContainerTest, AContainerThatCannotBeLockedIsGivenBack) {
  RecordingAllocator::refuseLock = true;
  const TW_UINT16 items[2] = {8, 16};
  EXPECT_EQ(MakeEnumContainer(&capability_, EnumHeader{TWTY_UINT16, 2, 0, 0}, items), TWCC_LOWMEMORY);
  EXPECT_EQ(+capability_.hContainer, nullptr);
  EXPECT_EQ(RecordingAllocator::released, 1);
}

struct ReadCase {
  TW_UINT16 itemType;
  uint32_t stored;
  uint32_t read;
};

class ReadItemTest : public ContainerTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadItemTest, ReadsAsTheItemTypeSays) {
  ASSERT_EQ(MakeOneValueContainer(&capability_, GetParam().itemType, GetParam().stored), TWCC_SUCCESS);
  uint32_t value = 0xDEAD;
  EXPECT_TRUE(ReadOneValueItem(&capability_, &value));
  EXPECT_EQ(value, GetParam().read);
  gContainerAllocator->release(capability_.hContainer);
}

INSTANTIATE_TEST_SUITE_P(Types, ReadItemTest,
                         ::testing::Values(ReadCase{TWTY_UINT8, 0x12345678, 0x78},
                                           ReadCase{TWTY_INT16, 0x1234FFFF, 0xFFFF},
                                           ReadCase{TWTY_BOOL, 1, 1},
                                           ReadCase{TWTY_UINT32, 0x12345678, 0x12345678},
                                           ReadCase{TWTY_FIX32, 0x12345678, 0xDEAD}));

TEST_F(ContainerTest, EnumerationItemsAreReadByIndexWithinTheItems) {
  const uint32_t items[3] = {10, 20, 0x70000};
  ASSERT_EQ(MakeEnumContainer(&capability_, EnumHeader{TWTY_UINT32, 3, 0, 0}, items), TWCC_SUCCESS);
  uint32_t value = 0;
  EXPECT_TRUE(ReadEnumItem(&capability_, &value, 2));
  EXPECT_EQ(value, 0x70000u);
  EXPECT_FALSE(ReadEnumItem(&capability_, &value, 3));
  EXPECT_EQ(value, 0x70000u);
  gContainerAllocator->release(capability_.hContainer);
}

}  // namespace
