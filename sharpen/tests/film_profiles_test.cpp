// The film profile library over a fresh application store per test: the
// install table, loading with its fallback, and saving under the user's names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "color/matrix_presets.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "sharpen/film_profiles.h"
#include "sharpen/negative_curves.h"
#include "state/data_source_state.h"

namespace {

constexpr RecordType kVersionType = TagFromString("vNum");
constexpr int32_t kVersionId = 128;

// A big-endian resource: one curve of three points whose middle point carries the id.
std::vector<uint8_t> Resource(uint32_t id, uint32_t header = 0) {
  const uint16_t words[] = {1, 3, 0, 0, 0, 0, 0, 0};
  std::vector<uint8_t> bytes = {uint8_t(header >> 24), uint8_t(header >> 16), uint8_t(header >> 8), uint8_t(header)};
  auto put = [&bytes](uint32_t w) {
    bytes.push_back(static_cast<uint8_t>(w >> 8));
    bytes.push_back(static_cast<uint8_t>(w & 0xFF));
  };
  put(words[0]);
  put(words[1]);
  for (int k = 0; k < 6; ++k) put(0);
  for (int k = 0; k < 6; ++k) put(k % 2 ? id : 16000);
  for (int k = 0; k < 6; ++k) put(32767);
  return bytes;
}

std::string FilmName(uint32_t id) { return id == 331 ? "Film 330" : "Film " + std::to_string(id); }

class FilmProfilesTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    CreateFolder(kFolder);
    const std::string name = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((std::string(kFolder) + name).c_str());
    gAppStore = OpenOrCreateFile(name.c_str(), kFolder);
    ASSERT_NE(gAppStore, nullptr);
    for (uint32_t id : {1u, 2u, 101u, 102u, 330u, 331u, 940u, 2000u}) {
      system_.resources[{"NgFm", id}] = Resource(id);
      system_.strings[63000 + id] = FilmName(id);
    }
    system_.strings[63001] = "<Standard>";
    system_.strings[62000] = "Monochrom";
    system_.strings[2250] = "NgFm-Resource name:";
    InstallSystemServices(&system_);
  }

  void TearDown() override {
    InstallSystemServices(nullptr);
    FreeFilmProfileCache();
    CloseFile(gAppStore);
    ResetDataSourceState();
  }

  void AddProfile(int32_t id, const std::string& name, uint16_t middle = 5000) {
    std::vector<uint8_t> bytes = Resource(middle);
    // The store's order: little-endian words.
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    std::memset(bytes.data(), 0, 4);
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kFilmRecordType, id, bytes.data(), uint32_t(bytes.size()), name.c_str()));
  }

  void SetVersion(uint32_t version) {
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kVersionType, kVersionId, &version, sizeof version, ""));
  }

  uint16_t MiddleOf(int32_t id) {
    FilmPointList* list = ReadFilmProfile(id, nullptr);
    if (!list) return 0;
    const uint16_t v = FilmCurvePoint(FilmCurveAt(list, 0), 1).value[1];
    FreeFilmPointList(list);
    return v;
  }

  bool Has(int32_t id) {
    uint32_t size;
    return RecordStoreSize(gAppStore, kFilmRecordType, id, &size);
  }

  static constexpr const char* kFolder = "film_profile_cases\\";
  ScriptedSystem system_;
};

TEST_F(FilmProfilesTest, InstallTableFollowsTheStoredVersion) {
  struct Case {
    uint32_t version;  // 0: no version record
    bool builtinsReplaced;
    bool userKept;
  } cases[] = {{0, true, false}, {55000, true, true}, {55200, false, true}, {60000, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    RecordStoreDeleteRange(gAppStore, kFilmRecordType, 0, 0);
    RecordStoreDelete(gAppStore, kVersionType, kVersionId);
    if (c.version) SetVersion(c.version);
    AddProfile(101, "Film 101", 777);
    AddProfile(2600, "Eigener Film");
    ASSERT_TRUE(InstallBuiltinFilmProfiles());
    EXPECT_EQ(AppStoreVersion(gAppStore), 55200u);
    EXPECT_EQ(MiddleOf(101), c.builtinsReplaced ? 101 : 777);
    EXPECT_EQ(Has(2600), c.userKept);
    // Ids 330 and 331 share a name: the second is left out.
    EXPECT_EQ(RecordStoreCount(gAppStore, kFilmRecordType),
              c.builtinsReplaced ? 7 + (c.userKept ? 1 : 0) : 2);
    EXPECT_EQ(Has(331), false);
  }
}

TEST_F(FilmProfilesTest, ResourcesBecomeLittleEndianRecordsNamedFromTheStrings) {
  system_.resources[{"NgFm", 102}] = Resource(102, 0x01000000);  // header not 0: skipped
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  EXPECT_FALSE(Has(102));
  char name[64];
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kFilmRecordType, 2000, name));
  EXPECT_STREQ(name, "Monochrom");  // 60000 + id before 63000 + id
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kFilmRecordType, 1, name));
  EXPECT_STREQ(name, "<Standard>");
  FilmPointList* list = ReadFilmProfile(940, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(FilmListHeader(list), 0u);
  EXPECT_EQ(FilmCurveCount(list), 1);
  EXPECT_EQ(FilmPointListSize(list), 44u);
  const FilmPoint middle = FilmCurvePoint(FilmCurveAt(list, 0), 1);
  EXPECT_EQ(middle.value[0], 16000);
  EXPECT_EQ(middle.value[5], 940);
  FreeFilmPointList(list);
}

