// The six-colour and twelve-colour presets in the application store: the
// factory install (all or nothing per type), the legacy move, saving,
// applying and importing corrections, the part popup menus and their
// commands, the sector rule and the twelve-colour state. The factory stores
// are left in preset_stores/ for the independent store check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "color/color_cubes.h"
#include "color/matrix12_presets.h"
#include "color/row_corrections.h"
#include "color/selective_presets.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "foundation/settings_folders.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

const RecordType kWhole6 = TagFromString("P0CM");
const RecordType kWhole12 = TagFromString("P0cm");

struct Record {
  RecordType type;
  int32_t id;
  std::string name;
  std::vector<uint8_t> data;
};

std::vector<Record> Records(FileHandle store, RecordType type) {
  std::vector<Record> records;
  for (int index = 1; index <= RecordStoreCount(store, type); ++index) {
    Record r{type, 0, "", {}};
    char name[64] = "";
    uint32_t size = 0;
    RecordStoreIdAtIndex(store, type, index, &r.id);
    RecordStoreNameByIndex(store, type, index, name);
    RecordStoreSizeByIndex(store, type, index, &size);
    r.name = name;
    r.data.resize(size);
    RecordStoreReadIndexed(store, type, index, r.data.data(), size);
    records.push_back(r);
  }
  return records;
}

std::vector<int16_t> Values(const Record& r) {
  std::vector<int16_t> values((r.data.size() - 4) / 2);
  std::memcpy(values.data(), r.data.data() + 4, values.size() * 2);
  return values;
}

template <typename Payload>
void AddPreset(FileHandle store, RecordType type, int32_t id, const char* name, const int16_t* values, int count) {
  Payload payload = {};
  payload.version = kPresetVersion;
  std::memcpy(payload.values, values, count * 2);
  ASSERT_TRUE(RecordStoreAdd(store, type, id, &payload, sizeof payload, name));
}

class PresetTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    CreateFolder(kFolder);
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    test_ = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : test_)
      if (c == '/') c = '_';
    gAppStore = OpenStore(test_ + ".prf");
    gDeviceStore = OpenStore(test_ + "_device.prf");
    ASSERT_NE(gAppStore, nullptr);
    ASSERT_NE(gDeviceStore, nullptr);
    std::memset(&frame_, 0, sizeof frame_);
    gCurrentFrame = &frame_;
    char program[kPathSize];
    ASSERT_TRUE(PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program));
    program[FileNamePart(program) - program] = '\0';
    const std::string moduleFolder = std::string(program) + kFolder;
    ASSERT_NE(CreateFolder(moduleFolder.c_str()), kFolderFailed);
    system_->modulePath = moduleFolder + "QB ZIR.ds";
    system_->strings = {{300, "Quillbrook"}, {405, "Quillbrook-Voreinstellungen"}, {406, "*.prf"},
                        {409, "Voreinstellungsdatei ausw\xe4hlen"}, {411, "Importieren..."},
                        {412, "Speichern..."}, {414, "L\xf6schen..."}, {500, "Warnung"}, {501, "Ersetzen ?"},
                        {705, "Korrektur_"}, {720, "Name der Farbkorrektur:"}, {416, "Rot_"}, {417, "Gr\xfcn_"},
                        {360, "Rot_"}, {364, "Gr\xfcn_"}};
    for (uint32_t id = 20000; id < 20038; ++id) system_->strings[id] = "S" + std::to_string(id);
  }
  void TearDown() override {
    gCurrentFrame = nullptr;
    for (FileHandle store : opened_) CloseFile(store);
    ResetDataSourceState();
  }
  FileHandle OpenStore(const std::string& fileName) {
    DeleteFileAt((std::string(kFolder) + fileName).c_str());
    FileHandle store = OpenOrCreateFile(fileName.c_str(), kFolder);
    if (store) opened_.push_back(store);
    return store;
  }
  // A closed store in the cases folder holding what fill adds; its path.
  template <typename Fill>
  std::string OtherStore(const std::string& fileName, Fill fill) {
    FileHandle store = OpenStore(fileName);
    fill(store);
    CloseFile(store);
    opened_.pop_back();
    return std::string(kFolder) + fileName;
  }

  static constexpr const char* kFolder = "preset_stores\\";
  std::string test_;
  std::vector<FileHandle> opened_;
  FrameRecord frame_;
  ScopedScriptedSystem system_;
};

