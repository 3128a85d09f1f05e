// Settings records ("Set1") in the application store: the match with the
// current frame, saving under a name the user gives, loading into a frame,
// the default frame taken from the chosen record, and the main caption.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "frames/frame_record_init.h"
#include "frames/main_caption.h"
#include "frames/panel_name.h"
#include "frames/settings_records.h"
#include "frame_store_fixture.h"
#include "records/defaults_block.h"

namespace {

std::vector<uint8_t> Bytes(const FrameRecord& frame) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&frame);
  return std::vector<uint8_t>(bytes, bytes + sizeof frame);
}

void StoreSettings(int32_t id, const char* name, const std::vector<uint8_t>& data) {
  ASSERT_TRUE(RecordStoreAdd(gAppStore, kSettingsRecordType, id, data.data(), static_cast<uint32_t>(data.size()), name));
}

std::vector<uint8_t> StoredSettings(const char* name) {
  int32_t id = 0;
  uint32_t size = 0;
  if (!RecordStoreFind(gAppStore, kSettingsRecordType, name, &id) ||
      !RecordStoreSize(gAppStore, kSettingsRecordType, id, &size))
    return {};
  std::vector<uint8_t> data(size);
  EXPECT_TRUE(RecordStoreRead(gAppStore, kSettingsRecordType, id, data.data(), size));
  return data;
}

// A frame whose own parts (rectangle, name flag and binding, name) differ from TestFrame(1).
FrameRecord OtherPlaceAndName() {
  FrameRecord frame = TestFrame(1);
  frame.originX = 3.0;
  frame.height = 5.0;
  frame.scalesFollowList = 1;
  NameFrame(&frame, "Links");
  return frame;
}

class SettingsRecordsTest : public FrameStoreTest {
 protected:
  void SetUp() override {
    FrameStoreTest::SetUp();
    system_->strings = {{61, "Setting_"}, {721, "Name der Rahmeneinstellung:"}, {500, "Warnung"}, {501, "Ersetzen ?"},
                        {300, "Quillbrook"}, {1609, "Job-Editor"}, {3018, "CMYK"}, {3024, "Cyan"},
                        {3025, "Magenta"}, {3026, "Gelb"}, {3027, "Schwarz"}};
  }

  ScopedScriptedSystem system_;
};

TEST_F(SettingsRecordsTest, ARecordMatchesApartFromTheFramesOwnParts) {
  const FrameRecord frame = TestFrame(1);
  EXPECT_TRUE(SettingsRecordMatches(Bytes(OtherPlaceAndName()), frame));
  FrameRecord filtered = OtherPlaceAndName();
  filtered.filterMode = 2;
  EXPECT_FALSE(SettingsRecordMatches(Bytes(filtered), frame));
  std::vector<uint8_t> shorter = Bytes(frame);
  shorter.pop_back();
  EXPECT_FALSE(SettingsRecordMatches(shorter, frame));
}

TEST_F(SettingsRecordsTest, TheFirstMatchingNameIsFound) {
  FrameRecord other = TestFrame(1);
  other.filterMode = 3;
  std::vector<uint8_t> shortMatch = Bytes(TestFrame(1));
  shortMatch.resize(2000);
  StoreSettings(128, "Anders", Bytes(other));
  StoreSettings(129, "Kurz", shortMatch);
  StoreSettings(130, "Gleich", Bytes(OtherPlaceAndName()));
  StoreSettings(131, "Auch gleich", Bytes(TestFrame(1)));
  const std::vector<std::string> names = {"Anders", "Kurz", "Gleich", "Auch gleich"};
  EXPECT_EQ(MatchingSettingsIndex(gAppStore, names, TestFrame(1)), 3);
  EXPECT_EQ(MatchingSettingsIndex(gAppStore, {"Anders", "Kurz"}, TestFrame(1)), 0);
}

TEST_F(SettingsRecordsTest, SavesTheCurrentFrameUnderTheNameGiven) {
  AppendFrames({1});
  StoreSettings(128, "Alt", Bytes(TestFrame(5)));
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Dias");
  ASSERT_TRUE(SaveSettingsRecord());
  EXPECT_EQ(prompts.Asked(0).initial, "Setting_2");
  EXPECT_EQ(prompts.Asked(0).text, "Name der Rahmeneinstellung:");
  EXPECT_EQ(StoredSettings("Dias"), Bytes(*gCurrentFrame));
}

