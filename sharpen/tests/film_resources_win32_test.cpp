// The module's own film profiles: the program carries resources/film.rc, and
// the install copies them through the platform's resource calls.
#include <gtest/gtest.h>

#include <string>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "sharpen/film_profiles.h"
#include "sharpen/negative_tool_rules.h"
#include "state/data_source_state.h"

namespace {

constexpr const char* kFolder = "film_resource_cases\\";

std::string NameOf(int32_t id) {
  char name[64] = "";
  RecordStoreNameById(gAppStore, kFilmRecordType, id, name);
  return name;
}

uint32_t SizeOf(int32_t id) {
  uint32_t size = 0;
  RecordStoreSize(gAppStore, kFilmRecordType, id, &size);
  return size;
}

TEST(FilmResources, AFreshStoreGetsTheBuiltinProfiles) {
  ResetDataSourceState();
  CreateFolder(kFolder);
  DeleteFileAt((std::string(kFolder) + "fresh.prf").c_str());
  gAppStore = OpenOrCreateFile("fresh.prf", kFolder);
  ASSERT_NE(gAppStore, nullptr);
  ASSERT_TRUE(InstallBuiltinFilmProfiles());
  // 122 resources; 330 and 331 share a name, so the second stays out.
  EXPECT_EQ(RecordStoreCount(gAppStore, kFilmRecordType), 121);
  EXPECT_EQ(NameOf(1), "<Standard>");
  EXPECT_EQ(NameOf(2), "<Linear>");
  EXPECT_EQ(NameOf(330), "Kodak T-Max 100 6x6");
  EXPECT_EQ(SizeOf(331), 0u);
  EXPECT_EQ(NameOf(2000), "Monochrom");
  EXPECT_EQ(SizeOf(1), 480u);
  EXPECT_EQ(SizeOf(2), 44u);
  EXPECT_EQ(SizeOf(940), 480u);
  EXPECT_EQ(SizeOf(2000), 444u);

  FilmPointList* linear = ReadFilmProfile(2, nullptr);
  ASSERT_NE(linear, nullptr);
  const uint16_t want[3][2] = {{0, 0}, {16448, 8256}, {32767, 32767}};
  for (int k = 0; k < 3; ++k) {
    const FilmPoint p = FilmCurvePoint(FilmCurveAt(linear, 0), k);
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(p.value[2 * c], want[k][0]);
      EXPECT_EQ(p.value[2 * c + 1], want[k][1]);
    }
  }
  FreeFilmPointList(linear);

  const FilmNameParts parts = ParseFilmName(nullptr, NameOf(113).c_str());
  EXPECT_EQ(parts.makerName, "Agfa");
  EXPECT_EQ(parts.lineName, "Optima II Prestige");
  CloseFile(gAppStore);
  ResetDataSourceState();
}

}  // namespace
