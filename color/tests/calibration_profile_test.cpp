// The calibration profile file: its layout, both byte orders, versions 1 and
// 2, the failures that leave the reset form, saving with its backup, the
// profile list, and the calibration's start-up form and release.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "color/calibration_profile_file.h"
#include "color/calibration_tables.h"
#include "color/color_calibration.h"
#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/color_matrix.h"
#include "color/tests/color_test_support.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  FileHandle file = OpenFileForReading(path.c_str());
  uint64_t size = 0;
  if (file && GetFileSize(file, &size)) {
    bytes.resize(static_cast<size_t>(size));
    if (size && !ReadBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(size))) bytes.clear();
  }
  CloseFile(file);
  return bytes;
}

uint32_t Little(const std::vector<uint8_t>& b, size_t at, int width) {
  uint32_t v = 0;
  for (int i = width - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

// The big-endian twin of a little-endian profile: every field swapped as the layout says.
std::vector<uint8_t> SwappedTwin(std::vector<uint8_t> b) {
  if (b.size() < 3504) return {};
  auto swap = [&b](size_t from, size_t count, int width) {
    for (size_t i = 0; i < count; ++i) std::reverse(b.begin() + from + i * width, b.begin() + from + (i + 1) * width);
  };
  b[0] = b[1] = 'M';
  swap(2, 1, 2);
  swap(4, 3, 4);
  swap(16, 72 + 88 + 1584, 2);
  if (b.size() == 3504) return b;
  swap(3504, 4, 2);
  for (size_t p = 0; p < 286; ++p) swap(3516 + 28 * p + 4, 6, 4);
  swap(11524, 2 * 858, 4);
  swap(18388, 2, 2);
  swap(18392, 107811, 4);
  return b;
}

// A calibration with a value in every part of the file; the cube is not the identity.
void FillCalibration() {
  for (int i = 0; i < 72; ++i) gCalibrationSet.matrix[i] = static_cast<int16_t>(i % 5 == 0 ? 0 : i - 36);
  for (int i = 0; i < 88; ++i) gCalibrationSet.greyRow[i] = static_cast<int16_t>(250 - 2 * i);
  for (int i = 0; i < 1584; ++i) gCalibrationSet.patchValues[i] = static_cast<int16_t>(i % 256);
  CalibrationTables& t = gCalibrationTables;
  t.colourDone = 1;
  t.greyDone = 1;
  t.referenceHasLab = 1;
  t.reference[0][0] = {1, 0.5, 0.25, -0.125, 50.0, -20.5, 100.0};
  t.reference[12][21] = {1, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
  t.greyPassMeasured[3][4][2] = 0.75;
  t.colourPassMeasured[12][21][0] = 0.125;
  double* cube = &t.cube[0][0][0][0];
  for (int i = 0; i < kCubeEntries * 3; ++i) cube[i] = std::fmod(cube[i] * 0.9 + 0.05 * (i % 3), 1.0);
}

class CalibrationProfileTest : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    system_->strings.insert({{1712, "Kalibrierungs-Profil existiert bereits!\n\xDC" "berschreiben?"},
                             {1713, "Kalibrations-Datei speichern unter:"},
                             {1714, "Kalibrations-Dateien"},
                             {1715, "*.itp"},
                             {1716, "Unbenanntes IT8-Profil"}});
    settings_ = base_ + "Quillbrook\\";
    SetName("");
    LoadCalibrationProfile();
  }
  void TearDown() override {
    FreeColorCalibration();
    ColorFolderTest::TearDown();
  }
  static void SetName(const std::string& name) {
    char* field = reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultCalibrationProfileName));
    std::memset(field, 0, kDefaultCalibrationProfileName.size);
    std::memcpy(field, name.data(), name.size());
  }
  static std::string Name() {
    return reinterpret_cast<const char*>(DefaultsBytes(gDefaults, kDefaultCalibrationProfileName));
  }
  // Writes the filled calibration as settings folder + name + ".itp"; its bytes.
  std::vector<uint8_t> WriteFilled(const std::string& name) {
    FillCalibration();
    const std::string path = settings_ + name + ".itp";
    EXPECT_TRUE(WriteCalibrationProfileFile(path.c_str()));
    return ReadAll(path);
  }
  // Loads the named profile, expecting the outcome.
  static void Load(const std::string& name, bool loads) {
    SetName(name);
    EXPECT_EQ(LoadCalibrationProfile(), loads) << name;
  }
  static void ExpectResetForm() {
    for (int16_t v : gCalibrationSet.matrix) ASSERT_EQ(v, 0);
    for (int16_t v : gCalibrationSet.patchValues) ASSERT_EQ(v, 0);
    EXPECT_EQ(gCalibrationSet.greyRow[4], 243);
    EXPECT_EQ(gCalibrationTables.greyDone, 0);
    EXPECT_EQ(gCalibrationTables.rows, 13);
    std::vector<double> identity(kCubeEntries * 3);
    InitIdentityCubeDoubles(identity.data());
    EXPECT_EQ(0, std::memcmp(identity.data(), CalibrationCubeTable(), CalibrationCubeTableSize()));
  }
  void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) { WriteBytes(settings_ + name, bytes); }

  std::string settings_;
};