class SettingsReplace : public SettingsRecordsTest, public testing::WithParamInterface<int> {};

TEST_P(SettingsReplace, AnExistingNameIsReplacedOnlyOnYes) {
  AppendFrames({1});
  StoreSettings(128, "Dias", Bytes(TestFrame(5)));
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Dias").Reply(GetParam());
  const bool yes = GetParam() == kAnswerYes;
  EXPECT_EQ(SaveSettingsRecord(), yes);
  EXPECT_EQ(prompts.Asked(1).title, "Warnung");
  EXPECT_EQ(RecordStoreCount(gAppStore, kSettingsRecordType), 1);
  EXPECT_EQ(StoredSettings("Dias"), Bytes(yes ? *gCurrentFrame : TestFrame(5)));
}

INSTANTIATE_TEST_SUITE_P(Answers, SettingsReplace, testing::Values(kAnswerYes, kAnswerNo));

TEST_F(SettingsRecordsTest, ACancelledNameStoresNothing) {
  AppendFrames({1});
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kName);
  EXPECT_FALSE(SaveSettingsRecord());
  EXPECT_EQ(RecordStoreCount(gAppStore, kSettingsRecordType), 0);
}

TEST_F(SettingsRecordsTest, LoadingKeepsTheTargetsRectangleAndName) {
  FrameRecord stored = TestFrame(7);
  stored.filterMode = 3;
  stored.hasName = 0;
  stored.scalesFollowList = 1;
  StoreSettings(128, "Dias", Bytes(stored));
  FrameRecord target = OtherPlaceAndName();
  ASSERT_TRUE(LoadSettingsRecord(128, &target, false));

  const FrameRecord own = OtherPlaceAndName();
  FrameRecord expected = stored;
  std::memcpy(&expected.originX, &own.originX, 32);
  expected.hasName = 1;
  std::memcpy(expected.name, own.name, sizeof expected.name);
  EXPECT_EQ(Bytes(target), Bytes(expected));
}

struct RefusedCase {
  const char* name;
  uint32_t size;
  uint32_t version;
};

class SettingsRefused : public SettingsRecordsTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(SettingsRefused, LeavesTheTargetAsItWas) {
  FrameRecord stored = TestFrame(7);
  stored.version = GetParam().version;
  std::vector<uint8_t> data = Bytes(stored);
  data.resize(GetParam().size, 0xAB);
  StoreSettings(128, "Dias", data);
  FrameRecord target = OtherPlaceAndName();
  EXPECT_FALSE(LoadSettingsRecord(128, &target, false));
  EXPECT_EQ(Bytes(target), Bytes(OtherPlaceAndName()));
  EXPECT_FALSE(LoadSettingsRecord(129, &target, false));
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsRefused,
                         testing::Values(RefusedCase{"old_version", 2080, 5}, RefusedCase{"short", 2000, 6},
                                         RefusedCase{"long", 2100, 6}, RefusedCase{"head_only", 8, 6}),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsRecordsTest, LoadingTheSelectedNameTakesItIntoTheCurrentFrame) {
  AppendFrames({1});
  FrameRecord stored = TestFrame(7);
  stored.colorMode = 2;
  stored.filterMode = 3;
  StoreSettings(128, "Dias", Bytes(stored));
  ASSERT_TRUE(LoadSelectedSettingsRecord("Dias"));
  EXPECT_EQ(gCurrentFrame->filterMode, 3);
  EXPECT_EQ(gCurrentFrame->outputResolution, 107);
  EXPECT_DOUBLE_EQ(gCurrentFrame->originX, TestFrame(1).originX);
  EXPECT_FALSE(LoadSelectedSettingsRecord("Fehlt"));
}

