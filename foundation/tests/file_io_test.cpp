// Exact reads and writes at offsets, on both platforms.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "foundation/file_io.h"

namespace {

const char* kPath = "file_io_test.bin";

TEST(FileIo, WritesAndReadsExactCountsAtOffsets) {
  DeleteFileAt(kPath);
  FileHandle file = OpenFileReadWrite(kPath);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(WriteBytesAt(file, 0, "abcdef", 6));
  ASSERT_TRUE(WriteBytesAt(file, 10, "XY", 2));  // past the end: the gap reads as zeros
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(file, &size));
  EXPECT_EQ(size, 12u);
  char buffer[12];
  ASSERT_TRUE(ReadBytesAt(file, 0, buffer, 12));
  EXPECT_EQ(std::memcmp(buffer, "abcdef\0\0\0\0XY", 12), 0);
  EXPECT_FALSE(ReadBytesAt(file, 8, buffer, 5)) << "a short read is a failure";
  ASSERT_TRUE(SetFileSize(file, 3));
  ASSERT_TRUE(GetFileSize(file, &size));
  EXPECT_EQ(size, 3u);
  CloseFile(file);
  EXPECT_TRUE(FileExists(kPath));
  EXPECT_TRUE(DeleteFileAt(kPath));
  EXPECT_FALSE(FileExists(kPath));
}

TEST(FileIo, ExistingOnlyAndNotShared) {
  DeleteFileAt(kPath);
  EXPECT_EQ(OpenExistingFileReadWrite(kPath), nullptr);
  EXPECT_EQ(OpenFileForReading(kPath), nullptr);
  FileHandle first = OpenFileReadWrite(kPath);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(OpenExistingFileReadWrite(kPath), nullptr) << "a store is not shared with other writers";
  CloseFile(first);
  FileHandle again = OpenExistingFileReadWrite(kPath);
  EXPECT_NE(again, nullptr);
  CloseFile(again);
  CloseFile(nullptr);
  DeleteFileAt(kPath);
}

}  // namespace
