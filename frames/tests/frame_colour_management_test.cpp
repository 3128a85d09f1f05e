// The scanner transform as a colour step of the preview: bitmap rows (3 and 4
// bytes a pixel) go to the colour module in bitmap order, only in colour
// management mode 2 with colour management on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/tests/color_test_support.h"
#include "frames/frame_color_steps.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

class FrameColourManagementTest : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    WriteBytes(base_ + "scanner.icm", SmallProfile("scnr", "RGB ", "Scanner"));
    WriteBytes(base_ + "internal.icc", SmallProfile("mntr", "RGB ", "Internal"));
    SetText(kDefaultScannerProfileReflective, base_ + "scanner.icm");
    SetText(kDefaultInternalProfile, base_ + "internal.icc");
    ASSERT_EQ(RebuildColorTransforms(), 0);
    // The module inverts the three colour bytes of each 4-byte pixel and leaves the fourth.
    module_.translate = [](const ScriptedColorModule::TranslateCall& call, const void* in, void* out) {
      const auto* from = static_cast<const uint8_t*>(in);
      auto* to = static_cast<uint8_t*>(out);
      for (uint32_t i = 0; i < call.width * 4; ++i) to[i] = i % 4 == 3 ? from[i] : static_cast<uint8_t>(255 - from[i]);
    };
    std::memset(&frame, 0, sizeof frame);
  }
  void TearDown() override {
    DeleteColorTransforms();
    ColorFolderTest::TearDown();
  }
  static void SetText(DefaultsArea area, const std::string& text) {
    std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
    std::memcpy(DefaultsBytes(gDefaults, area), text.data(), text.size());
  }
  FrameRecord frame;
};

TEST_F(FrameColourManagementTest, RowsGoThroughTheScannerTransformInModeTwo) {
  const struct {
    int16_t mode;
    uint8_t icm;
    bool translated;
  } cases[] = {{2, 1, true}, {1, 1, false}, {2, 0, false}};
  for (int bytes : {3, 4}) {
    for (const auto& c : cases) {
      SetDefault(gDefaults, kDefaultInputCmsMode, c.mode);
      gIcmEnabled = c.icm;
      module_.translations.clear();
      // Two rows of three pixels, stride with two bytes of padding.
      const uint32_t stride = static_cast<uint32_t>(3 * bytes + 2);
      std::vector<uint8_t> rows(2 * stride);
      for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(7 * i + 1);
      const std::vector<uint8_t> before = rows;
      ApplyFrameColorSteps(frame, BitmapPixels{rows.data(), stride, 3, 2, bytes}, nullptr);
      for (size_t i = 0; i < rows.size(); ++i) {
        const size_t column = i % stride;
        const bool colour = column < static_cast<size_t>(3 * bytes) && (bytes == 3 || column % 4 != 3);
        EXPECT_EQ(rows[i], c.translated && colour ? 255 - before[i] : before[i]) << bytes << " " << i;
      }
      ASSERT_EQ(module_.translations.size(), c.translated ? 2u : 0u);
      if (c.translated) { EXPECT_EQ(module_.translations[0].inputFormat, kBitmapXrgbQuads); }
    }
  }
  gIcmEnabled = 1;
}

}  // namespace
