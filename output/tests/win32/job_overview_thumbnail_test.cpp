// An overview entry's thumbnail from the overview's picture of its file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "output/job_item.h"
#include "output/job_thumbnails.h"

namespace {

TEST(OverviewPictureTest, ThePictureIsStretchedOverTheThumbnail) {
  OverviewJobItem item;
  item.frame.bitsPerChannel = 16;  // shown as captured
  item.frame.colorMode = 2;
  BuildOverviewThumbnail(item, nullptr);
  EXPECT_FALSE(item.HasThumbnail());

  uint32_t* bits = nullptr;
  HBITMAP picture = static_cast<HBITMAP>(CreateJobBitmap(200, 100, &bits));
  ASSERT_NE(picture, nullptr);
  for (int i = 0; i < 200 * 100; ++i) bits[i] = 0x00336699;
  BuildOverviewThumbnail(item, picture);
  DeleteObject(picture);
  ASSERT_TRUE(item.HasThumbnail());
  EXPECT_EQ(item.thumbRect.right, 50);
  EXPECT_EQ(item.thumbRect.bottom, 25);
  // A plain colour stays near itself, whatever the stretching does at the edges.
  const uint32_t centre = item.thumbShownBits[12 * 50 + 25];
  for (int shift : {0, 8, 16})
    EXPECT_LE(std::abs(int(centre >> shift & 0xFF) - int(0x00336699u >> shift & 0xFF)), 8) << std::hex << centre;
}

}  // namespace
