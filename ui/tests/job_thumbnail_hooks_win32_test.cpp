// A job entry's thumbnail taken from the unprocessed preview through the
// main window's hooks: the frame's part of the preview, fitted to 50 pixels,
// turned and mirrored as the frame's own orientation says.
#include <gtest/gtest.h>
#include <windows.h>

#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_thumbnails.h"
#include "session/preview_store.h"
#include "ui/job_hooks_install.h"
#include "ui/preview_geometry.h"

namespace {

class JobThumbnailHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallUserInterfaceJobHooks();
    gPreviewClientRect = {0, 0, 400, 400};
    gPreviewExtentWidth = gPreviewExtentHeight = 4;
    // Blue grows to the right, green downwards.
    gPreviewBaseDib = CreateGlobalDib(400, 400, 32, true);
    uint32_t* p = reinterpret_cast<uint32_t*>(GlobalDibBits(gPreviewBaseDib));
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 400; ++x) p[y * 400 + x] = uint32_t(y / 2) << 8 | uint32_t(x / 2);
    item_.frame.width = 4;  // inches: 400 x 200 preview pixels
    item_.frame.height = 2;
    item_.frame.bitsPerChannel = 16;  // shown as captured
    item_.frame.colorMode = 2;
  }
  void TearDown() override {
    FreeGlobalDib(gPreviewBaseDib);
    gPreviewBaseDib = nullptr;
    gPreviewClientRect = {};
    InstallJobWindowHooks(JobWindowHooks());
  }
  uint32_t Blue(int x, int y) const { return item_.thumbRawBits[y * item_.thumbRect.right + x] & 0xFF; }
  uint32_t Green(int x, int y) const { return item_.thumbRawBits[y * item_.thumbRect.right + x] >> 8 & 0xFF; }
  JobItem item_;
};

TEST_F(JobThumbnailHooksTest, TheFramesPartOfThePreview) {
  ASSERT_TRUE(RefreshThumbnail(item_, 1));
  EXPECT_EQ(item_.thumbRect.right, 50);
  EXPECT_EQ(item_.thumbRect.bottom, 25);
  EXPECT_LT(Blue(0, 0), Blue(49, 0));
  EXPECT_LT(Green(0, 0), Green(0, 24));
  EXPECT_LT(Green(0, 24), 110u) << Green(0, 0) << " " << Blue(49, 0) << " " << Blue(0, 0);
  EXPECT_EQ(item_.framePreviewRect.right, 400);
  EXPECT_EQ(item_.framePreviewRect.bottom, 200);
  EXPECT_EQ(item_.previewBoxRect.right, 400);
  // The shown thumbnail is the raw one for a 16-bit colour frame.
  EXPECT_EQ(item_.thumbShownBits[24 * 50 + 49], item_.thumbRawBits[24 * 50 + 49]);
}

TEST_F(JobThumbnailHooksTest, TheFramesOwnTurnAndMirror) {
  item_.frame.quarterTurns = 1;
  ASSERT_TRUE(RefreshThumbnail(item_, 1));
  ASSERT_EQ(item_.thumbRect.right, 25);
  ASSERT_EQ(item_.thumbRect.bottom, 50);
  // Turned clockwise: the preview's left edge is the thumbnail's top.
  EXPECT_LT(Blue(0, 0), Blue(0, 49));
  item_.frame.quarterTurns = 0;
  item_.frame.mirrorH = 1;
  ASSERT_TRUE(RefreshThumbnail(item_, 1));
  EXPECT_GT(Blue(0, 0), Blue(49, 0));
}

}  // namespace