TEST_F(CalibrationProfileTest, TheFileHasTheLayoutOfItsOffsets) {
  const std::vector<uint8_t> b = WriteFilled("layout");
  ASSERT_EQ(b.size(), 449636u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "II");
  EXPECT_EQ(Little(b, 2, 2), 2u);
  EXPECT_EQ(Little(b, 4, 4), 72u);
  EXPECT_EQ(Little(b, 8, 4), 88u);
  EXPECT_EQ(Little(b, 12, 4), 1584u);
  EXPECT_EQ(static_cast<int16_t>(Little(b, 16 + 2, 2)), -35);  // matrix[1]
  EXPECT_EQ(Little(b, 160 + 2 * 87, 2), 250u - 174u);           // greyRow[87]
  EXPECT_EQ(Little(b, 336 + 2 * 300, 2), 300u % 256u);          // patchValues[300]
  const uint32_t headers[6] = {Little(b, 3504, 2), Little(b, 3506, 2), Little(b, 3508, 2), Little(b, 3510, 2),
                               Little(b, 18388, 2), Little(b, 18390, 2)};
  EXPECT_EQ(std::vector<uint32_t>(headers, headers + 6), (std::vector<uint32_t>{3, 3, 13, 22, 3, 33}));
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 3512, b.begin() + 3516), (std::vector<uint8_t>{1, 1, 0, 1}));
  // Patch A1: present, three zero bytes, X = 0.5 and Z = -0.125 at 2^24, L = 50 at 2^24.
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 3516, b.begin() + 3520), (std::vector<uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(Little(b, 3520, 4), 1u << 23);
  // Truncation of scale x value + 0.5 takes a negative value one step toward zero.
  EXPECT_EQ(static_cast<int32_t>(Little(b, 3528, 4)), -(1 << 21) + 1);
  EXPECT_EQ(Little(b, 3532, 4), 50u << 24);
  // The last patch (grey row, column 22): X = 1.0.
  EXPECT_EQ(Little(b, 3516 + 285 * 28 + 4, 4), 1u << 24);
  EXPECT_EQ(Little(b, 11524 + 4 * ((3 * 22 + 4) * 3 + 2), 4), 3u << 28);  // grey pass 0.75 at 2^30
  EXPECT_EQ(Little(b, 14956 + 4 * (285 * 3), 4), 1u << 27);              // colour pass 0.125
  EXPECT_EQ(Little(b, 18392 + 4 * (107811 - 1), 4),
            static_cast<uint32_t>(DoubleToFixed(gCalibrationTables.cube[32][32][32][2], 1 << 30)));
}

