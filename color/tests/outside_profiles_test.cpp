// The profile readers on profiles made elsewhere: the test profiles of
// icc_tools.py (confirmed by transicc in color_icc_checks) and Ghostscript's
// installed profiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "color/color_management.h"
#include "color/icc_profile_bytes.h"
#include "color/profile_files.h"
#include "color/tests/scripted_color_module.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "foundation/scripted_system.h"

namespace {

std::string TestProfileFolder() {
  char program[kPathSize];
  PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program);
  program[FileNamePart(program) - program] = '\0';
  return std::string(program) + "icc_checks";
}

// The gamma of the profile's grey curve; 0 when the profile does not open or has none.
float GammaOf(const std::string& path) {
  ColorProfileHandle profile = nullptr;
  const ColorProfileLocation location = FileProfileLocation(path.c_str());
  if (CmsOpenColorProfile(&profile, &location, 0) != 0) return 0;
  float gamma = 0;
  if (ProfileGammaFromTrc(&gamma, profile) != 0) gamma = 0;
  CmsCloseColorProfile(profile);
  return gamma;
}

class OutsideProfiles : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ColorSystemLoad(), nullptr);
    gIcmEnabled = 1;
  }
  void TearDown() override { gIcmEnabled = 0; }
  ScriptedColorModule module_;
};

TEST_F(OutsideProfiles, GammaAndDescriptionOfTheTestProfiles) {
  struct Case {
    const char* file;
    float gamma;
  } cases[] = {{"gamma22.icc", 2.2f}, {"linear.icc", 1.0f}, {"table18.icc", 1.8f}};
  for (const Case& c : cases) {
    const std::string path = TestProfileFolder() + "\\" + c.file;
    EXPECT_NEAR(GammaOf(path), c.gamma, 1e-6) << c.file;
    ColorProfileHandle profile = nullptr;
    const ColorProfileLocation location = FileProfileLocation(path.c_str());
    ASSERT_EQ(CmsOpenColorProfile(&profile, &location, 0), 0) << path;
    EXPECT_EQ(ProfileDescription(profile), c.file) << "the ASCII part of a full description";
    CmsCloseColorProfile(profile);
  }
}

TEST_F(OutsideProfiles, ThePrinterProfileIsListed) {
  module_.colorDirectory = TestProfileFolder();
  PathPairNode* printers =
      EnumerateColorProfiles(IccSignature("prtr"), IccSignature("CMYK"), kMatchDeviceClass | kMatchColorSpace, nullptr);
  ASSERT_NE(printers, nullptr);
  EXPECT_EQ(std::string(printers->first), "Test printer");
  EXPECT_EQ(printers->next, nullptr) << "the RGB profiles are no printer profiles";
  FreePathPairList(&printers);
}

TEST_F(OutsideProfiles, GhostscriptsProfiles) {
  module_.colorDirectory = "/usr/share/color/icc/ghostscript";
  if (!FileExists((module_.colorDirectory + "/default_cmyk.icc").c_str())) {
    GTEST_SKIP() << "Ghostscript's profiles are not installed";
  }
  PathPairNode* cmyk = EnumerateColorProfiles(0, IccSignature("CMYK"), kMatchColorSpace, nullptr);
  std::vector<std::string> files;
  for (const PathPairNode* node = cmyk; node; node = node->next) {
    files.push_back(FileNamePart(node->path));
    EXPECT_NE(node->first[0], '\0') << node->path;
  }
  std::sort(files.begin(), files.end());
  EXPECT_TRUE(std::find(files.begin(), files.end(), "default_cmyk.icc") != files.end());
  EXPECT_TRUE(std::find(files.begin(), files.end(), "ps_cmyk.icc") != files.end());
  EXPECT_TRUE(std::find(files.begin(), files.end(), "srgb.icc") == files.end());
  FreePathPairList(&cmyk);

  // Gammas of the grey curves as numpy's polyfit of ln-ln gives them.
  struct Case {
    const char* file;
    float gamma;
  } cases[] = {{"a98.icc", 2.2f},
               {"rommrgb.icc", 1.8f},
               {"scrgb.icc", 1.0f},
               {"srgb.icc", 1.73f},
               {"esrgb.icc", 1.0f}};  // a slope of 6.04: outside the range kept
  for (const Case& c : cases) EXPECT_NEAR(GammaOf(module_.colorDirectory + "/" + c.file), c.gamma, 1e-6) << c.file;
}

}  // namespace
