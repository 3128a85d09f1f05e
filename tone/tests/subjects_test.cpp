// The built-in and stored subjects, their comparison, and the cast handling
// that the automatic adjustment takes from a frame's subject.
#include <gtest/gtest.h>

#include <string>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "state/data_source_state.h"
#include "tone/auto_adjust.h"
#include "tone/preview_histogram.h"
#include "tone/subjects.h"
#include "tone/tests/tone_fixture.h"

namespace {

class SubjectStore : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    CreateFolder(kFolder);
    const std::string file = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((kFolder + file).c_str());
    gAppStore = OpenOrCreateFile(file.c_str(), kFolder);
    ASSERT_NE(gAppStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    ResetDataSourceState();
  }

  static void Store(int32_t id, int16_t contrast, const char* name) {
    SubjectParameters p = {};
    p.contrast = contrast;
    p.enable[0] = 1;
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kSubjectRecordType, id, &p, sizeof p, name));
  }

  static constexpr const char* kFolder = "tone_store_cases\\";
};

TEST(Subjects, BuiltInsCarryTheirValuesAndNames) {
  struct {
    int16_t contrast, lowerContrast;
    uint8_t keepCast, keepCastWhite, keepCastBlack;
  } const expected[11] = {{0, 0, 0, 0, 0},  {15, 0, 0, 0, 0}, {-10, 0, 0, 0, 0}, {0, 0, 1, 0, 0},
                          {0, 20, 0, 0, 0}, {0, 0, 1, 0, 0},  {0, 0, 0, 0, 0},   {0, 0, 0, 0, 0},
                          {0, 0, 0, 0, 0},  {0, 0, 0, 0, 1},  {0, 0, 0, 1, 0}};
  const uint32_t names[12] = {15, 16, 17, 18, 19, 20, 21, 22, 27, 34, 35, 40};
  for (int16_t i = 0; i < 11; ++i) {
    SubjectParameters p;
    ASSERT_TRUE(LoadSubjectParameters(i, &p));
    EXPECT_EQ(p.contrast, expected[i].contrast) << i;
    EXPECT_EQ(p.lowerContrast, expected[i].lowerContrast) << i;
    EXPECT_EQ(p.brightness | p.upperContrast, 0);
    EXPECT_EQ(p.enable[0] + 2 * p.enable[1] + 4 * p.enable[2] + 8 * p.enable[3], 9) << i;
    EXPECT_EQ(p.keepCast, expected[i].keepCast) << i;
    EXPECT_EQ(p.keepCastWhite, expected[i].keepCastWhite) << i;
    EXPECT_EQ(p.keepCastBlack, expected[i].keepCastBlack) << i;
  }
  for (int i = 0; i < 12; ++i) EXPECT_EQ(kSubjectNameStrings[i], names[i]);
  SubjectParameters p;
  p.contrast = 5;
  EXPECT_FALSE(LoadSubjectParameters(kUserDefinedSubject, &p));
  EXPECT_EQ(p.contrast, 0);
}

TEST(Subjects, EqualityLooksAtEnabledValuesAndTheCastBytes) {
  SubjectParameters landscape;
  ASSERT_TRUE(LoadSubjectParameters(1, &landscape));
  SubjectParameters edited = landscape;
  edited.brightness = 40;   // not enabled: ignored
  EXPECT_TRUE(SubjectParametersEqual(landscape, edited));
  edited.contrast = 16;
  EXPECT_FALSE(SubjectParametersEqual(landscape, edited));
  edited = landscape;
  edited.enable[1] = 1;
  EXPECT_FALSE(SubjectParametersEqual(landscape, edited));
  edited = landscape;
  edited.keepCastBlack = 1;
  EXPECT_FALSE(SubjectParametersEqual(landscape, edited));
  edited = landscape;
  edited.reserved = 9;
  EXPECT_TRUE(SubjectParametersEqual(landscape, edited));
}

