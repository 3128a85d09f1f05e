// Exact reads and writes at offsets, on both platforms.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/name_list.h"

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

void Gather(const char* name, void* context) {
  auto** list = static_cast<NameNode**>(context);
  *list = PushNameNode(*list, name);
}

// Folders in the system's form ("\\" separators) on both platforms.
TEST(Folders, CreateListAndDeleteWithTheirFiles) {
  const char* folder = "folder_test\\";
  DeleteFolder(folder);
  EXPECT_EQ(CreateFolder(folder), kFolderCreated);
  EXPECT_EQ(CreateFolder(folder), kFolderExists);
  EXPECT_TRUE(FolderExists(folder));
  for (const char* name : {"folder_test\\a.prf", "folder_test\\b.txt"}) CloseFile(CreateFileForWriting(name));
  EXPECT_EQ(CreateFolder("folder_test\\inner\\"), kFolderCreated);
  NameNode* names = nullptr;
  ASSERT_TRUE(ForEachFileInFolder(folder, Gather, &names));
  int position = 0;
  EXPECT_TRUE(FindNameInList("a.prf", names, &position));
  EXPECT_TRUE(FindNameInList("b.txt", names, &position));
  EXPECT_FALSE(FindNameInList("inner", names, &position)) << "folders are not listed";
  FreeNameList(&names);
  EXPECT_FALSE(DeleteFolder(folder)) << "a sub-folder keeps the folder";
  EXPECT_FALSE(FileExists("folder_test\\a.prf")) << "but its files are gone";
  EXPECT_TRUE(RemoveFolder("folder_test\\inner\\"));
  EXPECT_TRUE(DeleteFolder(folder));
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_EQ(CreateFolder("no_such_parent\\child\\"), kFolderFailed);
  EXPECT_FALSE(ForEachFileInFolder("no_such_parent\\", Gather, &names));
}

}  // namespace
