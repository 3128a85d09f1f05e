// Damaged and unsupported files: each is refused by ReadHeader with its error id,
// without reading outside the file or a buffer.
#include <gtest/gtest.h>

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
