#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/paths.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const void* bytes, size_t count) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(count));
}

std::string PathOf(PreviewFileKind kind) {
  char path[kPathSize];
  EXPECT_TRUE(PreviewFilePath(kind, path));
  std::string text = path;
  for (char& c : text)
    if (c == '\\') c = PathSeparator();  // the host takes the system's separators
  return text;
}

// The files carry the device's name, which an open image gives.
const ScanNameSource kDeviceName = {[](unsigned char* name) { PStrFromC(name, "ZIR test.tif"); }, [] { return false; },
                                    [] { return false; }};

class PreviewStoreTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    SetScanNameSource(&kDeviceName);
  }
  void TearDown() override {
    SetScanNameSource(nullptr);
    FreePreviewBuffers();
    if (gPrescanStore) DisposeMemHandle(gPrescanStore);
    gPrescanStore = nullptr;
    gHighBitPreview = false;
    gPreviewZoomed = false;
    SessionTest::TearDown();
  }
};

TEST_F(PreviewStoreTest, StoreRowsKeepThreePlanesAndCopyGrey) {
  gHighBitPreview = true;
  ASSERT_TRUE(AllocPreviewBuffers(4, 3));
  ASSERT_NE(gPreviewStore, nullptr);
  EXPECT_EQ(gPreviewStore->size, 4u * 3 * 6);
  EXPECT_EQ(gPreviewStore->data[0], 0xFF);
  EXPECT_EQ(gPreviewDib->height, -4);

  const uint16_t colour[2][9] = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 12, 13, 14, 15, 16, 17, 18, 19}};
  ASSERT_TRUE(StoreRowsIn(&colour[0][0], 1, 2, 3, false));
  const uint16_t grey[3] = {40, 41, 42};
  ASSERT_TRUE(StoreRowsIn(grey, 3, 1, 3, true));
  uint16_t out[3][9];
  ASSERT_TRUE(StoreRowsOut(&out[0][0], 1, 3, 3));
  EXPECT_EQ(std::vector<uint16_t>(out[1], out[1] + 9), std::vector<uint16_t>(colour[1], colour[1] + 9));
  EXPECT_EQ(std::vector<uint16_t>(out[2], out[2] + 9), std::vector<uint16_t>({40, 41, 42, 40, 41, 42, 40, 41, 42}));
  EXPECT_FALSE(StoreRowsIn(grey, 4, 1, 3, true));  // past the last row
  EXPECT_FALSE(StoreRowsOut(&out[0][0], 0, 1, 4));  // wider than the store

  // The identity table: the top 8 of 16 bits; red plane into byte 2, blue into byte 0.
  const uint16_t rgb[9] = {0x1200, 0x1200, 0x1200, 0x3400, 0x3400, 0x3400, 0x5600, 0x5600, 0x5600};
  ASSERT_TRUE(StoreRowsIn(rgb, 0, 1, 3, false));
  ASSERT_TRUE(RenderStoreToDib(gPreviewDib, nullptr));
  const uint8_t* pixel = GlobalDibBits(gPreviewDib) + 4;
  EXPECT_EQ(pixel[0], 0x56);
  EXPECT_EQ(pixel[1], 0x34);
  EXPECT_EQ(pixel[2], 0x12);
  EXPECT_EQ(PreviewConversionLut(), nullptr);  // freed after the render
}

TEST_F(PreviewStoreTest, SamplingAndResampling) {
  // Nearest neighbour from width 4 to width 6.
  std::vector<int32_t> columns;
  for (int32_t c = 0; c < 6; ++c) columns.push_back(NearestSourceIndex(c, 4, 6));
  EXPECT_EQ(columns, std::vector<int32_t>({0, 0, 1, 2, 2, 3}));
  const uint16_t source[12] = {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23};
  uint16_t wide[18];
  ResampleStoreNearest(source, 4, 1, wide, 6, 1);
  EXPECT_EQ(std::vector<uint16_t>(wide + 6, wide + 12), std::vector<uint16_t>({10, 10, 11, 12, 12, 13}));

  // f = 3: preview column j from prescan column 3j; 8-bit planes green, red, blue.
  uint8_t row[3 * 7];
  for (int i = 0; i < 7; ++i) row[i] = static_cast<uint8_t>(100 + i), row[7 + i] = static_cast<uint8_t>(i),
                              row[14 + i] = static_cast<uint8_t>(200 + i);
  uint8_t pixels[3 * 4] = {};
  PreviewRowFromPrescan8(row, 7, false, 3, pixels, 3);
  const uint8_t expected[12] = {200, 100, 0, 0, 203, 103, 3, 0, 206, 106, 6, 0};
  EXPECT_EQ(std::memcmp(pixels, expected, sizeof expected), 0);
  // Converted 16-bit planes come red, green, blue.
  PreviewRowFromRgbPlanes(row, 7, false, 3, pixels, 3);
  const uint8_t converted[4] = {203, 3, 103, 0};
  EXPECT_EQ(std::memcmp(pixels + 4, converted, 4), 0);

  EXPECT_TRUE(IsSmallPreviewArea(99, 100));
  EXPECT_FALSE(IsSmallPreviewArea(100, 100));
}

