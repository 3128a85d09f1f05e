// Key state, library versions and string fields through scripted system services.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/scripted_system.h"
#include "foundation/system.h"

namespace {

TEST(KeyState, MouseButtonsFollowTheSwapSetting) {
  ScopedScriptedSystem system;
  system->keysDown = {kVirtualKeyRightButton};
  EXPECT_FALSE(IsKeyDown(kVirtualKeyLeftButton));
  system->buttonsSwapped = true;
  EXPECT_TRUE(IsKeyDown(kVirtualKeyLeftButton)) << "the physical right button is the primary one";
  EXPECT_FALSE(IsKeyDown(kVirtualKeyRightButton));
  system->keysDown = {'S'};
  EXPECT_TRUE(IsCharKeyDown('s'));
  EXPECT_FALSE(IsCharKeyDown('t'));
}

TEST(SystemCalls, DelaysAndBeepsGoThroughTheServices) {
  ScopedScriptedSystem system;
  DelayTicks(60);
  SleepMs(5);
  EXPECT_EQ(system->sleptMilliseconds, 1005u);
  PlayBeep(0x30);
  ASSERT_EQ(system->beeps.size(), 1u);
  EXPECT_EQ(system->beeps[0], 0x30u);
  EXPECT_TRUE(IsWindowsNT());
}

TEST(DllVersion, PacksMinorAboveMajor) {
  ScopedScriptedSystem system;
  system->libraryVersions["comctl32.dll"] = {4, 70};
  EXPECT_EQ(GetDllVersion("comctl32.dll"), 0x00460004u);
  EXPECT_EQ(GetDllVersion("kernel32.dll"), 0u) << "no DllGetVersion";
}

struct GateCase {
  uint32_t major, minor;
  bool passes;
};
class DllVersionGate : public testing::TestWithParam<GateCase> {};

// The tooltip gate is 4.70: compared as (major, minor), not as packed numbers.
TEST_P(DllVersionGate, ComparesMajorFirst) {
  EXPECT_EQ(DllVersionAtLeast(PackDllVersion(GetParam().major, GetParam().minor), 4, 70), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DllVersionGate,
                         testing::Values(GateCase{4, 70, true}, GateCase{4, 71, true}, GateCase{4, 0, false},
                                         GateCase{5, 0, true}, GateCase{5, 80, true}, GateCase{6, 10, true},
                                         GateCase{3, 99, false}, GateCase{0, 0, false}));

struct FieldCase {
  int field;
  int size;
  const char* text;
};
class StringFields : public testing::TestWithParam<FieldCase> {};

TEST_P(StringFields, CopiesTheNthField) {
  ScopedScriptedSystem system;
  system->strings[700] = "Zoll;cm;Pica;Punkt";
  char text[64] = "unchanged";
  int length = LoadStringField(nullptr, 700, GetParam().field, text, GetParam().size);
  EXPECT_STREQ(text, GetParam().text);
  EXPECT_EQ(length, static_cast<int>(std::strlen(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(Cases, StringFields,
                         testing::Values(FieldCase{1, 64, "Zoll"}, FieldCase{2, 64, "cm"}, FieldCase{4, 64, "Punkt"},
                                         FieldCase{5, 64, ""}, FieldCase{0, 64, ""}, FieldCase{3, 3, "Pi"}));

TEST(StringFields, MissingStringGivesNothing) {
  ScopedScriptedSystem system;
  char text[16] = "x";
  EXPECT_EQ(LoadStringField(nullptr, 1234, 1, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
}

TEST(Resources, ScriptedResourcesByNumberedType) {
  ScopedScriptedSystem system;
  system->resources[{"#3", 7}] = {1, 2, 3};
  uint32_t size = 0;
  auto* bytes = static_cast<const uint8_t*>(LoadCustomResource(nullptr, ResourceTypeNumber(kResourceTypeIcon), 7, &size));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(bytes[2], 3);
  EXPECT_EQ(LoadCustomResource(nullptr, ResourceTypeNumber(kResourceTypeIcon), 8, &size), nullptr);
}

// The platform's own answers: libraries without DllGetVersion give 0; the
// product's common controls library passes the tooltip gate.
TEST(PlatformServices, LibrariesWithoutVersionExportGiveZero) {
  EXPECT_EQ(GetDllVersion("kernel32.dll"), 0u);
  EXPECT_EQ(GetDllVersion("no_such_library.dll"), 0u);
#ifdef _WIN32
  uint32_t version = GetDllVersion("comctl32.dll");
  EXPECT_NE(version, 0u);
  EXPECT_TRUE(DllVersionAtLeast(version, 4, 70)) << std::hex << version;
#endif
}

}  // namespace
