// The ICC sampling of the CMYK conversion tables through the lcms2-backed
// module double, on the tests' CMYK printer profile (ZIR_CMYK_PROFILE). The
// sampled tables go to ZIR_CMYK_DUMP (forward, reverse, gamut flag and gamut
// table), where cmyk_sampling_check.py holds them against transicc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "color/cmyk_tables.h"
#include "color/profile_files.h"
#include "color/tests/color_test_support.h"
#include "color/tests/lcms_color_module.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

class CmykIccSampling : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    const char* profile = std::getenv("ZIR_CMYK_PROFILE");
    std::ifstream in(profile ? profile : "", std::ios::binary);
    if (!in) GTEST_SKIP() << "no test CMYK profile (ZIR_CMYK_PROFILE)";
    WriteBytes(separationFolder_ + "printer.icc",
               std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    const char name[] = "printer.icc";
    std::memset(DefaultsBytes(gDefaults, kDefaultCmykSourceName), 0, kDefaultCmykSourceName.size);
    std::memcpy(DefaultsBytes(gDefaults, kDefaultCmykSourceName), name, sizeof name);
    // The scripted module lists the folder's profiles; the double samples them.
    ASSERT_NE(FolderCmykList(), nullptr);
    ColorSystemUnload();
    lcms_ = std::make_unique<LcmsColorModule>();
    ASSERT_NE(ColorSystemLoad(), nullptr);
  }
  void TearDown() override {
    FreeCmykConversionTables();
    FreeProfileLists();
    lcms_.reset();
    ColorFolderTest::TearDown();
  }
  std::unique_ptr<LcmsColorModule> lcms_;
};

TEST_F(CmykIccSampling, SamplesTheProfileAndKeepsItsGamut) {
  ASSERT_TRUE(LoadCmykConversionTables());
  ASSERT_TRUE(gCmykConversionTables.forward && gCmykConversionTables.reverse);
  // The double's round trip through the printer's simple ink model keeps part of the grid.
  ASSERT_NE(gCmykConversionTables.gamut, nullptr) << "the printer's gamut is smaller than the grid";
  const char* dump = std::getenv("ZIR_CMYK_DUMP");
  if (!dump) return;
  std::ofstream out(dump, std::ios::binary);
  const MemHandle tables[] = {gCmykConversionTables.forward, gCmykConversionTables.reverse,
                              gCmykConversionTables.gamut};
  for (MemHandle t : tables) out.write(reinterpret_cast<const char*>(t->data), t->size);
  ASSERT_TRUE(out.good());
}

TEST_F(CmykIccSampling, EveryNodePrintableDropsTheGamutTable) {
  lcms_->gamutTolerance = 1e9;
  ASSERT_TRUE(LoadCmykConversionTables());
  EXPECT_EQ(gCmykConversionTables.gamut, nullptr);
  const uint16_t blue[3] = {6528, 32768, 32768 - 100 * 256};
  EXPECT_TRUE(IsInGamut(blue));
}

}  // namespace