// The tables as the factory lists them: type, name id, the six values.
struct Row {
  const char* type;
  uint32_t nameId;
  int16_t values[6];
};

TEST_F(PresetTest, FactoryInstallIntoAnEmptyStoreGivesBothTables) {
  InstallSelectiveColorPresets();
  InstallColorMatrixPresets();
  const char* sixTypes[] = {"P1CM", "P2CM", "P3CM", "P4CM", "P5CM", "P6CM"};
  const int sixCounts[] = {8, 7, 6, 5, 6, 6};
  int id = 0;
  for (int k = 0; k < 6; ++k) {
    const std::vector<Record> records = Records(gAppStore, TagFromString(sixTypes[k]));
    ASSERT_EQ(records.size(), static_cast<size_t>(sixCounts[k])) << sixTypes[k];
    for (const Record& r : records) {
      EXPECT_EQ(r.id, id);
      ASSERT_EQ(r.data.size(), 76u);
      EXPECT_EQ(r.data[0] | r.data[1] << 8, 1000);
      const uint32_t nameId = id == 28 ? 20029 : id == 29 ? 20028 : 20000 + id;
      EXPECT_EQ(r.name, "S" + std::to_string(nameId));
      const std::vector<int16_t> values = Values(r);
      for (int cell = 0; cell < 36; ++cell)
        EXPECT_TRUE(cell / 6 == k || values[cell] == 0) << r.name << " " << cell;
      ++id;
    }
  }
  // The twelve-colour rows: sector types of the main sectors only, values in their own sector.
  const char* twelveTypes[] = {"PaCM", "PcCM", "PeCM", "PgCM", "PiCM", "PkCM"};
  const int twelveCounts[] = {8, 6, 7, 5, 6, 6};
  const int twelveFirstName[] = {20000, 20032, 20008, 20021, 20015, 20026};
  id = 0;
  for (int k = 0; k < 6; ++k) {
    const std::vector<Record> records = Records(gAppStore, TagFromString(twelveTypes[k]));
    ASSERT_EQ(records.size(), static_cast<size_t>(twelveCounts[k])) << twelveTypes[k];
    EXPECT_EQ(records[0].name, "S" + std::to_string(twelveFirstName[k]));
    for (const Record& r : records) {
      EXPECT_EQ(r.id, id++);
      ASSERT_EQ(r.data.size(), 148u);
      const std::vector<int16_t> values = Values(r);
      for (int cell = 0; cell < 72; ++cell)
        EXPECT_TRUE(cell / 6 == 2 * k || values[cell] == 0) << r.name << " " << cell;
    }
  }
  for (char letter : {'b', 'd', 'f', 'h', 'j', 'l'})
    EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString((std::string("P") + letter + "CM").c_str())), 0);
  // A few rows cell by cell.
  const Row rows[] = {{"P2CM", 20009, {0, 25, 0, 0, -35, 15}}, {"P5CM", 20028, {0, 0, 0, -15, 25, -15}},
                      {"P6CM", 20033, {0, 0, 0, -5, -15, 25}}, {"PcCM", 20033, {0, 0, 0, -5, -15, 25}},
                      {"PiCM", 20016, {0, 0, 25, 0, 0, -35}},  {"PgCM", 20024, {0, 0, 0, 0, -15, -10}}};
  for (const Row& row : rows) {
    bool found = false;
    const RecordType type = TagFromString(row.type);
    const int sector = type == TagFromString("P2CM") ? 1 : type == TagFromString("P5CM") ? 4
                       : type == TagFromString("P6CM") ? 5 : type == TagFromString("PcCM") ? 2
                       : type == TagFromString("PiCM") ? 8 : 6;
    for (const Record& r : Records(gAppStore, type))
      if (r.name == "S" + std::to_string(row.nameId)) {
        found = true;
        const std::vector<int16_t> values = Values(r);
        EXPECT_EQ(std::vector<int16_t>(values.begin() + 6 * sector, values.begin() + 6 * sector + 6),
                  std::vector<int16_t>(row.values, row.values + 6))
            << row.type << " " << row.nameId;
      }
    EXPECT_TRUE(found) << row.type << " " << row.nameId;
  }
}

