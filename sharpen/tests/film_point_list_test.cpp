#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/memory.h"
#include "sharpen/film_point_list.h"
#include "sharpen/negative_curves.h"

namespace {

// A stored list built byte by byte: header, count, then per curve n and n points.
std::vector<uint8_t> StoredList(const std::vector<std::vector<uint16_t>>& curves) {
  std::vector<uint8_t> bytes(6, 0);
  bytes[4] = static_cast<uint8_t>(curves.size());
  for (const auto& values : curves) {
    const size_t n = values.size() / 6;
    bytes.push_back(static_cast<uint8_t>(n));
    bytes.push_back(0);
    for (uint16_t v : values) {
      bytes.push_back(static_cast<uint8_t>(v & 0xFF));
      bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
  }
  return bytes;
}

FilmPointList* AsList(std::vector<uint8_t>& bytes) { return reinterpret_cast<FilmPointList*>(bytes.data()); }

TEST(FilmPointList, LayoutWalksCurvesBySize) {
  std::vector<uint16_t> three(18), one(6, 7);
  for (int i = 0; i < 18; ++i) three[i] = static_cast<uint16_t>(100 * i);
  std::vector<uint8_t> bytes = StoredList({three, one});
  FilmPointList* list = AsList(bytes);
  EXPECT_EQ(FilmListHeader(list), 0u);
  EXPECT_EQ(FilmCurveCount(list), 2);
  EXPECT_EQ(FilmPointListSize(list), 6u + 38u + 14u);
  EXPECT_EQ(FilmPointListSize(nullptr), 6u);
  EXPECT_EQ(FilmCurveSize(nullptr), 2u);
  // Index below 1 gives the first curve, at byte 6; the second follows at 6 + 2 + 12 n.
  EXPECT_EQ(reinterpret_cast<uint8_t*>(FilmCurveAt(list, -3)), bytes.data() + 6);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(FilmCurveAt(list, 1)), bytes.data() + 44);
  EXPECT_EQ(FilmCurvePointCount(FilmCurveAt(list, 0)), 3);
  EXPECT_EQ(FilmCurvePoint(FilmCurveAt(list, 0), 2).value[5], 1700);
  EXPECT_EQ(FilmCurvePoint(FilmCurveAt(list, 1), 0).value[0], 7);
  EXPECT_TRUE(FilmPointListFits(list, FilmPointListSize(list)));
  EXPECT_FALSE(FilmPointListFits(list, FilmPointListSize(list) - 1));
}

TEST(FilmPointList, NewListSpacesThePointsEvenly) {
  FilmPointList* list = NewFilmPointList(3, 32767);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(FilmCurveCount(list), 1);
  const uint16_t want[3] = {0, 16384, 32767};
  for (int k = 0; k < 3; ++k) {
    for (uint16_t v : FilmCurvePoint(FilmCurveAt(list, 0), k).value) EXPECT_EQ(v, want[k]) << k;
  }
  EXPECT_EQ(FilmPointListSize(list), 6u + 2u + 36u);
  FreeFilmPointList(list);
  EXPECT_EQ(NewFilmPointList(1, 32767), nullptr);
}

TEST(FilmPointList, InsertCopiesTheCurveAtTheClampedIndex) {
  FilmPointList* a = NewFilmPointList(2, 100);
  FilmPointList* b = NewFilmPointList(4, 300);
  FilmPointList* one = InsertFilmCurve(nullptr, FilmCurveAt(a, 0), 5);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(FilmCurveCount(one), 1);
  struct Case {
    int index;
    int wantPointsFirst;
  } cases[] = {{-2, 4}, {0, 4}, {1, 2}, {9, 2}};
  for (const Case& c : cases) {
    FilmPointList* two = InsertFilmCurve(one, FilmCurveAt(b, 0), c.index);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(FilmListHeader(two), 0u);
    EXPECT_EQ(FilmCurveCount(two), 2);
    EXPECT_EQ(FilmCurvePointCount(FilmCurveAt(two, 0)), c.wantPointsFirst) << c.index;
    EXPECT_EQ(FilmPointListSize(two), FilmPointListSize(a) + FilmPointListSize(b) - 6);
    EXPECT_EQ(FilmCurvePoint(FilmCurveAt(two, c.wantPointsFirst == 4 ? 0 : 1), 3).value[0], 300);
    FreeFilmPointList(two);
  }
  FreeFilmPointList(a);
  FreeFilmPointList(b);
  FreeFilmPointList(one);
}

TEST(NegativeSource, ClampAndToolHandOver) {
  EXPECT_EQ(ClampFilmExposure(-0.5f), 0.0f);
  EXPECT_EQ(ClampFilmExposure(0.25f), 0.25f);
  EXPECT_EQ(ClampFilmExposure(1.5f), 1.0f);

  FilmPointList* held = NewFilmPointList(5, 1000);
  FilmPointList* out = NewFilmPointList(2, 5);
  uint32_t bits = 0;
  EXPECT_FALSE(CopyNegativeSourceData(&out, &bits));  // the tool holds no list: nothing changes
  EXPECT_EQ(FilmCurvePointCount(FilmCurveAt(out, 0)), 2);
  gNegativeToolProfile = held;
  gNegativeToolExposure = 0.75f;
  EXPECT_FALSE(CopyNegativeSourceData(nullptr, &bits));
  ASSERT_TRUE(CopyNegativeSourceData(&out, &bits));
  float exposure;
  std::memcpy(&exposure, &bits, sizeof exposure);
  EXPECT_EQ(exposure, 0.75f);
  EXPECT_NE(out, held);
  EXPECT_EQ(std::memcmp(out, held, FilmPointListSize(held)), 0);
  gNegativeToolLinear = 1;
  ASSERT_TRUE(CopyNegativeSourceData(&out, &bits));
  EXPECT_EQ(bits, 0u);
  EXPECT_EQ(FilmCurvePointCount(FilmCurveAt(out, 0)), 2);
  EXPECT_EQ(FilmCurvePoint(FilmCurveAt(out, 0), 1).value[3], 32767);
  gNegativeToolLinear = 0;
  gNegativeToolProfile = nullptr;
  FreeFilmPointList(out);
  FreeFilmPointList(held);
}

}  // namespace
