#include "foundation/progress/progress_stack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/progress/progress_window.h"
#include "foundation/scripted_system.h"
#include "foundation/system.h"

namespace {

std::string FakeStrings(int32_t id) {
  switch (id) {
    case 2001:
      return "Scannen";
    case 3001:
      return "Vorschau";
    default:
      return "";
  }
}

TEST(ProgressStack, KeepsTenLevels) {
  ProgressStack stack;
  for (int i = 1; i <= 10; ++i) EXPECT_TRUE(PushProgressLevel(&stack, i % 2 == 0, i, 0));
  EXPECT_FALSE(PushProgressLevel(&stack, true, 11, 0));
  EXPECT_EQ(stack.count, 10);
  EXPECT_EQ(TopProgressLevel(&stack)->title, 10);
  EXPECT_EQ(TopProgressLevel(&stack)->cancelAllowed, 1);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(PopProgressLevel(&stack));
  EXPECT_FALSE(PopProgressLevel(&stack));
  EXPECT_EQ(stack.count, 0);
  EXPECT_EQ(TopProgressLevel(&stack), nullptr);
}

TEST(StatusStack, KeepsTenLevelsAndReturnsToTheOuterText) {
  StatusStack stack;
  for (int i = 1; i <= 11; ++i) EXPECT_EQ(PushStatusLevel(&stack, 100 + i), i <= 10);
  EXPECT_EQ(stack.stringIds[stack.count - 1], 110);
  EXPECT_TRUE(PopStatusLevel(&stack));
  EXPECT_EQ(stack.stringIds[stack.count - 1], 109);
  while (PopStatusLevel(&stack)) {
  }
  EXPECT_EQ(stack.count, 0);
}

struct TextCase {
  int32_t title, subtitle;
  const char* ownTitle;
  const char* text;
};
class ProgressText : public testing::TestWithParam<TextCase> {};
TEST_P(ProgressText, JoinsSubtitleAndTitle) {
  ProgressLevel level = {};
  level.title = GetParam().title;
  level.subtitle = GetParam().subtitle;
  std::strcpy(level.ownTitle, GetParam().ownTitle);
  EXPECT_EQ(ProgressLevelText(level, FakeStrings), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Levels, ProgressText,
                         testing::Values(TextCase{2001, 3001, "", "Vorschau: Scannen"},
                                         TextCase{2001, 0, "", "Scannen"},
                                         TextCase{2001, -5, "", "Scannen"},
                                         TextCase{2001, 3999, "", "Scannen"},  // the subtitle has no text
                                         TextCase{0, 3001, "", "Vorschau: "},
                                         TextCase{-1, 0, "", "Test..."},
                                         TextCase{-2, 3001, "Datei 7", "Vorschau: Datei 7"},
                                         TextCase{2999, 0, "", ""}));

struct CounterCase {
  int32_t n, of;
  const char* text;
};
class ProgressCounter : public testing::TestWithParam<CounterCase> {};
TEST_P(ProgressCounter, ShowsNumberAndTotal) {
  EXPECT_EQ(ProgressCounterText(GetParam().n, GetParam().of), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Counters, ProgressCounter,
                         testing::Values(CounterCase{3, 10, "#3/#10"}, CounterCase{3, 0, "#3"},
                                         CounterCase{0, 10, ""}, CounterCase{0, 0, ""}));

TEST(ProgressBar, PositionIsTheRoundedPercentage) {
  EXPECT_EQ(ProgressBarPosition(0.0f), 0);
  EXPECT_EQ(ProgressBarPosition(0.004f), 0);
  EXPECT_EQ(ProgressBarPosition(0.006f), 1);
  EXPECT_EQ(ProgressBarPosition(0.5f), 50);
  EXPECT_EQ(ProgressBarPosition(0.996f), 100);
  EXPECT_EQ(ProgressBarPosition(1.0f), 100);
  EXPECT_EQ(ProgressBarPosition(ProgressFraction(1, 3)), 33);
  EXPECT_EQ(ProgressBarPosition(ProgressFraction(2, 3)), 67);
  EXPECT_EQ(ProgressFraction(5, 0), 0.0f);
}

struct GateCase {
  uint32_t major, minor;
  bool smooth;
};
class SmoothBar : public testing::TestWithParam<GateCase> {};
TEST_P(SmoothBar, ComparesMajorThenMinor) {
  EXPECT_EQ(CommonControlsDrawSmoothBar(PackDllVersion(GetParam().major, GetParam().minor)), GetParam().smooth);
}
INSTANTIATE_TEST_SUITE_P(Versions, SmoothBar,
                         testing::Values(GateCase{4, 70, false}, GateCase{4, 71, true}, GateCase{4, 72, true},
                                         GateCase{5, 0, true}, GateCase{5, 81, true}, GateCase{6, 0, true},
                                         GateCase{3, 99, false}, GateCase{0, 0, false}));

// The full stop is the key that types "." on a plain keyboard.
class KeyboardWithFullStop : public ScriptedSystem {
 public:
  int VirtualKeyForChar(char character) override { return character == '.' ? 0xBE : -1; }
};

struct KeysCase {
  std::set<int> keys;
  bool cancel;
};
class CancelKeys : public testing::TestWithParam<KeysCase> {};
TEST_P(CancelKeys, NeedControlWithAFullStop) {
  KeyboardWithFullStop keyboard;
  keyboard.keysDown = GetParam().keys;
  InstallSystemServices(&keyboard);
  EXPECT_EQ(CancelKeysDown(), GetParam().cancel);
  InstallSystemServices(nullptr);
}
INSTANTIATE_TEST_SUITE_P(Keys, CancelKeys,
                         testing::Values(KeysCase{{0x11, 0xBE}, true}, KeysCase{{0x11, 0x6E}, true},
                                         KeysCase{{0xBE}, false}, KeysCase{{0x6E}, false}, KeysCase{{0x11}, false},
                                         KeysCase{{}, false}));

}  // namespace