TEST_F(PresetTest, ATypeWithARecordGetsNoneOfItsRows) {
  const int16_t values[72] = {};
  AddPreset<SelectivePresetPayload>(gAppStore, TagFromString("P3CM"), 200, "eigen", values, 36);
  AddPreset<ColorMatrixPresetPayload>(gAppStore, TagFromString("PeCM"), 201, "eigen", values, 72);
  system_->strings.erase(20001);
  InstallSelectiveColorPresets();
  InstallColorMatrixPresets();
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("P3CM")), 1);
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("PeCM")), 1);
  // A name that does not load leaves its row out; the rest of the type comes.
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("P1CM")), 7);
  const std::vector<Record> red = Records(gAppStore, TagFromString("PaCM"));
  ASSERT_EQ(red.size(), 7u);
  EXPECT_EQ(red[0].id, 0);
  EXPECT_EQ(red[1].id, 2);
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("P2CM")), 7);
  // A second install adds nothing.
  InstallSelectiveColorPresets();
  InstallColorMatrixPresets();
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("P1CM")), 7);
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("PaCM")), 7);
}

int gOwnerCalls = 0;

TEST_F(PresetTest, LegacyRecordsMoveOnceAndLeaveTheDeviceStore) {
  const char* types[] = {"FRSO", "FRSP", "FRSX", "FRSA", "GRAD"};
  for (const char* type : types)
    for (int32_t id : {130, 131}) {
      const uint8_t data[3] = {1, 2, static_cast<uint8_t>(id)};
      ASSERT_TRUE(RecordStoreAdd(gDeviceStore, TagFromString(type), id, data, 3, type));
    }
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, TagFromString("Fram"), 128, "x", 1, "Frame"));
  gOwnerCalls = 0;
  InstallOwnerPresetInstaller([] { ++gOwnerCalls; });
  InstallSelectiveColorPresets();
  InstallSelectiveColorPresets();
  InstallOwnerPresetInstaller(nullptr);
  EXPECT_EQ(gOwnerCalls, 2);
  for (const char* type : types) {
    EXPECT_EQ(RecordStoreCount(gDeviceStore, TagFromString(type)), 0) << type;
    const std::vector<Record> moved = Records(gAppStore, TagFromString(type));
    ASSERT_EQ(moved.size(), 2u) << type;
    EXPECT_EQ(moved[0].name, type);
    EXPECT_EQ(moved[1].data, (std::vector<uint8_t>{1, 2, 131}));
    EXPECT_GE(moved[0].id, 128);
  }
  EXPECT_EQ(RecordStoreCount(gDeviceStore, TagFromString("Fram")), 1);
}

TEST_F(PresetTest, SavingACorrectionProposesTheNumberedName) {
  frame_.selectiveColorMatrix[7] = 12;
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Hell").Cancel(PromptKind::kName);
  ASSERT_TRUE(SaveCorrection(kSelectivePresets, nullptr));
  EXPECT_EQ(prompts.Asked(0).initial, "Korrektur_128");
  EXPECT_EQ(prompts.Asked(0).text, "Name der Farbkorrektur:");
  const std::vector<Record> saved = Records(gAppStore, kWhole6);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].id, 128);
  EXPECT_EQ(saved[0].name, "Hell");
  ASSERT_EQ(saved[0].data.size(), 76u);
  EXPECT_EQ(Values(saved[0])[7], 12);
  system_->strings.erase(705);
  EXPECT_FALSE(SaveCorrection(kSelectivePresets, nullptr));
  EXPECT_EQ(prompts.Asked(1).initial, "_129");
  EXPECT_EQ(RecordStoreCount(gAppStore, kWhole6), 1);
}