TEST_F(CalibrationProfileTest, BothByteOrdersLoadTheSameValues) {
  const std::vector<uint8_t> little = WriteFilled("little");
  const CalibrationTables written = gCalibrationTables;
  WriteFile("big.itp", SwappedTwin(little));
  for (const char* name : {"little", "big"}) {
    Load(name, true);
    EXPECT_EQ(gCalibrationSet.matrix[1], -35) << name;
    EXPECT_EQ(gCalibrationSet.greyRow[87], 76) << name;
    EXPECT_EQ(gCalibrationSet.patchValues[300], 44) << name;
    const CalibrationTables& t = gCalibrationTables;
    EXPECT_EQ(t.reference[0][0].Z, (-(1 << 21) + 1) / 16777216.0) << name;
    EXPECT_EQ(t.reference[0][0].b, 100.0) << name;
    EXPECT_EQ(t.reference[12][21].b, 6.0) << name;
    EXPECT_EQ(t.greyPassMeasured[3][4][2], 0.75) << name;
    EXPECT_EQ(t.colourDone, 1) << name;
    EXPECT_EQ(t.referenceHasXyz, 0) << name;
    const double* cube = &t.cube[0][0][0][0];
    const double* want = &written.cube[0][0][0][0];
    double worst = 0;
    for (int i = 0; i < kCubeEntries * 3; ++i) worst = std::max(worst, std::fabs(cube[i] - want[i]));
    EXPECT_LE(worst, 1.0 / (1 << 30)) << name;
  }
}

TEST_F(CalibrationProfileTest, AVersionOneFileCarriesNoCube) {
  std::vector<uint8_t> b = WriteFilled("full");
  b.resize(3504);
  b[2] = 1;
  WriteFile("old.itp", b);
  WriteFile("oldbig.itp", SwappedTwin(b));
  for (const char* name : {"old", "oldbig"}) {
    Load(name, true);
    EXPECT_EQ(gCalibrationSet.matrix[1], -35) << name;
    EXPECT_EQ(gCalibrationTables.greyDone, 0) << name;
    std::vector<double> identity(kCubeEntries * 3);
    InitIdentityCubeDoubles(identity.data());
    EXPECT_EQ(0, std::memcmp(identity.data(), CalibrationCubeTable(), CalibrationCubeTableSize())) << name;
  }
}

// Each damaged file fails as a whole and leaves the reset form.
TEST_F(CalibrationProfileTest, InconsistentFilesLeaveTheResetForm) {
  const std::vector<uint8_t> good = WriteFilled("good");
  struct Damage {
    const char* name;
    size_t offset;
    uint8_t value;
  } damages[] = {{"order", 0, 'X'},      {"version3", 2, 3},      {"version0", 2, 0},   {"matrixcount", 4, 71},
                 {"greycount", 8, 89},   {"patchcount", 12, 0},   {"format", 3504, 2},  {"rows12", 3508, 12},
                 {"columns", 3510, 21},  {"cubechannels", 18388, 4}, {"nodes", 18390, 17}};
  for (const Damage& d : damages) {
    std::vector<uint8_t> b = good;
    b[d.offset] = d.value;
    WriteFile(std::string(d.name) + ".itp", b);
    Load(d.name, false);
    ExpectResetForm();
  }
  std::vector<uint8_t> shortFile = good;
  shortFile.pop_back();
  WriteFile("short.itp", shortFile);
  Load("short", false);
  ExpectResetForm();
  Load("missing", false);
  Load("", false);
  // Without ".itp" the name is tried as it stands.
  WriteFile("bare", good);
  Load("bare", true);
  EXPECT_EQ(gCalibrationSet.matrix[1], -35);
}

