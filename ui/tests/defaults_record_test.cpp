// The defaults block: built-in values, the checks of a stored block, the
// reconciliation with the colour services of the session, and the records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/record_store.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/table_utils.h"
#include "ui/defaults_record.h"

namespace {

constexpr RecordType kDefaultsType = TagFromString("DFLT");

uint32_t Bytes(const DefaultsBlock& block, uint16_t offset, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value |= uint32_t{block.bytes[offset + i]} << (8 * i);
  return value;
}

template <typename T>
T Value(const DefaultsBlock& block, uint16_t offset) {
  return GetDefault(block, DefaultsField<T>{offset});
}

TEST(BuiltInDefaults, ListedFieldsTakeTheirValuesAndOthersKeepTheirs) {
  DefaultsBlock block;
  std::memset(block.bytes, 0xAB, sizeof block.bytes);
  SetBuiltInDefaults(block);
  const struct {
    uint16_t offset;
    int width;
    uint32_t value;
  } rows[] = {{10, 1, 1},      {34, 2, 256},    {42, 2, 2},     {44, 2, 2},     {46, 1, 36},   {47, 1, 254},
              {54, 1, 36},     {55, 1, 0},      {96, 1, 0},     {98, 1, 1},     {633, 1, 1},   {634, 1, 0},
              {890, 2, 1},     {1179, 1, 50},   {1188, 2, 9999}, {1456, 2, 1},  {1458, 2, 1},  {1464, 2, 256},
              {1512, 1, 0},    {1771, 1, 0},    {1772, 2, 10},  {1831, 1, 1},   {1932, 1, 10}, {2464, 4, 1},
              {3391, 1, 0},    {3651, 1, 0},    {3932, 4, 1},   {3936, 1, 100}, {3949, 1, 1},  {3952, 1, 1},
              // Not listed: kept.
              {9, 1, 0xAB},    {99, 1, 0xAB},   {1166, 1, 0xAB}, {3975, 1, 0xAB}};
  for (const auto& row : rows) EXPECT_EQ(Bytes(block, row.offset, row.width), row.value) << "byte " << row.offset;
  EXPECT_EQ(Value<double>(block, 0), 1.0);
  EXPECT_EQ(Value<double>(block, 16), 2.0);
  EXPECT_EQ(Value<double>(block, 24), 1.8);
  EXPECT_EQ(Value<double>(block, 3960), 1.0);
  EXPECT_EQ(Value<float>(block, 1780), 1.0f);
  // The RGB basis: gamma 1.8, primaries of set 3, D65.
  const float basis[9] = {1.8f, 0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f, 0.3127f, 0.3290f};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Value<float>(block, static_cast<uint16_t>(1476 + 4 * i)), basis[i]) << i;
}

TEST(BuiltInDefaults, TheHostsColourBasisIsRoundedToFourDecimals) {
  SessionBlock session = {};
  session.colourBasis = {2 << 16, {41943, 21627, 19661, 39322, 9830, 3932}, {20493, 21561}};
  gSession = &session;
  DefaultsBlock block = {};
  SetBuiltInDefaults(block);
  gSession = nullptr;
  const float expected[9] = {2.0f, 0.64f, 0.33f, 0.3f, 0.6f, 0.15f, 0.06f, 0.3127f, 0.329f};
  for (int i = 0; i < 9; ++i) {
    EXPECT_NEAR(Value<float>(block, static_cast<uint16_t>(1476 + 4 * i)), expected[i], 1e-6) << i;
  }
}

// One field of a stored block, and what the checks make of it.
struct CheckCase {
  uint16_t offset;
  int width;
  uint32_t stored;
  uint32_t checked;
};

TEST(LoadedDefaults, ValuesOutOfRangeAreBroughtBack) {
  const CheckCase cases[] = {
      {3949, 1, 0, 1},  {3949, 1, 7, 2},     {3949, 1, 2, 2},       {3953, 1, 2, 0},     {3953, 1, 1, 1},
      {1179, 1, 0, 50}, {1179, 1, 101, 100}, {1179, 1, 70, 70},     {1456, 2, 0, 1},     {1458, 2, 0, 1},
      // The film limits, all 0 as stored: each high becomes at least low + 5.
      {1466, 1, 0, 0},  {1467, 1, 0, 5}};
  for (const CheckCase& c : cases) {
    DefaultsBlock block = {};
    SetBuiltInDefaults(block);
    for (int i = 0; i < c.width; ++i) block.bytes[c.offset + i] = static_cast<uint8_t>(c.stored >> (8 * i));
    CheckLoadedDefaults(block);
    EXPECT_EQ(Bytes(block, c.offset, c.width), c.checked) << "byte " << c.offset << " stored " << c.stored;
  }
}

TEST(LoadedDefaults, TheGammaDivisorIsLimited) {
  const double cases[][2] = {{0.1, 0.4}, {5.0, 3.0}, {2.2, 2.2}, {NAN, 1.0}};
  for (const auto& c : cases) {
    DefaultsBlock block = {};
    SetDefault(block, kDefaultZirGamma, c[0]);
    CheckLoadedDefaults(block);
    EXPECT_EQ(GetDefault(block, kDefaultZirGamma), c[1]) << c[0];
  }
}

