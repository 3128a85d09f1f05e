// Memory blocks and MemHandles.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "foundation/memory.h"

namespace {

TEST(MemHandle, RecordCarriesMarkerAndSize) {
  MemHandle handle = NewMemHandle(100);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(gMemError, kMemNoError);
  EXPECT_EQ(std::memcmp(handle->marker, "OTOF", 4), 0);
  EXPECT_EQ(MemHandleSize(handle), 100u);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(handle->data[i], 0) << "zero-filled";
  DisposeMemHandle(handle);
  EXPECT_EQ(gMemError, kMemNoError);
}

TEST(MemHandle, NullHandleAndExhaustionAreReportedInTheErrorWord) {
  EXPECT_EQ(MemHandleSize(nullptr), 0u);
  EXPECT_EQ(gMemError, kMemNullHandleError);
  DisposeMemHandle(nullptr);
  EXPECT_EQ(gMemError, kMemNullHandleError);
  EXPECT_EQ(NewMemHandle(0xF0000000u), nullptr);
  EXPECT_EQ(gMemError, kMemFullError);
  EXPECT_EQ(AllocBlock(0xF0000000u), nullptr);
}

TEST(MemHandle, ResizeKeepsLargerHandlesAndReplacesSmallerOnes) {
  MemHandle handle = NewMemHandle(100);
  handle->data[0] = 42;
  MemHandle before = handle;

  ResizeMemHandle(&handle, 50);
  EXPECT_EQ(handle, before) << "shrinking keeps the handle";
  EXPECT_EQ(handle->data[0], 42);
  EXPECT_EQ(MemHandleSize(handle), 100u);

  ResizeMemHandle(&handle, 200);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(MemHandleSize(handle), 200u);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(handle->data[i], 0) << "growing never carries contents over";

  ResizeMemHandle(&handle, 0);
  EXPECT_EQ(handle, nullptr);

  ResizeMemHandle(&handle, 8);
  ASSERT_NE(handle, nullptr) << "a null variable receives a new handle";
  ResizeMemHandle(&handle, 0xF0000000u);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(gMemError, kMemFullError);
}

TEST(MoveBytes, SourceComesFirstAndOverlapsDoNotSmear) {
  unsigned char bytes[12];
  std::iota(bytes, bytes + 12, 1);
  MoveBytes(bytes, bytes + 1, 10);  // up by one
  const unsigned char up[12] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
  EXPECT_EQ(std::memcmp(bytes, up, 12), 0);

  std::iota(bytes, bytes + 12, 1);
  MoveBytes(bytes + 1, bytes, 10);  // down by one
  const unsigned char down[12] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11, 12};
  EXPECT_EQ(std::memcmp(bytes, down, 12), 0);
}

}  // namespace