TEST_F(CalibrationProfileTest, ValuesBeyondTheFixedPointRangeAreStoredAtItsEnds) {
  FillCalibration();
  gCalibrationTables.reference[0][0].X = 1000.0;   // beyond 127.99... at 2^24
  gCalibrationTables.reference[0][0].Y = -1000.0;
  gCalibrationTables.cube[0][0][0][0] = 5.0;       // beyond 1.99... at 2^30
  const std::string path = settings_ + "range.itp";
  ASSERT_TRUE(WriteCalibrationProfileFile(path.c_str()));
  const std::vector<uint8_t> b = ReadAll(path);
  EXPECT_EQ(Little(b, 3520, 4), 2147483647u);
  EXPECT_EQ(static_cast<int32_t>(Little(b, 3524, 4)), -2147483646);
  EXPECT_EQ(Little(b, 18392, 4), 2147483647u);
  EXPECT_EQ(FixedToDouble(1073741824, 1073741824), 1.0);
}

TEST_F(CalibrationProfileTest, SavingAsksForTheFileAndKeepsTheOldOneAsBackup) {
  FillCalibration();
  {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kSaveFile, settings_ + "Studio");
    ASSERT_TRUE(SaveCalibrationProfile());
    EXPECT_EQ(prompts.Asked(0).title, "Kalibrations-Datei speichern unter:");
    EXPECT_EQ(prompts.Asked(0).initial, "Unbenanntes IT8-Profil");
    EXPECT_EQ(prompts.Asked(0).folder, settings_);
    EXPECT_EQ(prompts.Asked(0).filter, std::string("Kalibrations-Dateien\0*.itp\0\0", 28));
  }
  EXPECT_EQ(Name(), "Studio");
  const std::vector<uint8_t> first = ReadAll(settings_ + "Studio.itp");
  ASSERT_EQ(first.size(), 449636u);

  gCalibrationSet.matrix[1] = 7;
  {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kSaveFile, settings_ + "Studio.itp").Reply(kAnswerCancel);
    EXPECT_FALSE(SaveCalibrationProfile());
    EXPECT_EQ(prompts.Asked(1).text, "Kalibrierungs-Profil existiert bereits!\n\xDC" "berschreiben?");
    EXPECT_EQ(prompts.Asked(1).style, kBoxOkCancel | kBoxIconExclamation);
  }
  EXPECT_EQ(ReadAll(settings_ + "Studio.itp"), first);
  EXPECT_FALSE(FileExists((settings_ + "Studio.itp.bak").c_str()));
  {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kSaveFile, settings_ + "Studio.itp").Reply(kAnswerOk);
    ASSERT_TRUE(SaveCalibrationProfile());
  }
  EXPECT_EQ(ReadAll(settings_ + "Studio.itp.bak"), first);
  Load("Studio", true);
  EXPECT_EQ(gCalibrationSet.matrix[1], 7);
  {
    ScopedPrompts prompts;
    prompts.Cancel(PromptKind::kSaveFile);
    EXPECT_FALSE(SaveCalibrationProfile());
  }
  EXPECT_EQ(Name(), "Studio");
}

TEST_F(CalibrationProfileTest, TheListShowsProfilesAndOlderPrefixedFiles) {
  for (const char* name : {"Alpha.itp", "QBprof1.itp", "QBprof2.dat", "notes.txt", "Beta.ITP"})
    WriteFile(name, {1});
  SetName("Beta");
  std::multiset<std::string> names;
  for (const NameNode* n = CalibrationProfileNames(); n; n = n->next) names.insert(n->text);
  EXPECT_EQ(names, (std::multiset<std::string>{"Alpha", "Beta", "QBprof1", "QBprof1", "QBprof2.dat"}));
  int position = 0;
  ASSERT_TRUE(FindNameInList("Beta", CalibrationProfileNames(), &position));
  EXPECT_EQ(SelectCalibrationProfileItem(), position);
  SetName("Gone");
  EXPECT_EQ(SelectCalibrationProfileItem(), 1);
  EXPECT_EQ(Name(), "");
  EXPECT_EQ(SelectCalibrationProfileItem(), 0);
}