TEST(FilmLimits, EveryPairKeepsARangeOfFiveLevels) {
  uint8_t pairs[8] = {250, 0, 255, 255, 10, 12, 0, 0};
  EnforceMinimumRanges(pairs);
  const uint8_t expected[8] = {250, 255, 250, 255, 10, 15, 0, 5};
  EXPECT_EQ(0, std::memcmp(pairs, expected, 8));
}

// Without colour management and without the host's colour callback, the
// colour-managed modes fall back to what the session can do; the calibration
// falls back when no profile loads.
TEST(ColourServices, ModesTheSessionCannotHonourFallBack) {
  SessionBlock session = {};
  int callback = 0;
  const struct {
    uint16_t offset;
    int width;
    uint32_t stored;
    bool hostCallback;
    uint32_t reconciled;
  } cases[] = {
      {1830, 1, 2, false, 0}, {1830, 1, 1, true, 2},  {1830, 1, 1, false, 0}, {1830, 1, 2, true, 2},
      {1456, 2, 2, false, 1}, {1456, 2, 4, false, 1}, {1456, 2, 3, false, 1}, {1458, 2, 2, false, 1},
      {1458, 2, 4, false, 1}, {1458, 2, 5, false, 1}, {1458, 2, 3, false, 1}, {1831, 1, 1, false, 0},
      {97, 1, 0, false, 0},   {1188, 2, 0, false, 9999}, {1464, 2, 0, false, 256}, {1184, 4, 0, false, 1}};
  for (const auto& c : cases) {
    session.colourServices.value = c.hostCallback ? &callback : nullptr;
    gSession = &session;
    DefaultsBlock block = {};
    SetBuiltInDefaults(block);
    block.bytes[633] = 0;
    for (int i = 0; i < c.width; ++i) block.bytes[c.offset + i] = static_cast<uint8_t>(c.stored >> (8 * i));
    ReconcileDefaultsWithColourServices(block);
    gSession = nullptr;
    EXPECT_EQ(Bytes(block, c.offset, c.width), c.reconciled) << "byte " << c.offset << " stored " << c.stored;
    // Leaving the separation or the ICC output turns the three-channel output
    // on; a CMYK choice without conversion tables stays CMYK.
    if (c.offset == 1458) {
      EXPECT_EQ(block.bytes[633], c.stored == 2 || c.stored == 3 ? 1 : 0) << c.stored;
    }
  }
}

TEST(ColourServices, AMonochromePrescanGetsItsDropoutColour) {
  DefaultsBlock block = {};
  SetBuiltInDefaults(block);
  block.bytes[1177] = 1;
  ReconcileDefaultsWithColourServices(block);
  EXPECT_EQ(block.bytes[97], 2);
}

class DefaultsRecordTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateFolder("ui_defaults_cases\\");
    DeleteFileAt(("ui_defaults_cases\\" + name + ".prf").c_str());
    gAppStore = OpenOrCreateFile((name + ".prf").c_str(), "ui_defaults_cases\\");
    ASSERT_NE(gAppStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    ResetDataSourceState();
  }
};

TEST_F(DefaultsRecordTest, AnEmptyStoreGivesTheBuiltInValues) {
  LoadColourBalanceAndDefaults();
  DefaultsBlock builtIn = {};
  SetBuiltInDefaults(builtIn);
  CheckLoadedDefaults(builtIn);
  ReconcileDefaultsWithColourServices(builtIn);
  EXPECT_EQ(0, std::memcmp(&gDefaults, &builtIn, sizeof builtIn));
  EXPECT_EQ(gDataSourceState.colourBalanceGear, 1);
}

TEST_F(DefaultsRecordTest, SavedSettingsComeBackAndRecordsOfAnotherSizeAreIgnored) {
  LoadColourBalanceAndDefaults();
  SetDefault(gDefaults, kDefaultGammaReflective, 2.2);
  SetDefault<uint8_t>(gDefaults, kDefaultThreeChannelOutput, 0);
  std::memset(gDataSourceState.activePoints, 0, sizeof gDataSourceState.activePoints);
  gDataSourceState.activePoints[3] = 1;
  gDataSourceState.colourBalanceGear = 4;
  SaveColourBalanceAndDefaults();
  SaveColourBalanceAndDefaults();  // replaces, never adds a second record
  EXPECT_EQ(RecordStoreCount(gAppStore, kDefaultsType), 1);
  char name[64] = {};
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kDefaultsType, 16000, name));
  EXPECT_STREQ(name, "Defaults");

  CloseFile(gAppStore);
  ResetDataSourceState();
  gAppStore = OpenOrCreateFile("SavedSettingsComeBackAndRecordsOfAnotherSizeAreIgnored.prf", "ui_defaults_cases\\");
  LoadColourBalanceAndDefaults();
  EXPECT_EQ(GetDefault(gDefaults, kDefaultGammaReflective), 2.2);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultThreeChannelOutput), 0);
  const uint8_t points[7] = {0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(gDataSourceState.activePoints, points, 7));
  EXPECT_EQ(gDataSourceState.colourBalanceGear, 4);

  // A block of an older size is not read over the built-in values.
  ASSERT_TRUE(RecordStoreDelete(gAppStore, kDefaultsType, 16000));
  ASSERT_TRUE(RecordStoreAdd(gAppStore, kDefaultsType, 16000, &gDefaults, 3000, "Defaults"));
  LoadColourBalanceAndDefaults();
  EXPECT_EQ(GetDefault(gDefaults, kDefaultGammaReflective), 1.8);
}

}  // namespace