TEST_F(FilmProfilesTest, AUserProfileNamedLikeAFilmKeepsTheBuiltinOut) {
  SetVersion(55000);
  AddProfile(2700, "Film 940");
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  EXPECT_FALSE(Has(940));
  EXPECT_TRUE(Has(2700));
}

TEST_F(FilmProfilesTest, LoadFallsBackToProfileOne) {
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  AddProfile(2600, "Kaputt");
  uint32_t bad = 7;
  std::vector<uint8_t> header(44);
  RecordStoreRead(gAppStore, kFilmRecordType, 2600, header.data(), 44);
  std::memcpy(header.data(), &bad, 4);
  RecordStoreAdd(gAppStore, kFilmRecordType, 2601, header.data(), 44, "Kopf");
  header[0] = header[1] = header[2] = header[3] = 0;
  header[4] = 10;  // ten curves, more than a list may hold
  RecordStoreAdd(gAppStore, kFilmRecordType, 2602, header.data(), 44, "Abgeschnitten");
  std::vector<uint8_t> ten(26, 0);  // ten curves without points
  ten[4] = 10;
  RecordStoreAdd(gAppStore, kFilmRecordType, 2603, ten.data(), 26, "Zehn");

  struct Case {
    int32_t id;
    uint16_t wantMiddle;  // 0: no list; a cut record reads as missing
  } cases[] = {{0, 1}, {1, 1}, {2, 2}, {1234, 1}, {2600, 5000}, {2601, 0}, {2602, 1}, {2603, 0}};
  FilmPointList* list = NewFilmPointList(2, 1);
  for (const Case& c : cases) {
    LoadFilmProfile(&list, c.id);
    if (!c.wantMiddle) {
      EXPECT_EQ(list, nullptr) << c.id;
      continue;
    }
    ASSERT_NE(list, nullptr) << c.id;
    EXPECT_EQ(FilmCurvePoint(FilmCurveAt(list, 0), 1).value[1], c.wantMiddle) << c.id;
  }
  FreeFilmPointList(list);
}

TEST_F(FilmProfilesTest, SavingRefusesBuiltinsAndNumbersUserProfiles) {
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  FilmPointList* list = NewFilmPointList(4, 32767);
  int16_t id = 101;
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerOk);
    EXPECT_FALSE(SaveFilmProfile(list, &id, true));
    EXPECT_EQ(prompts.Asked(0).textId, 2252u);
  }
  {
    ScopedPrompts prompts;  // a new name: one above 2501 and every record id
    prompts.Accept(PromptKind::kName, "Mein Film");
    EXPECT_TRUE(SaveFilmProfile(list, &id, false));
    EXPECT_EQ(prompts.Asked(0).initial, "Film 101");
    EXPECT_EQ(prompts.Asked(0).text, "NgFm-Resource name:");
    EXPECT_EQ(id, 2502);
  }
  for (int answer : {kAnswerYes, kAnswerNo}) {
    ScopedPrompts prompts;  // the name of a built-in: refused after either answer
    prompts.Accept(PromptKind::kName, "Film 102").Reply(answer).Reply(kAnswerOk);
    int16_t other = 2502;
    EXPECT_FALSE(SaveFilmProfile(list, &other, false));
    EXPECT_EQ(prompts.Asked(1).textId, 501u);
    EXPECT_EQ(prompts.Asked(2).textId, 2252u);
  }
  {
    ScopedPrompts prompts;  // a user profile's name: No keeps it, Yes replaces it under its id
    prompts.Accept(PromptKind::kName, "Mein Film").Reply(kAnswerNo);
    int16_t other = 1;
    EXPECT_FALSE(SaveFilmProfile(list, &other, false));
    prompts.Accept(PromptKind::kName, "Mein Film").Reply(kAnswerYes);
    FilmPointList* three = NewFilmPointList(3, 100);
    EXPECT_TRUE(SaveFilmProfile(three, &other, false));
    FreeFilmPointList(three);
    EXPECT_EQ(other, 2502);
    EXPECT_EQ(MiddleOf(2502), 50);
    prompts.Cancel(PromptKind::kName);
    EXPECT_FALSE(SaveFilmProfile(list, &other, false));
  }
  // Overwriting a user profile asks nothing and keeps its name.
  EXPECT_TRUE(SaveFilmProfile(list, &id, true));
  char name[64];
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kFilmRecordType, 2502, name));
  EXPECT_STREQ(name, "Mein Film");
  EXPECT_EQ(MiddleOf(2502), 10922);
  EXPECT_FALSE(SaveFilmProfile(nullptr, &id, true));
  FreeFilmPointList(list);
}