class ReplaceAnswer : public PresetTest, public testing::WithParamInterface<int> {};

TEST_P(ReplaceAnswer, AnExistingNameIsReplacedOnlyOnYes) {
  const int16_t old[72] = {5};
  AddPreset<ColorMatrixPresetPayload>(gAppStore, kWhole12, 140, "Hell", old, 72);
  frame_.colorMatrix12[71] = -3;
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Hell").Reply(GetParam());
  const bool yes = GetParam() == kAnswerYes;
  EXPECT_EQ(SaveCorrection(kColorMatrixPresets, nullptr), yes);
  EXPECT_EQ(prompts.Asked(1).title, "Warnung");
  const std::vector<Record> records = Records(gAppStore, kWhole12);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].id, yes ? 141 : 140);
  EXPECT_EQ(Values(records[0])[yes ? 71 : 0], yes ? -3 : 5);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReplaceAnswer, testing::Values(kAnswerYes, kAnswerNo));

TEST_F(PresetTest, MatchingAndApplyingWholeCorrections) {
  int16_t a[72] = {}, b[72] = {};
  a[3] = 10;
  b[3] = 10;
  b[40] = 1;
  AddPreset<ColorMatrixPresetPayload>(gAppStore, kWhole12, 130, "B", b, 72);
  AddPreset<ColorMatrixPresetPayload>(gAppStore, kWhole12, 131, "A", a, 72);
  const std::vector<std::string> names = CorrectionNames(kColorMatrixPresets);
  ASSERT_EQ(names, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(MatchingCorrection(kColorMatrixPresets, names), -1);
  ASSERT_TRUE(ApplyCorrection(kColorMatrixPresets, "A"));
  EXPECT_EQ(frame_.colorMatrix12[3], 10);
  EXPECT_EQ(MatchingCorrection(kColorMatrixPresets, names), 1);
  ASSERT_TRUE(ApplyCorrection(kColorMatrixPresets, "B"));
  EXPECT_EQ(MatchingCorrection(kColorMatrixPresets, names), 0);
  EXPECT_FALSE(ApplyCorrection(kColorMatrixPresets, "C"));
  EXPECT_EQ(frame_.colorMatrix12[40], 1);
  // The combo's commands by 1-based selection among count items.
  EXPECT_EQ(CorrectionComboActionOf(5, 5), CorrectionComboAction::kSave);
  EXPECT_EQ(CorrectionComboActionOf(5, 4), CorrectionComboAction::kDelete);
  EXPECT_EQ(CorrectionComboActionOf(5, 3), CorrectionComboAction::kImport);
  EXPECT_EQ(CorrectionComboActionOf(5, 2), CorrectionComboAction::kApply);
  EXPECT_EQ(CorrectionComboActionOf(5, 0), CorrectionComboAction::kNone);
}

TEST_F(PresetTest, ImportAppendsTheNewIdToAListedNameAndCopiesPartPresets) {
  const int16_t values[36] = {1, 2, 3};
  const std::string path = OtherStore("import_source.prf", [&](FileHandle store) {
    AddPreset<SelectivePresetPayload>(store, kWhole6, 200, "Korrektur_130", values, 36);
    AddPreset<SelectivePresetPayload>(store, kWhole6, 201, "Neu", values, 36);
    AddPreset<SelectivePresetPayload>(store, TagFromString("P4CM"), 202, "Cyan_", values, 36);
    AddPreset<ColorMatrixPresetPayload>(store, kWhole12, 203, "Zwoelf", values, 36);
  });
  AddPreset<SelectivePresetPayload>(gAppStore, kWhole6, 130, "Korrektur_130", values, 36);
  char prefs[kPathSize];
  ASSERT_TRUE(GetPrefsFolder(prefs));
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kOpenFile).Accept(PromptKind::kOpenFile, path).Accept(PromptKind::kOpenFile, path);
  EXPECT_FALSE(ImportPresets(kSelectivePresets, nullptr, CorrectionNames(kSelectivePresets)));
  ASSERT_TRUE(ImportPresets(kSelectivePresets, nullptr, CorrectionNames(kSelectivePresets)));
  const PromptRequest& asked = prompts.Asked(0);
  EXPECT_EQ(asked.title, "Voreinstellungsdatei ausw\xe4hlen");
  EXPECT_EQ(asked.folder, prefs);
  EXPECT_EQ(asked.filter, std::string("Quillbrook-Voreinstellungen\0*.prf\0\0", 35));
  std::vector<Record> whole = Records(gAppStore, kWhole6);
  ASSERT_EQ(whole.size(), 3u);
  EXPECT_EQ(whole[1].name, "Korrektur_130131");
  EXPECT_EQ(whole[1].id, 131);
  EXPECT_EQ(whole[2].name, "Neu");
  EXPECT_EQ(whole[2].data, whole[0].data);
  EXPECT_EQ(RecordStoreCount(gAppStore, TagFromString("P4CM")), 1);
  EXPECT_EQ(RecordStoreCount(gAppStore, kWhole12), 0);
  // Again: the same records once more under new ids.
  ASSERT_TRUE(ImportPresets(kSelectivePresets, nullptr, CorrectionNames(kSelectivePresets)));
  whole = Records(gAppStore, kWhole6);
  ASSERT_EQ(whole.size(), 5u);
  EXPECT_EQ(whole[3].name, "Korrektur_130" + std::to_string(whole[3].id));
  EXPECT_EQ(whole[4].name, "Neu" + std::to_string(whole[4].id));
}

