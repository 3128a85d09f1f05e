// The monitor matching's basis from the internal RGB profile, and the monitor
// transform kept for that profile.
#include "ui/monitor_matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "color/color_management.h"
#include "color/tests/color_test_support.h"
#include "frames/frame_list.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "ui/palette_state.h"
#include "ui/ui_state_records.h"

namespace {

class MonitorMatchingProfiles : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    const double d50[3] = {0.96417, 1.0, 0.82487}, red[3] = {0.64, 0.33, 0.03};
    internal_ = base_ + "internal.icc";
    WriteBytes(internal_, ProfileWithTags({{IccSignature("gTRC"), GammaCurveElement(2.2)},
                                           {IccSignature("wtpt"), XyzElement(d50)},
                                           {IccSignature("rXYZ"), XyzElement(red)}}));
    monitor_ = base_ + "monitor.icc";
    WriteBytes(monitor_, ProfileWithTags({}));
    module_.standardProfile = monitor_;
  }
  void TearDown() override {
    FreeMonitorTransform();
    ColorFolderTest::TearDown();
  }
  void ChooseInternal(const std::string& path) {
    std::memset(DefaultsBytes(gDefaults, kDefaultInternalProfile), 0, kDefaultInternalProfile.size);
    std::memcpy(DefaultsBytes(gDefaults, kDefaultInternalProfile), path.c_str(), path.size());
  }
  int Calls(const char* name) const { return static_cast<int>(std::count(module_.calls.begin(), module_.calls.end(), name)); }
  std::string internal_, monitor_;
};

TEST_F(MonitorMatchingProfiles, TheInternalProfileGivesTheBasisAndAFailedReadChangesNothing) {
  ChooseInternal(internal_);
  EXPECT_NE(SetupMonitorMatching(gDefaults), 0);
  EXPECT_FLOAT_EQ(GetDefault(gDefaults, kDefaultDisplayGamma), 2.2f);
  float primaries[6], white[2];
  std::memcpy(primaries, DefaultsBytes(gDefaults, kDefaultPrimaries), sizeof primaries);
  std::memcpy(white, DefaultsBytes(gDefaults, kDefaultWhitePoint), sizeof white);
  EXPECT_NEAR(primaries[0], 0.64, 1e-4);
  EXPECT_NEAR(primaries[1], 0.33, 1e-4);
  EXPECT_FLOAT_EQ(primaries[2], 0.28f) << "no green colorant: the standard set's green stays";
  EXPECT_NEAR(white[0], 0.3457, 1e-4);
  EXPECT_NEAR(white[1], 0.3585, 1e-4);

  // Without the profile, the block is what the standard basis made of it, to the byte.
  gIcmEnabled = 0;
  SetupMonitorMatching(gDefaults);
  const DefaultsBlock standard = gDefaults;
  gIcmEnabled = 1;
  ChooseInternal(base_ + "gone.icc");
  const DefaultsBlock chosen = gDefaults;
  EXPECT_EQ(SetupMonitorMatching(gDefaults), 0);
  EXPECT_EQ(std::memcmp(&gDefaults, &chosen, sizeof gDefaults), 0);
  EXPECT_EQ(std::memcmp(&gDefaults.bytes[kDefaultDisplayGamma.offset], &standard.bytes[kDefaultDisplayGamma.offset], 36),
            0);
  EXPECT_EQ(module_.OpenProfileCount(), 0);
}

TEST_F(MonitorMatchingProfiles, TheTransformIsMadeOncePerInternalProfile) {
  ChooseInternal(internal_);
  ASSERT_NE(MonitorTransform(nullptr), nullptr);
  ASSERT_NE(MonitorTransform(nullptr), nullptr);
  EXPECT_EQ(Calls("CreateMultiProfileTransform"), 1) << "the same path keeps the transform";
  EXPECT_EQ(module_.OpenProfileCount(), 0) << "both profiles are closed once the transform exists";

  const std::string copy = base_ + "other.icc";
  WriteBytes(copy, ProfileWithTags({}));
  ChooseInternal(copy);
  ASSERT_NE(MonitorTransform(nullptr), nullptr);
  EXPECT_EQ(Calls("CreateMultiProfileTransform"), 2);
  EXPECT_EQ(Calls("DeleteColorTransform"), 1) << "the old transform goes with the old path";

  ChooseInternal(base_ + "gone.icc");
  EXPECT_EQ(MonitorTransform(nullptr), nullptr);
  EXPECT_EQ(Calls("DeleteColorTransform"), 2);
  EXPECT_EQ(module_.OpenProfileCount(), 0);
  FreeMonitorTransform();
  EXPECT_EQ(Calls("DeleteColorTransform"), 2) << "nothing kept, nothing to delete";
}

TEST_F(MonitorMatchingProfiles, TheStartUpResetDropsTheKeptTransformAndThePipette) {
  ChooseInternal(internal_);
  ASSERT_NE(MonitorTransform(nullptr), nullptr);
  gPipetteKind = 302;
  ResetUiState();
  EXPECT_EQ(Calls("DeleteColorTransform"), 1);
  EXPECT_EQ(gPipetteKind, 0);
  DeleteAllFrames();
}

}  // namespace
