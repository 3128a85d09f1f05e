// The checks every reader, information and writer entry point makes before
// its codec runs, the answer of the codecs still to come, the kept header
// data and the JPEG sampling settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/io_state.h"
#include "imagelib/library_context.h"
#include "imagelib/platform.h"

using namespace imagelib;

namespace {

// One entry point called on a stream with a depth; answers whether it returned non-zero.
using StreamCall = std::function<bool(ImageStream stream, int bits)>;

struct EntryCase {
  const char* name;
  StreamCall call;
  std::vector<int> offered;  // depths the entry takes; empty when the codec decides
  int refused_depth;
};

int gWidth, gHeight, gBits, gColorType, gInterlace;
PaletteEntry gPalette[kPaletteEntries];
const uint8_t kPixels[4 * 4 * 4] = {};

std::vector<EntryCase> EntryCases() {
  return {
      {"ReadBmpFile", [](ImageStream s, int b) { return ReadBmpFile(s, &gWidth, &gHeight, b, gPalette) != nullptr; },
       {1, 8, 24}, 4},
      {"ReadPcxFile", [](ImageStream s, int b) { return ReadPcxFile(s, &gWidth, &gHeight, b, gPalette) != nullptr; },
       {8, 24}, 1},
      {"ReadTgaFile", [](ImageStream s, int b) { return ReadTgaFile(s, &gWidth, &gHeight, b, gPalette) != nullptr; },
       {8, 24}, 32},
      {"ReadPsdFile", [](ImageStream s, int b) { return ReadPsdFile(s, &gWidth, &gHeight, b, gPalette) != nullptr; },
       {8, 24}, 16},
      {"ReadTiffFile", [](ImageStream s, int b) { return ReadTiffFile(s, &gWidth, &gHeight, b, 0, 0) != nullptr; },
       {24, 32}, 8},
      {"ReadPngFile", [](ImageStream s, int b) { return ReadPngFile(s, &gWidth, &gHeight, b, gPalette) != nullptr; },
       {8, 24, 32}, 16},
      {"ReadJpegFile", [](ImageStream s, int b) { return ReadJpegFile(s, &gWidth, &gHeight, b) != nullptr; },
       {8, 24}, 16},
      {"GetTiffFileInfo", [](ImageStream s, int) { return GetTiffFileInfo(s, &gWidth, &gHeight, &gBits, nullptr); },
       {}, 0},
      {"GetJpegFileInfo", [](ImageStream s, int) { return GetJpegFileInfo(s, &gWidth, &gHeight, &gBits, nullptr); },
       {}, 0},
      {"GetPngFileInfo",
       [](ImageStream s, int) {
         return GetPngFileInfo(s, &gWidth, &gHeight, &gBits, &gColorType, &gInterlace, nullptr);
       },
       {}, 0},
      {"WriteBmpFile", [](ImageStream s, int b) { return WriteBmpFile(s, kPixels, 4, 4, b, 0, nullptr, 0); },
       {}, 0},
      {"WritePcxFile", [](ImageStream s, int b) { return WritePcxFile(s, kPixels, 4, 4, b, gPalette); }, {8, 24}, 1},
      {"WriteTgaFile", [](ImageStream s, int b) { return WriteTgaFile(s, kPixels, 4, 4, b, gPalette); }, {8, 24}, 32},
      {"WritePsdFile", [](ImageStream s, int b) { return WritePsdFile(s, kPixels, 4, 4, b, gPalette); }, {8, 24}, 4},
      {"WriteTiffFile",
       [](ImageStream s, int b) { return WriteTiffFile(s, kPixels, 4, 4, b, gPalette, 1, nullptr); }, {8, 24}, 32},
      {"WritePngFile",
       [](ImageStream s, int b) { return WritePngFile(s, kPixels, 4, 4, 12, b, 0, nullptr, 2, 0, 0, nullptr); },
       {}, 0},
      {"WriteJpegFile", [](ImageStream s, int b) { return WriteJpegFile(s, kPixels, 4, 4, 75, 0, b, nullptr); },
       {8, 24}, 16},
      {"WriteWmfFile", [](ImageStream s, int) { return WriteWmfFile(s, kPixels, 4, 4, 1); }, {}, 0},
      {"WriteEmfFile", [](ImageStream s, int) { return WriteEmfFile(s, kPixels, 4, 4); }, {}, 0},
  };
}

class FileEntryPoint : public ::testing::TestWithParam<EntryCase> {
 protected:
  void SetUp() override {
    std::FILE* file = std::fopen("entry_points.bin", "wb");
    std::fputs("not an image", file);
    std::fclose(file);
    stream_ = std::string(GetParam().name).rfind("Write", 0) == 0 ? OpenFileSink("entry_points_out.bin")
                                                                  : OpenFileSource("entry_points.bin");
    ASSERT_NE(stream_, nullptr);
  }
  void TearDown() override { CloseFileSource(stream_); }

