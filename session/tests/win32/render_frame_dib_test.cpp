// The frame rendered as a packed bitmap for the drag-and-drop data object.
#include <windows.h>

#include <gtest/gtest.h>

#include "frames/frame_list.h"
#include "session/scan_session.h"
#include "session/tests/scan_test_support.h"
#include "state/data_source_state.h"

namespace {

class RenderFrameDibTest : public ScanTest {
 protected:
  // The frame as the frame list's current frame.
  void MakeCurrent(const FrameRecord& frame) {
    AppendFrameNode(NewFrameNode(frame));
    MakeFrameCurrent(1);
  }
  void TearDown() override {
    DeleteAllFrames();
    ScanTest::TearDown();
  }
};

TEST_F(RenderFrameDibTest, ColourFrameInBlueGreenRedRowsFromTheBottom) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  const ExpectedImage expected = ReadStraight("scan_small_rgb24", frame);
  MakeCurrent(frame);
  void* handle = nullptr;
  ASSERT_TRUE(RenderFrameDib(&handle));
  const auto* header = static_cast<const BITMAPINFOHEADER*>(handle);
  // 8-bit colour frames come in even sizes: 36 x 22 of the 37 x 23 image.
  const uint32_t width = frame.scanPixelWidth;
  const uint32_t height = frame.scanPixelHeight;
  EXPECT_EQ(header->biWidth, 36);
  EXPECT_EQ(header->biHeight, 22);
  EXPECT_EQ(header->biBitCount, 24);
  const uint8_t* pixels = reinterpret_cast<const uint8_t*>(header + 1);
  const uint32_t stride = (width * 24 + 31) / 32 * 4;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      for (uint32_t c = 0; c < 3; ++c)
        ASSERT_EQ(pixels[(height - 1 - y) * stride + x * 3 + (2 - c)], expected.At(x, y, c)) << x << "," << y;
  GlobalFree(handle);
}

TEST_F(RenderFrameDibTest, SixteenBitFramesGiveNoBitmap) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 16, true);
  MakeCurrent(frame);
  void* handle = nullptr;
  EXPECT_FALSE(RenderFrameDib(&handle));
  EXPECT_EQ(handle, nullptr);
}

}  // namespace