TEST_F(PreviewStoreTest, PrescanFileIsFilledToItsHeightWithTheLastRow) {
  const std::string path = PathOf(kPrescanFile);
  PrescanFileHeader header{};
  header.version = 1;
  header.channels = 3;
  header.bits = 16;
  header.width = 2;
  header.height = 5;
  header.prescanArea = DRect{0.5, 0.25, 4, 3};
  {
    PrescanFileWriter writer;
    ASSERT_TRUE(writer.Begin(OpenFileReadWrite(path.c_str()), header));
    std::vector<uint16_t> rows(2 * 6);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint16_t>(i + 1);
    ASSERT_TRUE(writer.AppendRows(rows.data(), 2));  // a cancelled prescan: two rows of five
    ASSERT_TRUE(writer.FillToHeight());
    EXPECT_EQ(writer.RowsWritten(), 5u);
  }
  const std::vector<uint8_t> bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 56u + 5 * 12);
  EXPECT_EQ(std::memcmp(bytes.data(), &header, 56), 0);
  for (int r = 2; r < 5; ++r) EXPECT_EQ(std::memcmp(&bytes[56 + 12], &bytes[56 + r * 12], 12), 0) << r;

  ASSERT_TRUE(LoadStoredPreview());
  EXPECT_EQ(gPrescanStore->size, 60u);
  EXPECT_EQ(gPrescanStoreRect.bottom, 5);
  EXPECT_EQ(gPrescanStoreRect.right, 2);
}

TEST_F(PreviewStoreTest, PreviewFilesRoundTrip) {
  struct Case {
    bool highBit, zoomed;
    size_t size;
  } cases[] = {{false, false, 4 + 2 * 3 * 4}, {false, true, 32 + 4 + 2 * 3 * 4}, {true, false, 88 + 2 * 3 * 6}};
  const DRect frame{1, 1, 2, 2};
  gPrescanArea = DRect{0, 0, 8, 10};
  for (const Case& c : cases) {
    gHighBitPreview = c.highBit;
    gPreviewZoomed = c.zoomed;
    ASSERT_TRUE(AllocPreviewBuffers(2, 3));
    FillGlobalDib(gPreviewBaseDib, 0x123456);
    if (c.highBit) std::memset(gPreviewStore->data, 0x5A, gPreviewStore->size);
    ASSERT_TRUE(WritePreviewFile(frame));
    const std::vector<uint8_t> bytes = ReadAll(PathOf(c.zoomed ? kZoomFile : kPreviewFile));
    EXPECT_EQ(bytes.size(), c.size);
    if (c.highBit) {
      MemHandle samples;
      int32_t width = 0, height = 0;
      ASSERT_TRUE(ReadPreviewStoreFile(&samples, &width, &height, frame));
      EXPECT_EQ(width, 3);
      EXPECT_EQ(height, 2);
      EXPECT_EQ(samples->data[35], 0x5A);
      DisposeMemHandle(samples);
    } else {
      GlobalDib dib;
      ASSERT_TRUE(ReadPreviewFile(&dib, frame));
      EXPECT_EQ(std::memcmp(GlobalDibBits(dib), GlobalDibBits(gPreviewBaseDib), dib->sizeImage), 0);
      FreeGlobalDib(dib);
    }
  }
  // A zoom file counts only while the current frame lies within the prescan area.
  gHighBitPreview = false;
  gPreviewZoomed = true;
  GlobalDib dib;
  EXPECT_FALSE(ReadPreviewFile(&dib, DRect{7, 9, 2, 2}));
}

