// Memory running out inside a triplet: the host gets a failure with
// TWCC_LOWMEMORY and the log a line, never an exception, and the source goes
// on working once memory is there again.
//
// The failing allocation comes from this program's own operator new, which
// takes the place of the library's for everything linked in here.
#include <cstdlib>
#include <new>

#include "foundation/log/log_file.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "twain/tests/twain_test_support.h"

namespace {

// -1: allocations succeed; otherwise the number of allocations still granted
// before one fails (only that one).
long gAllocationsBeforeFailure = -1;

}  // namespace

void* operator new(std::size_t size) {
  if (gAllocationsBeforeFailure >= 0 && gAllocationsBeforeFailure-- == 0) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

std::string LogText() {
  char path[kPathSize];
  if (!GetTemporaryFolder(path, sizeof path)) return "";
  AppendToPath(path, kLogFileName);
  FileHandle file = OpenFileForReading(path);
  uint64_t size = 0;
  if (!file || !GetFileSize(file, &size)) {
    CloseFile(file);
    return "";
  }
  std::string text(static_cast<size_t>(size), '\0');
  ReadBytesAt(file, 0, &text[0], static_cast<uint32_t>(size));
  CloseFile(file);
  return text;
}

class EntryGuardTest : public TwainModuleTest {};

TEST_F(EntryGuardTest, AnAllocationFailingInATripletBecomesLowMemory) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  gAllocationsBeforeFailure = 0;
  const TW_UINT16 result = Enable();
  gAllocationsBeforeFailure = -1;
  EXPECT_EQ(result, TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_LOWMEMORY);
  EXPECT_NE(LogText().find("DS_Entry: out of memory"), std::string::npos);
  EXPECT_EQ(gTwainState, kStateOpen);

  EXPECT_EQ(Enable(), TWRC_SUCCESS) << "the source works again";
  EXPECT_EQ(gTwainState, kStateEnabled);
}

}  // namespace
