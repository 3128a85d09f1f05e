// Damaged and unsupported files: each is refused by ReadHeader with its error id,
// without reading outside the file or a buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "readers/reader_errors.h"
#include "readers/tests/tiff_fixture.h"

namespace {

struct DamagedFile {
  const char* name;
  int16_t id;
};

class TiffDamagedFile : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(TiffDamagedFile, IsRefusedWithItsId) {
  auto reader = OpenTiff(GetParam().name);
  ASSERT_TRUE(reader->ImageReaderIsOpen());
  ImageFileInfo info;
  EXPECT_EQ(reader->ReadHeader(&info), GetParam().id);
  EXPECT_EQ(reader->StartReading(0), kErrGeneralData) << "nothing is read after a refusal";
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffDamagedFile,
    ::testing::Values(
        // The file header and the directory chain.
        DamagedFile{"bad_magic", kErrGeneralData}, DamagedFile{"header_only", kErrGeneralData},
        DamagedFile{"ifd_past_end", kErrGeneralData}, DamagedFile{"truncated_ifd", kErrGeneralData},
        // The checks in their order.
        DamagedFile{"missing_width", kErrMissingTiffInfo}, DamagedFile{"zero_width", kErrZeroWidth},
        DamagedFile{"missing_height", kErrMissingTiffInfo}, DamagedFile{"zero_height", kErrZeroHeight},
        DamagedFile{"zero_samples", kErrZeroSamples}, DamagedFile{"five_samples", kErrTooManySamples},
        DamagedFile{"bits_count_one_for_rgb", kErrBadBitsPerSample},
        DamagedFile{"mixed_bits", kErrMixedBitsPerSample},
        // Depths the strip reader cannot convert; 0 would divide by zero when sizing bands.
        DamagedFile{"bits_zero", kErrBadBitsPerSample}, DamagedFile{"bits_twelve", kErrBadBitsPerSample},
        DamagedFile{"bits_thirty_two", kErrBadBitsPerSample},
        DamagedFile{"photometric_white_is_zero", kErrBadPhotometric},
        DamagedFile{"planar_three", kErrBadSampleOrder}, DamagedFile{"compression_lzw", kErrBadCompression},
        // A stripped file whose strip table fails is taken as tiled, and has no tiles.
        DamagedFile{"two_strips_no_counts", kErrMissingTiffInfo},
        DamagedFile{"strip_offsets_count_mismatch", kErrMissingTiffInfo},
        DamagedFile{"strip_offsets_huge_count", kErrMissingTiffInfo},
        DamagedFile{"strip_table_past_end", kErrMissingTiffInfo},
        DamagedFile{"strips_planar_separate", kErrBadSampleOrder},
        DamagedFile{"tiled_chunky", kErrBadSampleOrder}, DamagedFile{"tiled_no_tile_length", kErrMissingTiffInfo},
        DamagedFile{"tiled_offsets_count_mismatch", kErrStripOffsets},
        DamagedFile{"tiled_counts_count_mismatch", kErrStripByteCounts},
        DamagedFile{"tiled_four_bits", kErrBadBitsPerSample},
        DamagedFile{"orientation_five", kErrBadOrientation},
        // Numbers the file cannot back.
        DamagedFile{"bits_past_end", kErrGeneralData}, DamagedFile{"strip_offset_past_end", kErrStripOffsets},
        DamagedFile{"tiled_offset_past_end", kErrStripOffsets}, DamagedFile{"width_huge", kErrGeneralData},
        DamagedFile{"tiled_huge_tiles", kErrGeneralData}, DamagedFile{"icc_huge_count", kErrGeneralData},
        DamagedFile{"description_past_end", kErrGeneralData},
        DamagedFile{"resolution_past_end", kErrGeneralData}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return std::string(info.param.name); });

TEST(TiffDamagedFile, ResourcesPastTheEndAreNone) {
  auto reader = OpenTiff("resources_past_end");
  ASSERT_EQ(reader->ReadHeader(nullptr), 0);
  EXPECT_TRUE(reader->ReadImageResource(1033, nullptr).empty());
}

TEST(TiffDamagedFile, MissingFileIsAClosedReader) {
  auto reader = OpenTiff("no_such_file");
  EXPECT_FALSE(reader->ImageReaderIsOpen());
  EXPECT_EQ(reader->ReadHeader(nullptr), kErrGeneralData);
}

}  // namespace

namespace {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
  }
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
}

// Everything a caller may do with a file that passed the header.
void ExerciseReader(TiffReader* reader, uint32_t height, uint16_t samples) {
  if (reader->StartReading(0) != kReaderOk) return;
  std::vector<uint16_t> line(4096);
  for (uint32_t y = height; y >= 1 && y + 64 > height; --y) {
    for (int channel = 0; channel < samples; ++channel) {
      int32_t count = 4096;
      reader->ReadLineSamples(y, 0, channel, line.data(), &count);
    }
  }
  std::vector<uint8_t> bits(8 * 8 * 3);
  reader->ReadLines(nullptr, bits.data(), 8, 8, 24, 3);
  uint8_t name[256];
  reader->ReadImageResource(1033, name);
  reader->FinishReading();
}

}  // namespace

// Every byte of the header and of the directories with its values, overwritten in
// turn: the reader answers 0 or one of its ids and never reads astray (the host
// configuration runs this under AddressSanitizer).
TEST(TiffDamagedFile, OverwrittenBytesNeverLeadAstray) {
  for (const char* name : {"with_resources", "rgb4_be", "tiled_rgb16_be", "zir48_be"}) {
    const std::vector<uint8_t> original = ReadWholeFile(std::string(name) + ".tif");
    ASSERT_FALSE(original.empty()) << name;
    const size_t tail = original.size() > 400 ? original.size() - 400 : 8;
    for (size_t pos = 0; pos < original.size(); ++pos) {
      if (pos >= 8 && pos < tail) continue;
      for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x7F}, static_cast<uint8_t>(original[pos] + 1)}) {
        std::vector<uint8_t> bytes = original;
        bytes[pos] = value;
        WriteWholeFile("overwritten.tif", bytes);
        TiffReader reader("overwritten.tif", pos % 2 == 1);
        ImageFileInfo info;
        const int16_t id = reader.ReadHeader(&info);
        ASSERT_TRUE(id == kReaderOk || (id >= kErrMissingTiffInfo && id <= kErrGeneralData))
            << name << " byte " << pos << " value " << int{value} << " id " << id;
        if (id == kReaderOk) ExerciseReader(&reader, info.height, info.samplesPerPixel);
      }
    }
  }
}
