// Metafiles load by extension on mid-grey: the generator's pictures leave
// their lower right corner undrawn.
#include <gtest/gtest.h>

#include "photoapp/document/image_document.h"

namespace {

TEST(ImageDocument, MetafilesLoadOnMidGrey) {
  for (const char* path : {"placeable_stretch.wmf", "stretch.emf"}) {
    ImageDocument document;
    ASSERT_EQ(document.LoadFile(path), kImageOk) << path;
    EXPECT_EQ(document.GetPixelColor(document.GetWidth() - 1, document.GetHeight() - 1), 0x808080) << path;
    EXPECT_NE(document.GetPixelColor(0, 0), 0x808080) << path;
    EXPECT_TRUE(document.DisplayPalette().HasPalette()) << path;
  }
}

}  // namespace
