// The JPEG options record: its 8 bytes in the application store, the
// defaults when it is missing or of another version, and the slider's
// quality steps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "output/jpeg_options.h"
#include "state/data_source_state.h"

namespace {

const char* kCases = "jpeg_options_cases/";

class JpegOptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    CreateFolder(kCases);
    const std::string name = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((kCases + name).c_str());
    gAppStore = OpenOrCreateFile(name.c_str(), kCases);
    ASSERT_NE(gAppStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    ResetDataSourceState();
  }
  static void Store(const JpegOptions& options) {
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kJpegOptionsType, kJpegOptionsId, &options, sizeof options, "x"));
  }
};

TEST_F(JpegOptionsTest, MissingRecordGivesTheDefaults) {
  JpegOptions options = {9, 9, 9, 9, 9, 9};
  LoadJpegOptions(&options);
  EXPECT_EQ(std::memcmp(&options, &kDefaultJpegOptions, sizeof options), 0);
  EXPECT_EQ(options.quality, 90);
  EXPECT_EQ(options.baseline, 1);
  EXPECT_EQ(options.optimised, 0);
  EXPECT_EQ(options.progressive, 0);
}

TEST_F(JpegOptionsTest, ARecordOfAnotherVersionIsIgnored) {
  Store(JpegOptions{2, 50, 0, 1, 0, 0});
  JpegOptions options;
  LoadJpegOptions(&options);
  EXPECT_EQ(options.quality, 90);
  EXPECT_EQ(options.baseline, 1);
}

TEST_F(JpegOptionsTest, SavedBytesAndName) {
  ASSERT_TRUE(SaveJpegOptions(JpegOptions{1, 75, 0, 0, 1, 0}));
  ASSERT_TRUE(SaveJpegOptions(JpegOptions{1, 93, 0, 1, 0, 0}));
  EXPECT_EQ(RecordStoreCount(gAppStore, kJpegOptionsType), 1);
  uint8_t bytes[8] = {};
  ASSERT_TRUE(RecordStoreRead(gAppStore, kJpegOptionsType, 3, bytes, sizeof bytes));
  const uint8_t want[8] = {1, 0, 93, 0, 0, 1, 0, 0};
  EXPECT_EQ(std::memcmp(bytes, want, 8), 0);
  char name[kRecordNameSize] = {};
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kJpegOptionsType, 3, name));
  EXPECT_STREQ(name, "JPEGOptions");
  JpegOptions options;
  LoadJpegOptions(&options);
  EXPECT_EQ(options.quality, 93);
  EXPECT_EQ(options.optimised, 1);
}

TEST(JpegQualitySteps, TableBothWays) {
  const int qualities[10] = {10, 30, 50, 65, 75, 80, 85, 90, 93, 95};
  for (int step = 1; step <= 10; ++step) {
    EXPECT_EQ(JpegQualityOfStep(step), qualities[step - 1]);
    EXPECT_EQ(JpegStepOfQuality(qualities[step - 1]), step);
  }
  for (int quality : {0, 88, 91, 100}) EXPECT_EQ(JpegStepOfQuality(quality), 8) << quality;
}

}  // namespace
