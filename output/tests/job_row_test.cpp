// What a row of the job list shows: the thumbnail's place, the pictures with
// no gaps, the status mark and the four lines of text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frames/frame_record_init.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_row.h"
#include "output/job_thumbnails.h"
#include "records/defaults_block.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

class JobRowTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    system_->strings.insert({{711, "Rahmen ohne Titel"}, {1613, "Kein Filter"}, {11, "Unsch\xe4rfe-Maskierung"},
                             {12, "Entrasterung"}, {46, "Mehr Auto-Sch\xe4rfe (++)"}, {650, "inch"}, {651, "cm"},
                             {658, "pixel"}, {654, "dpi"}, {655, "dpcm"}});
    // A frame as new frames start, without tool settings.
    FrameInitInputs inputs = {};
    inputs.defaults = &gDefaults;
    InitFrameRecordWith(&item_.frame, false, inputs);
    item_.frame.filterMode = 0;
    // 1000 x 1000 output pixels: 1000 / 300 inches at 100 %.
    item_.frame.outputResolution = 300;
    item_.frame.width = item_.frame.height = 1000.0 / 300;
    item_.frame.outputScaleX = item_.frame.outputScaleY = 100;
    item_.frame.colorMode = 2;
    item_.frame.bitsPerChannel = 8;
  }
  void TearDown() override {
    InstallJobWindowHooks(JobWindowHooks());
    SessionTest::TearDown();
  }
  std::vector<uint16_t> PictureIds(const JobRowLayout& layout) const {
    std::vector<uint16_t> ids;
    for (size_t k = 0; k < layout.pictures.size(); ++k) {
      ids.push_back(layout.pictures[k].id);
      EXPECT_EQ(layout.pictures[k].at.x, 60);
      EXPECT_EQ(layout.pictures[k].at.y, int32_t(6 + 18 * k));
    }
    return ids;
  }
  JobItem item_;
};

TEST_F(JobRowTest, PicturesFollowEachOtherWithoutGaps) {
  const struct {
    uint8_t autoRun, gradation, colour;
    uint32_t colorMode;
    uint16_t outputMode;
    std::vector<uint16_t> ids;
  } cases[] = {
      {0, 0, 0, 0, 0, {}},
      {1, 1, 1, 2, 0, {358, 366, 365}},
      {0, 1, 0, 2, 4, {362, 363}},
      {0, 0, 1, 2, 5, {366, 360}},
      {0, 1, 1, 0, 5, {362, 366}},  // a grey frame shows no colour-space picture
  };
  const FrameRecord neutral = item_.frame;
  for (const auto& c : cases) {
    item_.autoBeforeRun = c.autoRun;
    item_.frame = neutral;
    // A moved gradation point of a looked-at tone block; a colour setting.
    item_.frame.tone[c.colorMode == 2 ? 2 : 0].gradationY[3] = c.gradation ? 100 : 128;
    item_.frame.colorExtras[0] = c.colour;
    // The stored bytes are not what the pictures go by.
    item_.frame.gradationToolActive = item_.frame.colorToolActive = 1;
    item_.frame.colorMode = c.colorMode;
    item_.settings.outputMode = c.outputMode;
    EXPECT_EQ(PictureIds(LayoutJobRow(item_, 300, 70)), c.ids);
  }
}

TEST_F(JobRowTest, StatusMarkAndThumbnailPlace) {
  const uint16_t marks[] = {0, 359, 364, 361};
  for (int32_t status = 0; status <= 3; ++status) {
    item_.status = status;
    const JobRowLayout layout = LayoutJobRow(item_, 300, 70);
    EXPECT_EQ(layout.statusPicture, marks[status]);
    EXPECT_EQ(layout.statusAt.x, 285);
    EXPECT_EQ(layout.statusAt.y, 55);
  }
  item_.thumbRect = {0, 0, 50, 25};
  const WinRect r = LayoutJobRow(item_, 300, 70).thumbnail;
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 19);  // CenterRectOn puts the odd pixel below
  EXPECT_EQ(r.right, 56);
  EXPECT_EQ(r.bottom, 44);
  EXPECT_FALSE(LayoutJobRow(item_, 300, 70).hasThumbnail);
  EXPECT_EQ(JobRowFirstLineTop(70, 11), 6 + (70 - 44 - 14) / 3);
}

TEST_F(JobRowTest, TheFourLines) {
  auto lines = JobRowTexts(item_);
  EXPECT_EQ(lines[0], "Rahmen ohne Titel");
  EXPECT_EQ(lines[1], "Kein Filter");
  // Inches by default.
  EXPECT_EQ(lines[2], "3.3 x 3.3 inch - 100.0%,100.0%");
  EXPECT_EQ(lines[3], "300 dpi - 2.86 MB");

  // CMYK output through separation tables: four bytes a pixel.
  item_.settings.outputMode = 5;
  item_.frame.hasName = 1;
  std::strcpy(item_.frame.name, "Dia 7");
  item_.frame.filterMode = 12;
  lines = JobRowTexts(item_);
  EXPECT_EQ(lines[0], "Dia 7");
  EXPECT_EQ(lines[1], "Mehr Auto-Sch\xe4rfe (++)");
  EXPECT_EQ(lines[3], "300 dpi - 3.81 MB");

  // Kinds 7 and 8 have no name: the line stays empty.
  for (uint8_t kind : {7, 8, 13}) {
    item_.frame.filterMode = kind;
    EXPECT_EQ(JobRowTexts(item_)[1], "");
  }

  // Pixels without decimals, and the resolution in dots per centimetre.
  JobWindowHooks hooks;
  hooks.unitFactor = [](int unit, double pixelFactor) { return unit == 4 ? pixelFactor : unit == 1 ? 2.54 : 1.0; };
  hooks.resolutionUnit = [] { return uint8_t{1}; };
  InstallJobWindowHooks(hooks);
  SetDefault(gDefaults, kDefaultSizeUnit, uint8_t{4});
  item_.frame.outputScaleX = 50;
  lines = JobRowTexts(item_);
  EXPECT_EQ(lines[2], "500 x 1000 pixel - 50.0%,100.0%");
  EXPECT_EQ(lines[3], "118 dpcm - 1.91 MB");
}

}  // namespace