// Headers are not trusted: sizes that overflow or pass the end of the file give no preview.
TEST_F(PreviewStoreTest, DamagedHeadersAreRefused) {
  struct EightBit {
    uint16_t height, width;
    size_t rowBytes;
  } eight[] = {{2, 3, 23}, {0, 3, 0}, {2, 0, 0}, {0xFFFF, 0xFFFF, 48}};
  for (const EightBit& c : eight) {
    std::vector<uint8_t> file(4 + c.rowBytes);
    std::memcpy(file.data(), &c.height, 2);
    std::memcpy(file.data() + 2, &c.width, 2);
    WriteAll(PathOf(kPreviewFile), file.data(), file.size());
    GlobalDib dib = nullptr;
    EXPECT_FALSE(ReadPreviewFile(&dib, DRect{})) << c.height << " x " << c.width;
    EXPECT_EQ(dib, nullptr);
  }

  gHighBitPreview = true;
  struct Store {
    uint32_t zero0, width, height;
    size_t samples;
  } stores[] = {{0, 2, 2, 23}, {1, 1, 1, 6}, {0, 0x10000, 0x10000, 6}, {0, 0xFFFFFFFF, 3, 6}, {0, 1, 0, 6}};
  for (const Store& c : stores) {
    PreviewStoreHeader header{};
    header.zero0 = c.zero0;
    header.channels = 3;
    header.bits = 16;
    header.width = c.width;
    header.height = c.height;
    std::vector<uint8_t> file(sizeof header + c.samples);
    std::memcpy(file.data(), &header, sizeof header);
    WriteAll(PathOf(kPreviewFile), file.data(), file.size());
    MemHandle samples = nullptr;
    int32_t width = 0, height = 0;
    EXPECT_FALSE(ReadPreviewStoreFile(&samples, &width, &height, DRect{})) << c.width << " x " << c.height;
  }

  struct Prescan {
    uint32_t version;
    uint16_t channels, single, bits;
    uint32_t width, height;
    size_t rowBytes;
  } prescans[] = {
      {1, 3, 0, 8, 2, 2, 12},         // 8 bits is no stored prescan
      {1, 1, 0, 16, 2, 2, 8},         // nor is one channel
      {1, 3, 1, 16, 2, 2, 24},        // nor a single-channel prescan
      {2, 3, 0, 16, 2, 2, 24},        // an unknown version
      {1, 3, 0, 16, 2, 2, 23},        // rows past the end
      {1, 3, 0, 16, 0xFFFFFFF, 0xFFFFFFF, 24},
      {1, 3, 0, 16, 30000, 30000, 24},  // more than one block would hold
  };
  for (const Prescan& c : prescans) {
    PrescanFileHeader header{};
    header.version = c.version;
    header.channels = c.channels;
    header.singleChannel = c.single;
    header.bits = c.bits;
    header.width = c.width;
    header.height = c.height;
    std::vector<uint8_t> file(sizeof header + c.rowBytes);
    std::memcpy(file.data(), &header, sizeof header);
    WriteAll(PathOf(kPrescanFile), file.data(), file.size());
    EXPECT_FALSE(LoadStoredPreview()) << c.version << " " << c.channels << " " << c.bits << " " << c.width;
    EXPECT_EQ(gPrescanStore, nullptr);
  }
}

TEST_F(PreviewStoreTest, DeletingPreviewFilesByKind) {
  auto path = [](PreviewFileKind kind, bool transparent, bool optionUnit, int16_t slot) {
    char text[kPathSize];
    EXPECT_TRUE(PreviewFilePathFor(kind, transparent, optionUnit, slot, text));
    return std::string(text);
  };
  struct File {
    PreviewFileKind kind;
    bool transparent, optionUnit;
    int16_t slot;
    bool previewFile;  // deleted with the previews, else with the zoom files
  } files[] = {
      {kPreviewFile, false, false, 0, true}, {kPreviewFile, true, false, 0, true},
      {kPreviewFile, true, true, 9, true},   {kPrescanFile, false, false, 0, true},
      {kZoomFile, false, false, 0, false},   {kZoomFile, true, true, 3, false},
  };
  for (bool previews : {true, false}) {
    for (const File& f : files) CloseFile(OpenFileReadWrite(path(f.kind, f.transparent, f.optionUnit, f.slot).c_str()));
    EXPECT_TRUE(PreviewFileExists(false));
    DeletePreviewFiles(previews, !previews);
    for (const File& f : files)
      EXPECT_EQ(FileExists(path(f.kind, f.transparent, f.optionUnit, f.slot).c_str()), f.previewFile != previews)
          << f.kind << " " << f.transparent << f.optionUnit << f.slot << " previews " << previews;
  }
  // The current keys alone: the preview and prescan files, or the zoom file.
  for (const File& f : files) CloseFile(OpenFileReadWrite(path(f.kind, f.transparent, f.optionUnit, f.slot).c_str()));
  DeleteCurrentPreviewFiles();
  EXPECT_FALSE(PreviewFileExists(false));
  EXPECT_FALSE(FileExists(path(kPrescanFile, false, false, 0).c_str()));
  EXPECT_TRUE(FileExists(path(kPreviewFile, true, false, 0).c_str()));
  EXPECT_TRUE(PreviewFileExists(true));
  DeletePreviewAuxFile();
  EXPECT_FALSE(PreviewFileExists(true));
  EXPECT_TRUE(FileExists(path(kZoomFile, true, true, 3).c_str()));
}

}  // namespace