TEST(Subjects, FramesShareTheEnabledValuesOfTheirBlocks) {
  ToneFixture f;
  SubjectParameters technique;
  ASSERT_TRUE(LoadSubjectParameters(4, &technique));
  for (ToneBlock& block : f.frame.tone) {
    block.contrast = 0;
    block.lowerContrast = 20;
    block.brightness = 33;
  }
  EXPECT_TRUE(FramesShareAutoValues(technique, f.frame, 1, 3));
  f.frame.tone[2].lowerContrast = 19;
  EXPECT_FALSE(FramesShareAutoValues(technique, f.frame, 1, 3));
  EXPECT_TRUE(FramesShareAutoValues(technique, f.frame, 0, 1));
}

TEST_F(SubjectStore, StoredSubjectsAreRecordsIndexPlus116) {
  Store(128, 7, "A");
  Store(129, 8, "B");
  EXPECT_EQ(StoredSubjectCount(), 2);
  SubjectParameters p;
  ASSERT_TRUE(LoadSubjectParameters(12, &p));
  EXPECT_EQ(p.contrast, 7);
  ASSERT_TRUE(LoadSubjectParameters(13, &p));
  EXPECT_EQ(p.contrast, 8);
  EXPECT_FALSE(LoadSubjectParameters(14, &p));
  EXPECT_FALSE(LoadSubjectParameters(140, &p));   // id 256 is beyond the stored range
}

TEST_F(SubjectStore, DeletingRenumbersTheLaterSubjects) {
  for (int32_t id = 128; id <= 132; ++id) Store(id, int16_t(id), ("S" + std::to_string(id)).c_str());
  ASSERT_TRUE(DeleteStoredSubject(130));
  EXPECT_EQ(StoredSubjectCount(), 4);
  const int16_t contrasts[4] = {128, 129, 131, 132};
  for (int32_t id = 128; id <= 131; ++id) {
    SubjectParameters p;
    char name[kRecordNameSize];
    ASSERT_TRUE(RecordStoreRead(gAppStore, kSubjectRecordType, id, &p, sizeof p));
    ASSERT_TRUE(RecordStoreNameById(gAppStore, kSubjectRecordType, id, name));
    EXPECT_EQ(p.contrast, contrasts[id - 128]);
    EXPECT_EQ(std::string(name), "S" + std::to_string(contrasts[id - 128]));
  }
  uint32_t size;
  EXPECT_FALSE(RecordStoreSize(gAppStore, kSubjectRecordType, 132, &size));
}

TEST_F(SubjectStore, CastHandlingByColourManagementKeysAndImageType) {
  SubjectParameters stored = {};
  stored.keepCastWhite = stored.keepCastBlack = 1;
  ASSERT_TRUE(RecordStoreAdd(gAppStore, kSubjectRecordType, 128, &stored, sizeof stored, "Eigen"));
  struct {
    int16_t cmsMode;
    bool shift, ctrl;
    uint8_t type;
    uint8_t cast, white, black;
  } const cases[] = {
      {0, false, false, 0, 0, 0, 0}, {3, false, false, 0, 1, 0, 0}, {3, true, false, 0, 0, 0, 0},
      {3, true, true, 0, 1, 0, 0},   {0, true, false, 7, 1, 0, 0},  {0, false, false, 3, 1, 0, 0},
      {3, false, false, 8, 0, 0, 0}, {0, false, false, 9, 0, 0, 1}, {0, false, false, 10, 0, 1, 0},
      {3, false, false, 11, 1, 0, 0}, {3, false, false, 12, 0, 1, 1}, {3, false, false, 13, 1, 0, 0},
  };
  for (const auto& c : cases) {
    ToneFixture f;
    ScopedScriptedSystem system;
    SetDefault(f.defaults, kDefaultInputCmsMode, c.cmsMode);
    if (c.shift) system->keysDown.insert(kVirtualKeyShift);
    if (c.ctrl) system->keysDown.insert(kVirtualKeyControl);
    f.frame.imageType = c.type;
    uint8_t cast = 9, white = 9, black = 9;
    GetAutoAdjustMode(&f.frame, &cast, &white, &black);
    EXPECT_EQ(cast, c.cast) << "mode " << c.cmsMode << " type " << int(c.type);
    EXPECT_EQ(white, c.white) << "type " << int(c.type);
    EXPECT_EQ(black, c.black) << "type " << int(c.type);
    GetAutoAdjustMode(&f.frame, nullptr, nullptr, nullptr);
  }
}

}  // namespace