// The start-up form takes the current profile's cube into the 8-bit and the
// 16-bit calibration cube, made at their first use; the release leaves no cube.
TEST_F(CalibrationProfileTest, TheStartUpFormBuildsTheCubesFromTheProfile) {
  WriteFilled("cubes");
  SetName("cubes");
  ResetColorCalibration();
  EXPECT_EQ(gCalibrationCube8, nullptr);
  ASSERT_NE(CalibrationCube8(), nullptr);
  ASSERT_NE(CalibrationCube16(), nullptr);
  EXPECT_EQ(gCalibrationSet.entryCount, 72);
  EXPECT_EQ(gCalibrationSet.enabled, 1);
  std::vector<uint8_t> want8(kCube8Bytes);
  UnitDoublesToU8(want8.data(), CalibrationCubeTable(), kCubeEntries * 3);
  EXPECT_EQ(0, std::memcmp(gCalibrationCube8->data, want8.data(), kCube8Bytes));
  std::vector<uint16_t> want16(kCubeEntries * 3);
  UnitDoublesToU16(want16.data(), CalibrationCubeTable(), kCubeEntries * 3);
  EXPECT_EQ(0, std::memcmp(gCalibrationCube16->data, want16.data(), kCube16Bytes));
  FreeColorCalibration();
  EXPECT_EQ(gCalibrationCube8, nullptr);
  EXPECT_EQ(gCalibrationCube16, nullptr);
  EXPECT_EQ(gCalibrationSet.entries, nullptr);
  // Without a profile the 16-bit cube is the identity.
  SetName("");
  ResetColorCalibration();
  std::vector<uint16_t> identity(kCubeEntries * 3);
  InitIdentityCube(identity.data());
  EXPECT_EQ(0, std::memcmp(CalibrationCube16()->data, identity.data(), kCube16Bytes));
}

// Files for the independent reader (calibration_reader.py): both byte orders
// of both versions, and the values the reader must find in them.
TEST_F(CalibrationProfileTest, WritesTheFilesForTheIndependentReader) {
  const char* folder = std::getenv("ZIR_ITP_FOLDER");
  if (!folder) GTEST_SKIP() << "ZIR_ITP_FOLDER not set";
  const std::string out = std::string(folder) + "\\";
  CreateFolder(out.c_str());
  std::vector<uint8_t> v2 = WriteFilled("reader");
  std::vector<uint8_t> v1(v2.begin(), v2.begin() + 3504);
  v1[2] = 1;
  WriteBytes(out + "v2_ii.itp", v2);
  WriteBytes(out + "v2_mm.itp", SwappedTwin(v2));
  WriteBytes(out + "v1_ii.itp", v1);
  WriteBytes(out + "v1_mm.itp", SwappedTwin(v1));
  std::string expected;
  for (int i = 0; i < 72; ++i) expected += "matrix " + std::to_string(i) + " " + std::to_string(gCalibrationSet.matrix[i]) + "\n";
  for (int i = 0; i < 88; ++i) expected += "grey " + std::to_string(i) + " " + std::to_string(gCalibrationSet.greyRow[i]) + "\n";
  char line[128];
  const double* cube = CalibrationCubeTable();
  for (int i = 0; i < kCubeEntries * 3; i += 997) {
    std::snprintf(line, sizeof line, "cube %d %.17g\n", i, cube[i]);
    expected += line;
  }
  std::snprintf(line, sizeof line, "refZ 0 %.17g\nrefL 0 %.17g\ngreypass 212 %.17g\n", gCalibrationTables.reference[0][0].Z,
                gCalibrationTables.reference[0][0].L, gCalibrationTables.greyPassMeasured[3][4][2]);
  expected += line;
  WriteBytes(out + "expected.txt", std::vector<uint8_t>(expected.begin(), expected.end()));
}

}  // namespace
