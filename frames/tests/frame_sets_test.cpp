// Frame sets in the application store: the record, saving under a name the
// user gives, loading, importing from another store, and the combo's commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "foundation/settings_folders.h"
#include "frames/frame_sets.h"
#include "frames/frame_storage.h"
#include "frame_store_fixture.h"

namespace {

const RecordType kReflectiveSets = TagFromString("FRsA");

std::vector<uint8_t> SetRecord(const std::vector<FrameRecord>& frames) {
  std::vector<uint8_t> record(2 + frames.size() * sizeof(FrameRecord));
  PutValueAt<uint16_t>(record.data(), 0, static_cast<uint16_t>(frames.size()));
  for (size_t i = 0; i < frames.size(); ++i) std::memcpy(&record[2 + i * 2080], &frames[i], 2080);
  return record;
}

void StoreSet(FileHandle store, int32_t id, const char* name, const std::vector<uint8_t>& record,
              RecordType type = kReflectiveSets) {
  ASSERT_TRUE(RecordStoreAdd(store, type, id, record.data(), static_cast<uint32_t>(record.size()), name));
}

std::vector<uint8_t> StoredSet(int32_t id) {
  uint32_t size = 0;
  if (!RecordStoreSize(gAppStore, kReflectiveSets, id, &size)) return {};
  std::vector<uint8_t> record(size);
  EXPECT_TRUE(RecordStoreRead(gAppStore, kReflectiveSets, id, record.data(), size));
  return record;
}

std::string StoredName(int32_t id) {
  char name[64] = "";
  return RecordStoreNameById(gAppStore, kReflectiveSets, id, name) ? name : "(none)";
}

// The module lies in the cases folder, so that its settings folder does too.
class FrameSetsTest : public FrameStoreTest {
 protected:
  void SetUp() override {
    FrameStoreTest::SetUp();
    char program[kPathSize];
    ASSERT_TRUE(PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program));
    program[FileNamePart(program) - program] = '\0';
    const std::string moduleFolder = std::string(program) + kFolder;
    ASSERT_NE(CreateFolder(moduleFolder.c_str()), kFolderFailed);
    system_->modulePath = moduleFolder + "QB ZIR.ds";
    system_->strings = {{300, "Quillbrook"}, {700, "Rahmen_"}, {706, "Rahmen importieren..."},
                        {707, "Quillbrook-Voreinstellungen"}, {708, "*.prf"},
                        {721, "Name der Rahmeneinstellung:"}, {500, "Warnung"}, {501, "Ersetzen ?"}};
  }

  ScopedScriptedSystem system_;
};

TEST_F(FrameSetsTest, TheRecordIsACountAndTheFramesInListOrder) {
  AppendFrames({1, 2, 3});
  const std::vector<uint8_t> record = BuildFrameSetRecord();
  ASSERT_EQ(record.size(), 2u + 3 * 2080);
  EXPECT_EQ(record[0], 3);
  EXPECT_EQ(record[1], 0);
  for (int i = 0; i < 3; ++i) {
    const FrameRecord expected = TestFrame(i + 1);
    EXPECT_EQ(std::memcmp(&record[2 + i * 2080], &expected, 2080), 0) << i;
  }
}

TEST_F(FrameSetsTest, DefaultNamesAreThePrefixAndTheId) {
  EXPECT_EQ(DefaultFrameSetName(130), "Rahmen_130");
  system_->strings.erase(700);
  EXPECT_EQ(DefaultFrameSetName(130), "_130");
}

TEST_F(FrameSetsTest, SavesTheListUnderTheNameGiven) {
  AppendFrames({1, 2});
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Dias");
  ASSERT_TRUE(SaveFrameSetAsPreset());
  EXPECT_EQ(prompts.Asked(0).initial, "Rahmen_128");
  EXPECT_EQ(prompts.Asked(0).text, "Name der Rahmeneinstellung:");
  EXPECT_EQ(StoredName(128), "Dias");
  EXPECT_EQ(StoredSet(128), BuildFrameSetRecord());
}

TEST_F(FrameSetsTest, ACancelledNameStoresNothing) {
  AppendFrames({1});
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kName);
  EXPECT_FALSE(SaveFrameSetAsPreset());
  EXPECT_EQ(RecordStoreCount(gAppStore, kReflectiveSets), 0);
}