TEST_F(SettingsRecordsTest, TheDefaultFrameComesFromTheChosenRecord) {
  FrameRecord stored = TestFrame(7);
  stored.filterMode = 3;
  StoreSettings(130, "Standard", Bytes(stored));
  SetDefault(gDefaults, kDefaultSettingsRecordId, 130u);
  FrameRecord frame = TestFrame(2);
  InitPreviewFrameRecord(&frame);
  EXPECT_EQ(frame.filterMode, 3);
  EXPECT_EQ(frame.outputResolution, 107);
  EXPECT_DOUBLE_EQ(frame.originX, 0.0);
  EXPECT_DOUBLE_EQ(frame.originY, 0.0);
  EXPECT_DOUBLE_EQ(frame.width, 8.0);
  EXPECT_DOUBLE_EQ(frame.height, 10.0);

  // A record that cannot be loaded leaves the initialised frame.
  SetDefault(gDefaults, kDefaultSettingsRecordId, 131u);
  FrameRecord fresh = TestFrame(2);
  InitPreviewFrameRecord(&fresh);
  EXPECT_NE(fresh.outputResolution, 107);
  EXPECT_DOUBLE_EQ(fresh.width, 8.0);
}

TEST_F(SettingsRecordsTest, TheComboEndsWithDeleteAndSave) {
  EXPECT_EQ(SettingsComboActionOf(4, 4), SettingsComboAction::kSave);
  EXPECT_EQ(SettingsComboActionOf(4, 3), SettingsComboAction::kCleanUp);
  EXPECT_EQ(SettingsComboActionOf(4, 1), SettingsComboAction::kLoad);
  EXPECT_EQ(SettingsComboActionOf(4, 0), SettingsComboAction::kNone);
  EXPECT_EQ(SettingsComboActionOf(4, 5), SettingsComboAction::kNone);
}

TEST_F(SettingsRecordsTest, AFrameNameIsUniqueInTheList) {
  AppendFrames({1, 2});
  FrameRecord* second = &FrameListHead()->next->frame;
  NameFrame(second, "Dias");
  EXPECT_FALSE(ApplyFrameNameEdit(gCurrentFrame, "Links"));
  EXPECT_STREQ(gCurrentFrame->name, "Links");
  EXPECT_EQ(gCurrentFrame->hasName, 1);
  // Another frame's name is refused: the old one stays and the field is pending.
  EXPECT_TRUE(ApplyFrameNameEdit(gCurrentFrame, "Dias"));
  EXPECT_STREQ(gCurrentFrame->name, "Links");
  const std::string longName(60, 'x');
  EXPECT_TRUE(ApplyFrameNameEdit(gCurrentFrame, longName.c_str()));
  EXPECT_EQ(std::string(gCurrentFrame->name), std::string(47, 'x'));
  EXPECT_FALSE(ApplyFrameNameEdit(gCurrentFrame, ""));
  EXPECT_EQ(gCurrentFrame->hasName, 0);
  EXPECT_EQ(gCurrentFrame->name[0], '\0');
}

struct CaptionCase {
  CaptionParts parts;
  const char* caption;
};

class MainCaption : public SettingsRecordsTest, public testing::WithParamInterface<CaptionCase> {};

TEST_P(MainCaption, NamesProductVersionDeviceAndChannel) {
  EXPECT_EQ(ComposeMainCaption(GetParam().parts), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainCaption,
    testing::Values(CaptionCase{{"2.1", false, "Bild.tif", false, 0}, "Quillbrook v2.1 Bild.tif"},
                    CaptionCase{{"", false, "Bild.tif", false, 0}, "Quillbrook Bild.tif"},
                    CaptionCase{{"2.1", true, "Bild.tif", false, 0}, "Quillbrook v2.1 Job-Editor Bild.tif"},
                    CaptionCase{{"2.1", false, "Bild.tif", true, 0xFFFF}, "Quillbrook v2.1 Bild.tif (CMYK)"},
                    CaptionCase{{"2.1", false, "Bild.tif", true, 2}, "Quillbrook v2.1 Bild.tif (Gelb)"},
                    CaptionCase{{"2.1", false, "Bild.tif", true, 3}, "Quillbrook v2.1 Bild.tif (Schwarz)"},
                    CaptionCase{{"2.1", false, "Bild.tif", true, 4}, "Quillbrook v2.1 Bild.tif"}));

}  // namespace