TEST_F(FilmProfilesTest, ImportCopiesBuiltinsAndNewUserProfiles) {
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  AddProfile(2600, "Hier", 1111);
  const std::string otherName = std::string(kFolder) + "import_source.prf";
  DeleteFileAt(otherName.c_str());
  FileHandle other = OpenOrCreateFile("import_source.prf", kFolder);
  ASSERT_NE(other, nullptr);
  FileHandle app = gAppStore;
  gAppStore = other;
  AddProfile(101, "Film 101", 4242);
  AddProfile(2600, "Dort", 2222);
  AddProfile(2700, "Neu", 3333);
  gAppStore = app;
  CloseFile(other);
  static int reloads;
  reloads = 0;
  InstallFilmProfileReload([] { ++reloads; });
  {
    ScopedPrompts prompts;
    prompts.Cancel(PromptKind::kOpenFile);
    EXPECT_FALSE(ImportFilmProfiles(nullptr));
    EXPECT_EQ(reloads, 0);
    prompts.Accept(PromptKind::kOpenFile, otherName);
    EXPECT_TRUE(ImportFilmProfiles(nullptr));
    EXPECT_EQ(prompts.Asked(1).kind, PromptKind::kOpenFile);
  }
  InstallFilmProfileReload(nullptr);
  EXPECT_EQ(reloads, 1);  // the frames reload their profiles once, after the copy
  EXPECT_EQ(MiddleOf(101), 4242);   // a built-in id is copied over
  EXPECT_EQ(MiddleOf(2600), 1111);  // a used user id is left alone
  EXPECT_EQ(MiddleOf(2700), 3333);
  char name[64];
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kFilmRecordType, 2700, name));
  EXPECT_STREQ(name, "Neu");
}

TEST_F(FilmProfilesTest, DeleteOffersTheUserProfilesOfTheApplicationStore) {
  struct Asked {
    FileHandle store;
    RecordType type;
    int32_t minimumId;
    int calls;
  };
  static Asked asked;
  asked = Asked{};
  DeleteFilmProfiles(nullptr);  // no dialog installed: nothing happens
  InstallRecordCleanupDialog([](WindowHandle, FileHandle store, RecordType type, int32_t minimumId) {
    asked = Asked{store, type, minimumId, asked.calls + 1};
  });
  DeleteFilmProfiles(nullptr);
  InstallRecordCleanupDialog(nullptr);
  EXPECT_EQ(asked.calls, 1);
  EXPECT_EQ(asked.store, gAppStore);
  EXPECT_EQ(asked.type, kFilmRecordType);
  EXPECT_EQ(asked.minimumId, 2501);
}

TEST_F(FilmProfilesTest, TheFrameProfileDrivesTheCurves) {
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  FrameRecord frame = {};
  frame.filmProfileRef = 2;
  frame.filmProfileValue = 0.5f;
  gDataSourceState.deviceHas16Bits = true;  // a gamma of 0 stays 0
  std::vector<uint16_t> viaFrame(1001, 0xFFFF), direct(1001, 0xFFFF);
  ComputeNegativeCurves(viaFrame.data(), 0, 1000, 0, 65535, 1, &frame, 0.0);
  FilmPointList* two = ReadFilmProfile(2, nullptr);
  ComputeFilmCurveTable(FilmCurveAt(two, 0), direct.data(), 0, 1000, 0, 65535, 1, 0.0);
  EXPECT_EQ(viaFrame, direct);
  EXPECT_EQ(viaFrame[1000], 65535);
  FreeFilmPointList(two);
  // The profile of the computation is cached until the next one.
  ASSERT_NE(gFilmProfileCache, nullptr);
  EXPECT_EQ(FilmCurvePoint(FilmCurveAt(gFilmProfileCache, 0), 1).value[1], 2);
}

}  // namespace