class ReplaceAnswers : public FrameSetsTest, public testing::WithParamInterface<int> {};

TEST_P(ReplaceAnswers, ASetOfTheSameNameGoesOnlyOnYes) {
  const std::vector<uint8_t> old = SetRecord({TestFrame(9)});
  StoreSet(gAppStore, 200, "Dias", old);
  AppendFrames({1, 2});
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Dias").Reply(GetParam());
  const bool yes = GetParam() == kAnswerYes;
  EXPECT_EQ(SaveFrameSetAsPreset(), yes);
  EXPECT_EQ(prompts.Asked(1).title, "Warnung");
  EXPECT_EQ(prompts.Asked(1).style & kBoxYesNo, kBoxYesNo);
  EXPECT_EQ(RecordStoreCount(gAppStore, kReflectiveSets), 1);
  if (yes) {
    EXPECT_EQ(StoredName(201), "Dias");
    EXPECT_EQ(StoredSet(201), BuildFrameSetRecord());
  } else {
    EXPECT_EQ(StoredSet(200), old);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, ReplaceAnswers, testing::Values(kAnswerYes, kAnswerNo));

TEST_F(FrameSetsTest, ANameLongerThanTheStoreKeepsClashesWithItsStoredForm) {
  const std::string stored(63, 'R');
  StoreSet(gAppStore, 200, stored.c_str(), SetRecord({TestFrame(9)}));
  AppendFrames({1});
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, stored + "-lang").Reply(kAnswerNo);
  EXPECT_FALSE(SaveFrameSetAsPreset());
  EXPECT_EQ(RecordStoreCount(gAppStore, kReflectiveSets), 1);
}

TEST_F(FrameSetsTest, LoadingASetReplacesTheList) {
  FrameRecord oldVersion = TestFrame(5);
  oldVersion.version = 5;
  FrameRecord wide = TestFrame(6);
  wide.width = 30.0;
  FrameRecord named = TestFrame(4);
  NameFrame(&named, "A");
  StoreSet(gAppStore, 128, "Dias", SetRecord({named, oldVersion, wide, named}));
  AppendFrames({1, 2});
  ASSERT_TRUE(LoadFrameSetNamed("Dias"));
  EXPECT_EQ(ListTags(), (std::vector<int>{4, 6, 4}));
  EXPECT_EQ(FrameListHead()->next->frame.width, 8.0 - FrameListHead()->next->frame.originX);
  EXPECT_EQ(FrameListHead()->next->next->frame.hasName, 0);
}

struct BadSetCase {
  const char* name;
  std::vector<uint8_t> record;
};

class UnloadableSets : public FrameSetsTest, public testing::WithParamInterface<BadSetCase> {};

TEST_P(UnloadableSets, LeaveTheListAsItWas) {
  const BadSetCase& c = GetParam();
  StoreSet(gAppStore, 128, c.name, c.record);
  AppendFrames({1, 2});
  EXPECT_FALSE(LoadFrameSetNamed("Bad"));
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 2}));
}

std::vector<uint8_t> CountTooLarge() {
  std::vector<uint8_t> record = SetRecord({TestFrame(4), TestFrame(5)});
  record[0] = 3;
  return record;
}

std::vector<uint8_t> OnlyOldFrames() {
  FrameRecord frame = TestFrame(4);
  frame.version = 4;
  return SetRecord({frame});
}

INSTANTIATE_TEST_SUITE_P(Records, UnloadableSets,
                         testing::Values(BadSetCase{"Other", SetRecord({TestFrame(4)})},
                                         BadSetCase{"Bad", CountTooLarge()}, BadSetCase{"Bad", OnlyOldFrames()},
                                         BadSetCase{"Bad", SetRecord({})}));

