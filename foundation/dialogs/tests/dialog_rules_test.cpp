// The platform-neutral rules of the dialogs: filter lists, the preview fit,
// the file-size text, the batch counter with its correction, the IfChanged
// decisions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/dialogs/field_correction.h"
#include "foundation/dialogs/file_filters.h"
#include "foundation/dialogs/image_preview_rules.h"
#include "foundation/dialogs/item_value_rules.h"
#include "foundation/dialogs/save_as_counter.h"

namespace {

const char kOutputFilter[] = "TIFF\0*.tif\0JPEG\0*.jpg\0EPSF\0*.eps\0DCS 2.0\0*.eps\0";

TEST(FilterPairAt, GivesPatternWithoutItsStarAndTheDescription) {
  std::string extension, typeName;
  ASSERT_TRUE(FilterPairAt(kOutputFilter, 2, &extension, &typeName));
  EXPECT_EQ(extension, ".jpg");
  EXPECT_EQ(typeName, "JPEG");
  ASSERT_TRUE(FilterPairAt(kOutputFilter, 4, nullptr, &typeName));
  EXPECT_EQ(typeName, "DCS 2.0");
}

TEST(FilterPairAt, RefusesPairsBeyondTheList) {
  std::string extension = "kept";
  EXPECT_FALSE(FilterPairAt(kOutputFilter, 5, &extension, nullptr));
  EXPECT_FALSE(FilterPairAt(kOutputFilter, 0, &extension, nullptr));
  EXPECT_FALSE(FilterPairAt("\0", 1, &extension, nullptr));
  EXPECT_FALSE(FilterPairAt("Lonely description\0\0", 1, &extension, nullptr)) << "a pair without its pattern";
  EXPECT_EQ(extension, "kept");
}

struct ExtensionCase {
  const char* path;
  const char* extension;
  size_t capacity;
  bool fits;
  const char* expected;
};

class ReplaceExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ReplaceExtension, OfTheFileNameOnly) {
  char path[64];
  std::strcpy(path, GetParam().path);
  EXPECT_EQ(ReplacePathExtension(path, GetParam().capacity, GetParam().extension), GetParam().fits);
  EXPECT_STREQ(path, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReplaceExtension,
    ::testing::Values(ExtensionCase{"C:\\scans\\bild.tif", ".jpg", 64, true, "C:\\scans\\bild.jpg"},
                      ExtensionCase{"bild", ".eps", 64, true, "bild.eps"},
                      ExtensionCase{"C:\\a.b\\bild", ".tif", 64, true, "C:\\a.b\\bild.tif"},
                      ExtensionCase{"bild.tif", ".jpeg", 9, false, "bild.tif"}));

TEST(OptionsButton, FollowsTheTypeName) {
  EXPECT_EQ(OptionsButtonFor("TIFF"), OptionsButtonState::kDisabled);
  EXPECT_EQ(OptionsButtonFor("EPSF (Photoshop)"), OptionsButtonState::kDisabled);
  EXPECT_EQ(OptionsButtonFor("JPEG"), OptionsButtonState::kEnabled);
  EXPECT_EQ(OptionsButtonFor("DCS 2.0"), OptionsButtonState::kEnabled);
  EXPECT_EQ(OptionsButtonFor("PNG"), OptionsButtonState::kKeep);
  EXPECT_EQ(OptionsDialogFor("JPEG"), OptionsDialog::kJpeg);
  EXPECT_EQ(OptionsDialogFor("DCS 2.0"), OptionsDialog::kDcs);
  EXPECT_EQ(OptionsDialogFor("TIFF"), OptionsDialog::kNone);
  EXPECT_EQ(OptionsDialogFor("DC"), OptionsDialog::kNone);
}

struct FitCase {
  int32_t width, height;
  WinRect box;
  WinRect expected;
};

class FitAspect : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitAspect, LargestRectangleCentredInTheBox) {
  WinRect fitted{};
  ASSERT_TRUE(FitAspectRect(GetParam().width, GetParam().height, GetParam().box, &fitted));
  EXPECT_EQ(fitted.left, GetParam().expected.left);
  EXPECT_EQ(fitted.top, GetParam().expected.top);
  EXPECT_EQ(fitted.right, GetParam().expected.right);
  EXPECT_EQ(fitted.bottom, GetParam().expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Images, FitAspect,
                         ::testing::Values(FitCase{200, 100, {0, 0, 100, 100}, {0, 25, 100, 75}},
                                           FitCase{100, 200, {0, 0, 100, 100}, {25, 0, 75, 100}},
                                           FitCase{50, 50, {10, 20, 110, 80}, {30, 20, 90, 80}},
                                           FitCase{3, 1, {0, 0, 100, 100}, {0, 34, 100, 67}}));

TEST(FitAspect, RefusesAnEmptyImage) {
  WinRect fitted{1, 2, 3, 4};
  EXPECT_FALSE(FitAspectRect(0, 100, WinRect{0, 0, 100, 100}, &fitted));
  EXPECT_EQ(fitted.right, 3);
}

struct SizeCase {
  uint32_t bytes;
  const char* text;
};

class FileSizeText : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FileSizeText, KilobytesOrMegabytes) {
  char text[32];
  FormatFileSizeText(GetParam().bytes, text);
  EXPECT_STREQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileSizeText,
                         ::testing::Values(SizeCase{0, "0K"}, SizeCase{511, "0K"}, SizeCase{512, "1K"},
                                           SizeCase{1048575, "1024K"}, SizeCase{1048576, "1.0M"},
                                           SizeCase{1572864, "1.5M"}, SizeCase{4294967295u, "4096.0M"}));