void TestDeviceName(unsigned char* name) { PStrFromC(name, "Bilddatei"); }
bool NotNegative() { return false; }

TEST_F(PresetTest, TheDeviceOwnPreferencesFileImportsNothing) {
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
  const int16_t values[72] = {4};
  AddPreset<ColorMatrixPresetPayload>(device, kWhole12, 130, "Eigen", values, 72);
  CloseFile(device);
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kOpenFile, devicePath);
  EXPECT_FALSE(ImportPresets(kColorMatrixPresets, nullptr, {}));
  EXPECT_EQ(RecordStoreCount(gAppStore, kWhole12), 0);
  DeleteFileAt(devicePath.c_str());
  SetScanNameSource(nullptr);
}

TEST_F(PresetTest, ThePartMenuListsNamesInByteOrderAndChecksEqualRows) {
  const RecordType green = TagFromString("P2CM");
  int16_t row[36] = {};
  row[6 + 1] = 35;
  int16_t other[36] = {};
  other[6 + 1] = 35;
  other[0] = 99;  // another colour's row does not matter
  AddPreset<SelectivePresetPayload>(gAppStore, green, 140, "b", row, 36);
  AddPreset<SelectivePresetPayload>(gAppStore, green, 141, "B", other, 36);
  AddPreset<SelectivePresetPayload>(gAppStore, green, 142, "\xc4pfel", row + 1, 35);
  AddPreset<SelectivePresetPayload>(gAppStore, green, 143, "a", other, 36);
  frame_.selectiveColorMatrix[7] = 35;
  const std::vector<PromptMenuItem> items = PartPresetMenu(kSelectivePresets, 1);
  ASSERT_EQ(items.size(), 7u);
  const char* texts[] = {"B", "a", "b", "\xc4pfel"};
  const uint32_t commands[] = {11002, 11004, 11001, 11003};
  const bool checked[] = {true, true, true, false};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items[i].text, texts[i]);
    EXPECT_EQ(items[i].command, commands[i]);
    EXPECT_EQ(items[i].checked, checked[i]) << i;
  }
  EXPECT_TRUE(items[4].separator);
  EXPECT_EQ(items[5].text, "L\xf6schen...");
  EXPECT_EQ(items[5].command, 11998u);
  EXPECT_EQ(items[6].text, "Speichern...");
  EXPECT_EQ(items[6].command, 11999u);
  // A part without records: no separator.
  const std::vector<PromptMenuItem> empty = PartPresetMenu(kColorMatrixPresets, 11);
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0].command, 21998u);
  EXPECT_EQ(empty[1].command, 21999u);
}