TEST_F(FrameSetsTest, ImportsCurrentSetsAndRenamesClashes) {
  FileHandle source = OpenStore("import_source.prf");
  FrameRecord oldFirst = TestFrame(7);
  oldFirst.version = 5;
  StoreSet(source, 130, "Rahmen_130", SetRecord({TestFrame(1), TestFrame(2)}));
  StoreSet(source, 131, "Alt", SetRecord({oldFirst, TestFrame(3)}));
  StoreSet(source, 132, "Neu", SetRecord({TestFrame(4)}));
  StoreSet(source, 133, "Kurz", CountTooLarge());
  StoreSet(source, 134, "Durchlicht", SetRecord({TestFrame(5)}), TagFromString("FRsD"));
  StoreSet(gAppStore, 130, "Rahmen_130", SetRecord({TestFrame(9)}));
  CloseFile(source);
  opened_.pop_back();

  const std::string path = std::string(kFolder) + "import_source.prf";
  EXPECT_EQ(ImportFrameSetsFile(path.c_str()), 2);
  EXPECT_EQ(StoredName(131), "Rahmen_130131");
  EXPECT_EQ(StoredSet(131), SetRecord({TestFrame(1), TestFrame(2)}));
  EXPECT_EQ(StoredName(132), "Neu");
  EXPECT_EQ(RecordStoreCount(gAppStore, kReflectiveSets), 3);
}

void TestDeviceName(unsigned char* name) { PStrFromC(name, "Bilddatei"); }
bool NotNegative() { return false; }

TEST_F(FrameSetsTest, TheDeviceStoreAndMissingFilesImportNothing) {
  const ScanNameSource names = {TestDeviceName, NotNegative, NotNegative};
  SetScanNameSource(&names);
  char prefs[kPathSize];
  ASSERT_TRUE(GetPrefsFolder(prefs));
  PString deviceName;
  MakeDevicePrefsFileName(deviceName);
  const std::string devicePath = std::string(prefs) + PStrToC(deviceName);
  DeleteFileAt(devicePath.c_str());
  FileHandle device = OpenFileReadWrite(devicePath.c_str());
  ASSERT_NE(device, nullptr);
  StoreSet(device, 130, "Dias", SetRecord({TestFrame(1)}));
  CloseFile(device);

  EXPECT_EQ(ImportFrameSetsFile(devicePath.c_str()), 0);
  EXPECT_EQ(system_->beeps.size(), 1u);
  EXPECT_EQ(ImportFrameSetsFile((std::string(kFolder) + "missing.prf").c_str()), 0);
  EXPECT_EQ(RecordStoreCount(gAppStore, kReflectiveSets), 0);
  DeleteFileAt(devicePath.c_str());
  SetScanNameSource(nullptr);
}

TEST_F(FrameSetsTest, TheImportAsksForASettingsFile) {
  FileHandle source = OpenStore("import_asked.prf");
  StoreSet(source, 130, "Neu", SetRecord({TestFrame(4)}));
  CloseFile(source);
  opened_.pop_back();
  char prefs[kPathSize];
  ASSERT_TRUE(GetPrefsFolder(prefs));

  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kOpenFile).Accept(PromptKind::kOpenFile, std::string(kFolder) + "import_asked.prf");
  EXPECT_EQ(ImportFrameSets(), 0);
  EXPECT_EQ(ImportFrameSets(), 1);
  const PromptRequest& asked = prompts.Asked(0);
  EXPECT_EQ(asked.title, "Rahmen importieren...");
  EXPECT_EQ(asked.folder, prefs);
  EXPECT_EQ(asked.filter, std::string("Quillbrook-Voreinstellungen\0*.prf\0", 35));
  EXPECT_EQ(StoredName(128), "Neu");
}

struct ComboCase {
  int entries;
  int selection;
  FrameSetComboAction action;
};

class FrameSetComboActions : public testing::TestWithParam<ComboCase> {};

TEST_P(FrameSetComboActions, TheLastThreeEntriesAreCommands) {
  EXPECT_EQ(FrameSetComboActionOf(GetParam().entries, GetParam().selection), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, FrameSetComboActions,
    testing::Values(ComboCase{5, 1, FrameSetComboAction::kLoad}, ComboCase{5, 2, FrameSetComboAction::kLoad},
                    ComboCase{5, 3, FrameSetComboAction::kImport}, ComboCase{5, 4, FrameSetComboAction::kCleanUp},
                    ComboCase{5, 5, FrameSetComboAction::kSave}, ComboCase{3, 1, FrameSetComboAction::kImport},
                    ComboCase{5, 0, FrameSetComboAction::kNone}, ComboCase{5, 6, FrameSetComboAction::kNone}));

}  // namespace
