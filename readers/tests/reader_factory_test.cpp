// The factory picks the reader by the exact lower-cased extension.
#include <gtest/gtest.h>

#include "readers/reader_factory.h"
#include "readers/tiff_reader.h"

namespace {

struct ExtensionCase {
  const char* path;
  ImageFileKind kind;
};

class ReaderFactoryExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ReaderFactoryExtension, Kind) { EXPECT_EQ(ImageFileKindFromPath(GetParam().path), GetParam().kind); }

INSTANTIATE_TEST_SUITE_P(
    Paths, ReaderFactoryExtension,
    ::testing::Values(ExtensionCase{"scan.tif", kImageFileTiff}, ExtensionCase{"C:\\Scans\\SCAN.TIF", kImageFileTiff},
                      ExtensionCase{"a.b/photo.Jpg", kImageFileJpeg}, ExtensionCase{"layers.PSD", kImageFilePsd},
                      ExtensionCase{"scan.tiff", kImageFileUnknown}, ExtensionCase{"photo.jpeg", kImageFileUnknown},
                      ExtensionCase{"folder.tif\\noext", kImageFileUnknown}, ExtensionCase{"tif", kImageFileUnknown},
                      ExtensionCase{"scan.tif.bak", kImageFileUnknown}));

TEST(ReaderFactory, CreatesATiffReaderWithoutOpeningTest) {
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader("missing/SCAN.TIF", 0, false);
  ASSERT_NE(reader, nullptr);
  EXPECT_NE(dynamic_cast<TiffReader*>(reader.get()), nullptr);
  EXPECT_FALSE(reader->ImageReaderIsOpen()) << "the caller tests the open";
  EXPECT_EQ(CreateImageFileReader("missing/scan.tiff", 0, false), nullptr);
  EXPECT_EQ(CreateImageFileReader("missing/photo.jpeg", 0, false), nullptr);
}

}  // namespace