TEST_F(PresetTest, PartCommandsDecodeAndApplyOnlyTheirRow) {
  struct Case {
    uint32_t command;
    PresetCommand action;
    int part, index;
  } cases[] = {{10999, PresetCommand::kSave, 0, 0},   {15998, PresetCommand::kDelete, 5, 0},
               {12003, PresetCommand::kApply, 2, 3},  {16001, PresetCommand::kNone, 0, 0},
               {9999, PresetCommand::kNone, 0, 0},    {10000, PresetCommand::kNone, 0, 0}};
  for (const Case& c : cases) {
    const PartPresetCommand decoded = DecodePartPresetCommand(kSelectivePresets, c.command);
    EXPECT_EQ(decoded.action, c.action) << c.command;
    if (c.action != PresetCommand::kNone) {
      EXPECT_EQ(decoded.part, c.part);
      EXPECT_EQ(decoded.index, c.index);
    }
  }
  EXPECT_EQ(DecodePartPresetCommand(kColorMatrixPresets, 21999).action, PresetCommand::kSave);
  EXPECT_EQ(DecodePartPresetCommand(kColorMatrixPresets, 22000).action, PresetCommand::kNone);

  int16_t stored[72];
  for (int i = 0; i < 72; ++i) stored[i] = static_cast<int16_t>(i + 1);
  AddPreset<ColorMatrixPresetPayload>(gAppStore, SectorPresetType(3), 130, "x", stored, 72);
  std::fill(std::begin(frame_.colorMatrix12), std::end(frame_.colorMatrix12), -1);
  ASSERT_TRUE(ApplyPartPreset(kColorMatrixPresets, 3, 1));
  for (int i = 0; i < 72; ++i) EXPECT_EQ(frame_.colorMatrix12[i], i / 6 == 3 ? i + 1 : -1) << i;
  EXPECT_FALSE(ApplyPartPreset(kColorMatrixPresets, 3, 2));
}

TEST_F(PresetTest, SavingAPartPresetStoresItsRowUnderTheStemName) {
  for (int i = 0; i < 36; ++i) frame_.selectiveColorMatrix[i] = static_cast<int16_t>(i + 1);
  for (int i = 0; i < 72; ++i) frame_.colorMatrix12[i] = static_cast<int16_t>(-i - 1);
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Gr\xfcn_").Accept(PromptKind::kName, "Gr\xfcn_").Cancel(PromptKind::kName);
  ASSERT_TRUE(SavePartPreset(kSelectivePresets, 1, nullptr));
  ASSERT_TRUE(SavePartPreset(kColorMatrixPresets, 4, nullptr));
  EXPECT_FALSE(SavePartPreset(kColorMatrixPresets, 0, nullptr));
  EXPECT_EQ(prompts.Asked(0).initial, "Gr\xfcn_");
  EXPECT_EQ(prompts.Asked(1).initial, "Gr\xfcn_");
  EXPECT_EQ(prompts.Asked(2).initial, "Rot_");
  const std::vector<Record> six = Records(gAppStore, TagFromString("P2CM"));
  ASSERT_EQ(six.size(), 1u);
  EXPECT_GE(six[0].id, 128);
  const std::vector<int16_t> v6 = Values(six[0]);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(v6[i], i / 6 == 1 ? i + 1 : 0) << i;
  const std::vector<Record> twelve = Records(gAppStore, TagFromString("PeCM"));
  ASSERT_EQ(twelve.size(), 1u);
  ASSERT_EQ(twelve[0].data.size(), 148u);
  const std::vector<int16_t> v12 = Values(twelve[0]);
  for (int i = 0; i < 72; ++i) EXPECT_EQ(v12[i], i / 6 == 4 ? -i - 1 : 0) << i;
}