  int OfferedDepth() const { return GetParam().offered.empty() ? 24 : GetParam().offered.front(); }

  ImageStream stream_ = nullptr;
};

TEST_P(FileEntryPoint, RefusesANullStreamWith5) {
  EXPECT_FALSE(GetParam().call(nullptr, OfferedDepth()));
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST_P(FileEntryPoint, RefusesAnInvalidStreamWith38) {
  ImageStream foreign = GlobalBlockAlloc(sizeof(IoState));
  EXPECT_FALSE(GetParam().call(foreign, OfferedDepth()));
  EXPECT_EQ(GetLastImageError(), kImageInvalidStream);
  GlobalBlockFree(foreign);
}

TEST_P(FileEntryPoint, RefusesADepthItDoesNotOfferWith5) {
  if (GetParam().offered.empty()) GTEST_SKIP() << "the codec checks the depth";
  EXPECT_FALSE(GetParam().call(stream_, GetParam().refused_depth));
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

INSTANTIATE_TEST_SUITE_P(All, FileEntryPoint, ::testing::ValuesIn(EntryCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The codecs are separate pieces of work; until one is in, its entry points
// answer 28. A built codec leaves this list, and its own tests take over.
// The host build has no GDI: its metafile writers answer 28 for good.
#ifdef _WIN32
const char* const kPendingEntries[] = {""};
#else
const char* const kPendingEntries[] = {
    "WriteWmfFile", "WriteEmfFile",
};
#endif

std::vector<EntryCase> PendingEntryCases() {
  std::vector<EntryCase> pending;
  for (const EntryCase& entry : EntryCases())
    for (const char* name : kPendingEntries)
      if (std::string(entry.name) == name) pending.push_back(entry);
  return pending;
}

using PendingEntryPoint = FileEntryPoint;

TEST_P(PendingEntryPoint, AnswersUnsupportedUntilItsCodecIsBuilt) {
  for (int depth : GetParam().offered.empty() ? std::vector<int>{24} : GetParam().offered) {
    EXPECT_FALSE(GetParam().call(stream_, depth));
    EXPECT_EQ(GetLastImageError(), kImageUnsupported) << "depth " << depth;
  }
  EXPECT_EQ(GetContext()->depth, 0);
}

INSTANTIATE_TEST_SUITE_P(Pending, PendingEntryPoint, ::testing::ValuesIn(PendingEntryCases()),
                         [](const auto& info) { return std::string(info.param.name); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PendingEntryPoint);

TEST(ReaderArguments, MissingOutputsAreRefusedWith5) {
  ImageStream sink = OpenFileSink("entry_points_out.bin");
  EXPECT_EQ(ReadPsdFile(sink, nullptr, &gHeight, 24, gPalette), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(ReadJpegFile(sink, &gWidth, nullptr, 24), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(GetPngFileInfo(sink, &gWidth, &gHeight, &gBits, nullptr, &gInterlace, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(WriteJpegFile(sink, nullptr, 4, 4, 75, 0, 24, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(RenderMetafileFile(nullptr, &gWidth, &gHeight, 100, 100, 0x808080), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(ReduceToPalette(kPixels, 4, 4, nullptr, 256, gPalette, 0), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(MakeOptimalPalette(kPixels, 4, 4, 256, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  CloseFileSink(sink);
}

TEST(JpegSampling, FactorsAreClampedAndANullArrayClearsTheFlag) {
  const int horizontal[10] = {0, 2, 3, 9, -1, 1, 4, 2, 3, -7};
  const int vertical[10] = {1, 1, 2, 2, 3, 3, 5, 100, 0, 2};
  SetJpegSampling(horizontal, vertical);
  JpegSettings& jpeg = GetContext()->jpeg;
  EXPECT_EQ(GetLastImageError(), kImageOk);
  EXPECT_EQ(jpeg.sampling_enabled, 1);
  const int clamped_horizontal[10] = {1, 2, 3, 4, 4, 1, 4, 2, 3, 4};
  const int clamped_vertical[10] = {1, 1, 2, 2, 3, 3, 4, 4, 1, 2};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(jpeg.horizontal_sampling[i], clamped_horizontal[i]) << i;
    EXPECT_EQ(jpeg.vertical_sampling[i], clamped_vertical[i]) << i;
  }
  SetJpegSampling(horizontal, nullptr);
  EXPECT_EQ(jpeg.sampling_enabled, 0);
}

class KeptHeaderData : public ::testing::Test {
 protected:
  void SetUp() override {
    LibraryContext* context = GetContext();
    context->png.kept_texts = {{"Title", "Harbour", 0}, {"Comment", "taken at dawn", 1}};
    context->jpeg.kept_comments = {{0xFE, "first", {}}, {0xFE, "second", {}}};
    context->jpeg.kept_markers = {{0xE1, "", std::vector<uint8_t>(100, 0x5A)}};
  }
  void TearDown() override {
    LibraryContext* context = GetContext();
    context->png.kept_texts.clear();
    context->jpeg.kept_comments.clear();
    context->jpeg.kept_markers.clear();
  }
};

TEST_F(KeptHeaderData, PngTextsAreCopiedOut) {
  EXPECT_EQ(CountPngTexts(), 2);
  char* keyword = nullptr;
  char* text = nullptr;
  int compressed = -1;
  ASSERT_EQ(GetPngText(1, &keyword, &text, &compressed), 1);
  EXPECT_STREQ(keyword, "Comment");
  EXPECT_STREQ(text, "taken at dawn");
  EXPECT_EQ(compressed, 1);
  GlobalBlockFree(keyword);
  GlobalBlockFree(text);
  EXPECT_EQ(GetPngText(2, &keyword, &text, &compressed), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(GetPngText(-1, &keyword, &text, &compressed), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST_F(KeptHeaderData, JpegCommentsAreCopiedOutAndTheCountIsTheLimit) {
  GetContext()->last_error = kImageNoMemory;
  int count = CountJpegComments();
  EXPECT_EQ(count, 2);
  EXPECT_EQ(GetLastImageError(), kImageOk);
  char* comment = GetJpegComment(1);
  ASSERT_NE(comment, nullptr);
  EXPECT_STREQ(comment, "second");
  EXPECT_EQ(GlobalBlockSize(comment), 7u);
  GlobalBlockFree(comment);
  EXPECT_EQ(GetJpegComment(count), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST_F(KeptHeaderData, JpegMarkersAreCopiedOutWithTheirCode) {
  EXPECT_EQ(CountJpegMarkers(), 1);
  uint8_t* data = nullptr;
  int length = 0;
  int marker = 0;
  ASSERT_EQ(GetJpegMarker(0, &data, &length, &marker), 1);
  EXPECT_EQ(length, 100);
  EXPECT_EQ(marker, 0xE1);
  EXPECT_EQ(data[99], 0x5A);
  GlobalBlockFree(data);
  EXPECT_EQ(GetJpegMarker(1, &data, &length, &marker), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

TEST(KeptHeaderDataPerThread, AnotherThreadKeepsNothing) {
  GetContext()->jpeg.kept_comments = {{0xFE, "mine", {}}};
  int other = -1;
  std::thread([&] { other = CountJpegComments(); }).join();
  EXPECT_EQ(other, 0);
  EXPECT_EQ(CountJpegComments(), 1);
  GetContext()->jpeg.kept_comments.clear();
}

}  // namespace