TEST(FieldCorrection, ArmedForTwoSecondsThenDue) {
  FieldCorrection correction;
  EXPECT_EQ(correction.pendingItem, 0x8300);
  EXPECT_EQ(correction.dueTick, -32000);
  EXPECT_FALSE(CorrectionDue(correction, 5000));
  ArmCorrection(&correction, 1472, 10000);
  EXPECT_FALSE(CorrectionDue(correction, 11999));
  EXPECT_TRUE(CorrectionDue(correction, 12000));
}

TEST(FieldCorrection, ClearedOnlyForItsOwnItemOrForAny) {
  FieldCorrection correction;
  ArmCorrection(&correction, 1472, 0);
  ClearCorrection(&correction, 1000);
  EXPECT_EQ(correction.pendingItem, 1472);
  ClearCorrection(&correction, kNoPendingItem);
  EXPECT_EQ(correction.pendingItem, kNoPendingItem);
  EXPECT_EQ(correction.dueTick, kNoCorrectionDue);
}

TEST(FieldCorrection, DueAcrossTheTickCountWrap) {
  FieldCorrection correction;
  ArmCorrection(&correction, 1472, 0xFFFFFF00u);
  EXPECT_FALSE(CorrectionDue(correction, 0xFFFFFFF0u));
  EXPECT_TRUE(CorrectionDue(correction, 0xFFFFFF00u + 2000));
}

struct CounterCase {
  bool isNumber;
  int32_t typed;
  int32_t shown;    // after the correction
  bool corrected;
};

class BatchCounter : public ::testing::TestWithParam<CounterCase> {};

TEST_P(BatchCounter, KeptWithinOneTo9999) {
  SaveAsCounter counter;
  StartCounter(&counter, false, 41);
  EXPECT_EQ(CounterShown(counter), 42);
  CounterEdited(&counter, GetParam().isNumber, GetParam().typed, 100);
  EXPECT_EQ(CounterShown(counter), GetParam().shown);
  EXPECT_EQ(CorrectionDue(counter.correction, 100 + 2000), GetParam().corrected);
  EXPECT_FALSE(CorrectionDue(counter.correction, 100 + 1999));
}

INSTANTIATE_TEST_SUITE_P(Typed, BatchCounter,
                         ::testing::Values(CounterCase{true, 12000, 9999, true}, CounterCase{true, 0, 1, true},
                                           CounterCase{true, -5, 1, true}, CounterCase{true, 7, 7, false},
                                           CounterCase{true, 9999, 9999, false},
                                           CounterCase{false, 0, 42, true}));

TEST(BatchCounter, AValidNumberClearsAPendingCorrection) {
  SaveAsCounter counter;
  CounterEdited(&counter, true, 12000, 0);
  CounterEdited(&counter, true, 12, 500);
  EXPECT_FALSE(CorrectionDue(counter.correction, 5000));
  EXPECT_EQ(CounterShown(counter), 12);
}

TEST(BatchCounter, ResetStartsAtOne) {
  SaveAsCounter counter;
  StartCounter(&counter, true, 41);
  EXPECT_EQ(CounterShown(counter), 1);
}

struct RealCase {
  const char* shown;
  float value;
  int decimals;
  bool write;
};

class RealField : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealField, WritesOnlyOnAVisibleDifference) {
  EXPECT_EQ(RealFieldNeedsWrite(GetParam().shown, GetParam().value, GetParam().decimals), GetParam().write);
}

INSTANTIATE_TEST_SUITE_P(Values, RealField,
                         ::testing::Values(RealCase{"1.00", 1.004f, 2, false}, RealCase{"1.00", 1.02f, 2, true},
                                           RealCase{"1,00", 0.996f, 2, false}, RealCase{"", 0.0f, 2, true},
                                           RealCase{"abc", 0.0f, 1, false}, RealCase{"abc", 1.0f, 1, true},
                                           RealCase{"12", 12.4f, 0, false}, RealCase{"12", 13.0f, 0, true}));

TEST(IntField, UpdateLeavesTextThatIsNoNumberAlone) {
  EXPECT_EQ(IntFieldUpdateFor(true, 5, 5, false), IntFieldUpdate::kKeep);
  EXPECT_EQ(IntFieldUpdateFor(true, 4, 5, false), IntFieldUpdate::kRewrite);
  EXPECT_EQ(IntFieldUpdateFor(false, 0, 5, false), IntFieldUpdate::kLeaveAlone);
  EXPECT_EQ(IntFieldUpdateFor(true, 5, 5, true), IntFieldUpdate::kRewrite);
}

TEST(ReadNumberText, CheckedTextsAndTheFallback) {
  const struct {
    const char* text;
    double value;
    bool invalid;
  } cases[] = {
      {"12,5", 12.5, false}, {"-3.25", -3.25, false}, {"+7", 7.0, false}, {"", 99.0, false},
      {"1-2", 99.0, true},   {"12a", 99.0, true},     {" 4", 99.0, true}, {"4e3", 99.0, true},
  };
  for (const auto& c : cases) {
    bool invalid = !c.invalid;
    EXPECT_DOUBLE_EQ(ReadNumberText(c.text, 99.0, &invalid), c.value) << c.text;
    EXPECT_EQ(invalid, c.invalid) << c.text;
  }
  // Unchecked, a malformed text is parsed as far as it is a number.
  EXPECT_DOUBLE_EQ(ReadNumberText("12a", 99.0, nullptr), 12.0);
  EXPECT_DOUBLE_EQ(ReadNumberText("", 99.0, nullptr), 99.0);
}

}  // namespace
