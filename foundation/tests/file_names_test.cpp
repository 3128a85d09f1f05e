// Path texts and the names of stores, previews and profiles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"

namespace {

std::string Text(const unsigned char* s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

struct SetNameCase {
  const char* path;
  const char* name;
  const char* extension;
  const char* result;
};
class SetPathFileNameCases : public testing::TestWithParam<SetNameCase> {};

TEST_P(SetPathFileNameCases, KeepsDriveAndDirectory) {
  char path[kPathSize];
  std::strcpy(path, GetParam().path);
  SetPathFileName(path, GetParam().name, GetParam().extension);
  EXPECT_STREQ(path, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetPathFileNameCases,
                         testing::Values(SetNameCase{"C:\\A\\B\\x.prf", "y", "", "C:\\A\\B\\y"},
                                         SetNameCase{"C:\\A\\", "Prefs\\", "", "C:\\A\\Prefs\\"},
                                         SetNameCase{"C:\\A\\x.prf", "PrefsFolder", "ico", "C:\\A\\PrefsFolder.ico"},
                                         SetNameCase{"C:\\A\\x.prf", "desktop", ".ini", "C:\\A\\desktop.ini"},
                                         SetNameCase{"x.txt", "y", "txt", "y.txt"},
                                         SetNameCase{"C:x.txt", "y", "", "C:y"}));

struct ParentCase {
  const char* path;
  const char* parent;
};
class GetParentPathCases : public testing::TestWithParam<ParentCase> {};

TEST_P(GetParentPathCases, DropsNameAndTrailingSeparators) {
  char path[kPathSize];
  std::strcpy(path, GetParam().path);
  GetParentPath(path);
  EXPECT_STREQ(path, GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(Cases, GetParentPathCases,
                         testing::Values(ParentCase{"C:\\A\\B\\x.txt", "C:\\A\\B"}, ParentCase{"x.txt", ""},
                                         ParentCase{"C:\\A\\B\\\\x", "C:\\A\\B"}, ParentCase{"C:\\A\\", "C:\\A"}));

TEST(Paths, SplitFileNameWithAndWithoutExtension) {
  char name[kPathSize], extension[kPathSize];
  SplitFileName("C:\\Bilder\\scan.1.tif", name, extension);
  EXPECT_STREQ(name, "scan.1");
  EXPECT_STREQ(extension, ".tif");
  SplitFileName("C:\\Bilder\\scan", name, extension);
  EXPECT_STREQ(name, "scan");
  EXPECT_STREQ(extension, "");
  SplitFileName("C:\\Bilder\\scan.tif", name, nullptr);
  EXPECT_STREQ(name, "scan.tif");
  EXPECT_STREQ(FileNamePart("/tmp/a/b.prf"), "b.prf");
}

TEST(Paths, AppendStopsAtTheBufferSize) {
  char path[kPathSize] = "C:\\";
  std::string longName(300, 'n');
  EXPECT_FALSE(AppendToPath(path, longName.c_str()));
  EXPECT_EQ(std::strlen(path), 255u);
}

// Scripted session: the device and the negative flags.
bool gNegative = false;
bool gAlternate = false;
void DeviceName(unsigned char* name) { MakeDeviceName(name, "Quill   ", "ZIR 4000  "); }
bool Negative() { return gNegative; }
bool Alternate() { return gAlternate; }
const ScanNameSource kSession = {DeviceName, Negative, Alternate};

struct NameCase {
  bool transparent, positionMode;
  int16_t position;
  bool negative, alternate;
  const char* preview;
  const char* profile;
};
class SessionFileNames : public testing::TestWithParam<NameCase> {
 protected:
  void SetUp() override {
    SetScanNameSource(&kSession);
    gNegative = GetParam().negative;
    gAlternate = GetParam().alternate;
  }
  void TearDown() override { SetScanNameSource(nullptr); }
};

TEST_P(SessionFileNames, CarryTheOriginSuffix) {
  const NameCase& c = GetParam();
  PString name;
  MakePreviewFileName(name, c.transparent, c.positionMode, c.position);
  EXPECT_EQ(Text(name), c.preview);
  MakeProfileName(name, c.transparent, c.positionMode, c.position);
  EXPECT_EQ(Text(name), c.profile);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionFileNames,
    testing::Values(NameCase{false, false, 0, false, false, "QBprev (Quill ZIR 4000)", "QB_R (ZIR)"},
                    NameCase{true, false, 0, true, false, "QBprevTN (Quill ZIR 4000)", "QB_TN (ZIR)"},
                    NameCase{true, false, 0, true, true, "QBprevTM (Quill ZIR 4000)", "QB_TM (ZIR)"},
                    NameCase{false, true, 3, false, false, "QBprev3 (Quill ZIR 4000)", "QB_3 (ZIR)"},
                    NameCase{false, true, 0, false, false, "QBprevO (Quill ZIR 4000)", "QB_O (ZIR)"},
                    NameCase{false, true, -2, true, false, "QBprevON (Quill ZIR 4000)", "QB_ON (ZIR)"},
                    NameCase{false, false, 0, true, false, "QBprevN (Quill ZIR 4000)", "QB_R (ZIR)"},
                    NameCase{true, false, 0, false, false, "QBprevT (Quill ZIR 4000)", "QB_T (ZIR)"}));

TEST(FileNames, StoresAndPreviewFamilies) {
  PString name;
  MakeAppPrefsFileName(name);
  EXPECT_EQ(Text(name), "QBApp (RazoZUR).prf");
  MakeDevicePrefsFileName(name);
  EXPECT_EQ(Text(name), "QB (???" ").prf") << "no device known";
  SetScanNameSource(&kSession);
  gNegative = false;
  MakeDevicePrefsFileName(name);
  EXPECT_EQ(Text(name), "QB (Quill ZIR 4000).prf");
  MakePrescanFileName(name, true, false, 0);
  EXPECT_EQ(Text(name), "QBPrevLT (Quill ZIR 4000)");
  MakeZoomFileName(name, false, false, 0);
  EXPECT_EQ(Text(name), "QBzoom (Quill ZIR 4000)");
  MakeSharpenPreviewFileName(name, false, false, 0, true);
  EXPECT_EQ(Text(name), "QBdscr (Quill ZIR 4000)");
  MakeSharpenPreviewFileName(name, false, true, 2, false);
  EXPECT_EQ(Text(name), "QBunsh2 (Quill ZIR 4000)");
  SetScanNameSource(nullptr);
  PStrFromC(name, "QB");
  AppendOriginSuffix(name, false, true, 0);
  EXPECT_EQ(Text(name), "QBO (");
}

}  // namespace