TEST(SectorRule, HuesFallIntoThirtyDegreeSectors) {
  const struct {
    double hue;
    int sector;
  } cases[] = {{0, 0}, {14.9, 0}, {15, 1}, {44.9, 1}, {45, 2}, {314.9, 10}, {315, 11}, {344.9, 11}, {345, 0},
               {359.9, 0}};
  for (const auto& c : cases) EXPECT_EQ(HueSector(c.hue), c.sector) << c.hue;
  // The hue is rounded to whole degrees first: (0, 255, 192) lies at 165.2, past sector 5.
  const struct {
    uint8_t r, g, b;
    int sector;
  } colours[] = {{255, 0, 0, 0},   {255, 128, 0, 1},   {255, 255, 0, 2},  {0, 255, 0, 4},
                 {0, 255, 128, 5}, {0, 255, 192, 6},   {0, 128, 255, 7},  {128, 0, 255, 9},
                 {255, 0, 164, 11}, {255, 0, 50, 0}};
  for (const auto& c : colours) EXPECT_EQ(ColourSector(c.r, c.g, c.b), c.sector) << +c.r << "," << +c.g << "," << +c.b;
  EXPECT_EQ(ColourSector(128, 128, 128), 0);
  EXPECT_EQ(ColourSector(0, 0, 0), 0);
  EXPECT_EQ(SectorPresetType(0), TagFromString("PaCM"));
  EXPECT_EQ(SectorPresetType(11), TagFromString("PlCM"));
  EXPECT_EQ(SelectivePresetType(5), TagFromString("P6CM"));
}

TEST(ColorMatrix12StateTest, InitStartsAfreshAndFreeReleases) {
  gColorMatrix12State.currentSector = 7;
  gColorMatrix12State.selected[5] = 1;
  InitColorMatrix12State();
  EXPECT_EQ(gColorMatrix12State.currentSector, 0u);
  EXPECT_EQ(gColorMatrix12State.wheelRange, 50u);
  EXPECT_EQ(gColorMatrix12State.allSix, 0);
  EXPECT_EQ(gColorMatrix12State.wheelBitmap, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(gColorMatrix12State.selected, gColorMatrix12State.selected + 12),
            (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const MemHandle cube = ColorMatrix12Cube();
  ASSERT_NE(cube, nullptr);
  EXPECT_EQ(MemHandleSize(cube), kCube8Bytes);
  EXPECT_EQ(ColorMatrix12Cube(), cube);
  EXPECT_EQ(gRegionMatrixSet.entryCount, 0);
  const int16_t matrix[72] = {5};
  ASSERT_EQ(BuildColorMatrixLuts(matrix, &gRegionMatrixSet, nullptr, nullptr, 0), 0);
  FreeColorMatrix12State();
  EXPECT_EQ(gColorMatrix12State.cube8, nullptr);
  EXPECT_EQ(gRegionMatrixSet.entries, nullptr);
  EXPECT_EQ(gRegionMatrixSet.entryCount, 0);
  FreeColorMatrix12State();
}

TEST(FrameRecordMatrixFields, ModeWordAndTwelveColourMatrix) {
  EXPECT_EQ(offsetof(FrameRecord, selectiveColorMatrix), 20u);
  EXPECT_EQ(offsetof(FrameRecord, selectiveColorMode), 1608u);
  EXPECT_EQ(offsetof(FrameRecord, colorMatrix12), 1612u);
  EXPECT_EQ(sizeof(FrameRecord::colorMatrix12), 144u);
  EXPECT_EQ(offsetof(FrameRecord, colorMatrix12) + sizeof(FrameRecord::colorMatrix12), 1756u);
}

}  // namespace
