// Stream handles: the state block's layout and magics, the validity check,
// and reading, writing, seeking and closing over files, memory and callbacks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/io_stream.h"
#include "imagelib/platform.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

uint32_t WordAt(const void* block, size_t offset) {
  uint32_t word;
  std::memcpy(&word, static_cast<const uint8_t*>(block) + offset, sizeof word);
  return word;
}

void WriteFile(const char* path, const std::string& bytes) {
  FILE* file = std::fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A memory stream over data in a block of the given size; a block too small
// for the whole state gets no end magic.
ImageStream MemoryStream(size_t block_size, std::vector<uint8_t>& data, int write_mode) {
  ImageStream handle = GlobalBlockAlloc(block_size);
  auto* state = static_cast<IoState*>(handle);
  state->kind = kIoMemory;
  state->memory_base = data.data();
  state->capacity = static_cast<uint32_t>(data.size());
  state->write_mode = write_mode;
  state->start_magic = kIoStartMagic;
  if (block_size >= sizeof(IoState)) state->end_magic = kIoEndMagic;
  return handle;
}

TEST(StreamState, FileSourceBlockHoldsTheMagicsAndThePath) {
  WriteFile("stream_layout.bin", "abc");
  ImageStream handle = OpenFileSource("stream_layout.bin");
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GetLastImageError(), kImageOk);
  EXPECT_EQ(GlobalBlockSize(handle), sizeof(IoState));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(sizeof(IoState), 332u);
    EXPECT_EQ(offsetof(IoState, end_magic), 328u);
  }
  EXPECT_EQ(WordAt(handle, 0), 0x03031996u);
  EXPECT_EQ(WordAt(handle, offsetof(IoState, end_magic)), 0x09241996u);
  EXPECT_EQ(WordAt(handle, offsetof(IoState, kind)), 1u);
  EXPECT_STREQ(static_cast<const char*>(handle) + offsetof(IoState, path), "stream_layout.bin");
  EXPECT_EQ(CloseFileSource(handle), 0);
}

// What makes a handle invalid; every file entry point refuses it with 38.
struct InvalidCase {
  const char* name;
  void (*spoil)(IoState& state);
  size_t block_size;
};

const InvalidCase kInvalidCases[] = {
    {"start magic", [](IoState& s) { s.start_magic = 0x03031997; }, sizeof(IoState)},
    {"end magic", [](IoState& s) { s.end_magic = 0; }, sizeof(IoState)},
    {"kind", [](IoState& s) { s.kind = 4; }, sizeof(IoState)},
    {"memory without capacity", [](IoState& s) { s.capacity = 0; }, sizeof(IoState)},
    {"memory without base", [](IoState& s) { s.memory_base = nullptr; }, sizeof(IoState)},
    {"file without file", [](IoState& s) { s.kind = kIoFile; }, sizeof(IoState)},
    {"block too small", [](IoState&) {}, sizeof(IoState) - 1},
};

class InvalidStream : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidStream, IsRefusedWith38) {
  std::vector<uint8_t> data(16, 7);
  ImageStream handle = MemoryStream(GetParam().block_size, data, 0);
  if (GetParam().block_size == sizeof(IoState)) GetParam().spoil(*static_cast<IoState*>(handle));
  EXPECT_FALSE(IoStream(handle).IsValid());
  int width = 0, height = 0, bits = 0;
  uint8_t pixel[3] = {};
  EXPECT_EQ(ReadBmpFile(handle, &width, &height, 24, nullptr), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  EXPECT_EQ(GetJpegFileInfo(handle, &width, &height, &bits, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  EXPECT_EQ(WriteTgaFile(handle, pixel, 1, 1, 24, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  EXPECT_EQ(SeekStream(handle, 0, 0), 0);
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  EXPECT_EQ(CloseFileSource(handle), 0);
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  GlobalBlockFree(handle);
}

INSTANTIATE_TEST_SUITE_P(Handles, InvalidStream, ::testing::ValuesIn(kInvalidCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == ' ') c = '_';
                           return name;
                         });

TEST(FileStreams, OpenFailuresAndNullHandles) {
  EXPECT_EQ(OpenFileSource("does not exist.bin"), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageCannotOpen);
  EXPECT_EQ(OpenFileSource(""), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageCannotOpen);
  EXPECT_EQ(OpenFileSink("no/such/folder/out.bin"), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageCannotOpen);
  EXPECT_EQ(SeekStream(nullptr, 0, 0), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(CloseFileSource(nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(CloseFileSink(nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST(FileStreams, SourceReadsToItsEndAndClosesAtItsPosition) {
  WriteFile("stream_source.bin", "0123456789");
  ImageStream handle = OpenFileSource("stream_source.bin");
  ASSERT_NE(handle, nullptr);
  IoStream stream(handle);
  char buffer[8] = {};
  EXPECT_TRUE(stream.ReadExact(buffer, 4));
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(stream.Size(), 10);
  EXPECT_EQ(stream.Tell(), 4);
  EXPECT_FALSE(stream.WriteBlock("x", 1));  // a source takes no writes
  EXPECT_EQ(SeekStream(handle, -2, 2), 1);
  EXPECT_EQ(stream.Read(buffer, 8), 2u);
  EXPECT_EQ(stream.Read(buffer, 8), 0u);
  EXPECT_FALSE(stream.ReadExact(buffer, 1));
  EXPECT_EQ(SeekStream(handle, 3, 0), 1);
  EXPECT_EQ(SeekStream(handle, 0, 7), 0);
  EXPECT_EQ(GetLastImageError(), kImageReadFailed);
  EXPECT_EQ(CloseFileSource(handle), 3);
  EXPECT_EQ(GetLastImageError(), kImageOk);
}

TEST(FileStreams, SinkClosesWithItsSize) {
  ImageStream empty = OpenFileSink("stream_empty.bin");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(CloseFileSink(empty), 0);

  ImageStream handle = OpenFileSink("stream_sink.bin");
  ASSERT_NE(handle, nullptr);
  IoStream stream(handle);
  EXPECT_TRUE(stream.Write("abcdef", 3, 2));
  EXPECT_TRUE(stream.Rewind());
  EXPECT_TRUE(stream.WriteBlock("XY", 2));
  EXPECT_EQ(CloseFileSink(handle), 6);
  ImageStream source = OpenFileSource("stream_sink.bin");
  char buffer[6];
  EXPECT_TRUE(IoStream(source).ReadExact(buffer, 6));
  EXPECT_EQ(std::string(buffer, 6), "XYcdef");
  CloseFileSource(source);
}

TEST(MemoryStreams, SourceReadsUpToItsCapacity) {
  std::vector<uint8_t> data = {1, 2, 3, 4, 5};
  ImageStream handle = MemoryStream(sizeof(IoState), data, 0);
  IoStream stream(handle);
  ASSERT_TRUE(stream.IsValid());
  uint8_t buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 3), 3u);
  EXPECT_EQ(stream.Read(buffer, 8), 2u);
  EXPECT_EQ(buffer[1], 5);
  EXPECT_FALSE(stream.ReadExact(buffer, 1));
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_FALSE(stream.Seek(1, 2));
  EXPECT_FALSE(stream.Seek(-6, 2));
  EXPECT_TRUE(stream.Seek(-2, 2));
  EXPECT_EQ(stream.Tell(), 3);
  EXPECT_EQ(stream.Read(buffer, 8), 2u);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_TRUE(stream.Seek(-5, 1));
  EXPECT_FALSE(stream.Seek(-1, 1));
  EXPECT_FALSE(stream.Seek(6, 0));
  EXPECT_FALSE(stream.Write(buffer, 1, 1));
  EXPECT_TRUE(stream.Close());
  GlobalBlockFree(handle);
}

TEST(MemoryStreams, SinkKeepsItsHighWaterMarkBelowTheCapacity) {
  std::vector<uint8_t> data(8, 0);
  ImageStream handle = MemoryStream(sizeof(IoState), data, 1);
  IoStream stream(handle);
  EXPECT_TRUE(stream.Write("abcd", 2, 2));
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_TRUE(stream.Seek(6, 0));
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_FALSE(stream.WriteBlock("xy", 2));  // would reach the capacity
  EXPECT_TRUE(stream.WriteBlock("x", 1));
  EXPECT_FALSE(stream.Seek(8, 0));
  EXPECT_TRUE(stream.Seek(-3, 2));
  EXPECT_EQ(stream.Tell(), 4);
  uint8_t buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 3u);  // up to the high-water mark
  EXPECT_EQ(buffer[2], 'x');
  EXPECT_EQ(std::memcmp(data.data(), "abcd", 4), 0);
  GlobalBlockFree(handle);
}

struct CallbackLog {
  std::string calls;
};

TEST(CallbackStreams, EveryOperationReachesItsCallbackWithTheUserData) {
  CallbackLog log;
  ImageStream handle = GlobalBlockAlloc(sizeof(IoState));
  auto* state = static_cast<IoState*>(handle);
  state->kind = kIoCallbacks;
  state->write_mode = 1;
  state->user_data = &log;
  state->read = [](void* buffer, uint32_t count, void* user) -> uint32_t {
    static_cast<CallbackLog*>(user)->calls += "r" + std::to_string(count);
    std::memset(buffer, 'z', count / 2);
    return count / 2;
  };
  state->write = [](const void*, uint32_t bytes, void* user) -> int {
    static_cast<CallbackLog*>(user)->calls += "w" + std::to_string(bytes);
    return 1;
  };
  state->seek = [](long offset, int origin, void* user) -> int {
    static_cast<CallbackLog*>(user)->calls += "s" + std::to_string(offset) + "," + std::to_string(origin);
    return 1;
  };
  state->tell = [](void* user) -> long {
    static_cast<CallbackLog*>(user)->calls += "t";
    return 42;
  };
  state->size = [](void* user) -> long {
    static_cast<CallbackLog*>(user)->calls += "z";
    return 99;
  };
  state->close = [](void* user) -> int {
    static_cast<CallbackLog*>(user)->calls += "c";
    return 1;
  };
  IoStream stream(handle);
  stream.StampMagics();
  ASSERT_TRUE(stream.IsValid());
  char buffer[10];
  EXPECT_FALSE(stream.ReadExact(buffer, 10));
  EXPECT_TRUE(stream.Write(buffer, 4, 3));
  EXPECT_TRUE(stream.Seek(-7, 1));
  EXPECT_EQ(stream.Tell(), 42);
  EXPECT_EQ(CloseFileSink(handle), 99);
  EXPECT_EQ(log.calls, "r10w12s-7,1tzc");
}

TEST(ResultBlocks, RequestsAboveTheLargestBlockFail) {
  EXPECT_EQ(AllocateBlock(2147348479ull), nullptr);
  EXPECT_EQ(AllocateBlock(uint64_t{1} << 40), nullptr);
  EXPECT_EQ(AllocateBlock(0), nullptr);
  void* block = AllocateBlock(1000);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalBlockSize(block), 1000u);
  EXPECT_EQ(static_cast<uint8_t*>(block)[999], 0);
  GlobalBlockFree(block);
}

}  // namespace
