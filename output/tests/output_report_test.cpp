// The output statistics report: the file is asked for with the save dialog,
// and holds the options and one section per frame, the current frame first.
// A golden text pins the whole layout for fixed options and three frames;
// the cases around it pin the column of the colons and the variants of the
// frame rows. The texts come from the module's own string tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/scripted_system.h"
#include "frames/frame_list.h"
#include "output/output_report.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/gamma_tables.h"

namespace {

std::string TestData() {
  const char* folder = std::getenv("ZIR_TEST_DATA");
  return folder ? folder : ".";
}

// The STRINGTABLE entries of a resource script (code page 1252).
void LoadStrings(const std::string& path, std::map<uint32_t, std::string>* strings) {
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  const std::regex entry(R"re(^\s*(\d+)\s+"(.*)"\s*$)re");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch match;
    if (std::regex_match(line, match, entry)) (*strings)[std::stoul(match[1])] = match[2];
  }
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) lines.push_back(text.substr(at, end - at));
  return lines;
}

FrameRecord SampleFrame(int n) {
  FrameRecord frame{};
  frame.version = 6;
  frame.screenRuling = 150;
  frame.qualityFactor = 1.5;
  frame.outputResolution = 300;
  frame.originX = 0.25 * n;
  frame.originY = 1.0;
  frame.width = 4.0;
  frame.height = 3.0;
  frame.outputScaleX = 150.0f;
  frame.outputScaleY = 50.0f;
  frame.bitsPerChannel = 8;
  frame.colorMode = 2;
  std::strcpy(frame.maskName, "Maske");
  frame.hasName = n == 2;
  std::strcpy(frame.name, "Zweiter");
  frame.filterMode = n == 1 ? 0 : 3;  // none; USM & descreening
  frame.sharpen942 = 120;
  frame.sharpen941 = static_cast<uint8_t>(-4);
  frame.sharpen944 = 200;
  frame.sharpen1488 = 30;
  frame.sharpen1490 = 40;
  frame.sharpenFlag = 1;
  frame.sharpen948 = 1;
  frame.screenRulingCopy = 133;
  frame.mirrorH = n == 3;
  frame.quarterTurns = static_cast<uint16_t>(n - 1);
  frame.invert = n == 2;
  frame.selectiveColorMode = static_cast<uint32_t>(n);  // 1: 6 x 6, 2: 12 x 6, 3: "---"
  for (int i = 0; i < 36; ++i) frame.selectiveColorMatrix[i] = static_cast<int16_t>(i - 10);
  for (int i = 0; i < 72; ++i) frame.colorMatrix12[i] = static_cast<int16_t>(3 * i - 100);
  static const uint16_t kX[7] = {0, 32, 64, 128, 192, 224, 255};
  for (int b = 0; b < 4; ++b) {
    ToneBlock& tone = frame.tone[b];
    tone.version = 1;
    for (int k = 0; k < 7; ++k) {
      tone.gradationX[k] = kX[k];
      tone.gradationY[k] = static_cast<uint16_t>(kX[k] * (4 + b) / 7);
    }
    tone.inputLow = static_cast<int16_t>(2 + b);
    tone.inputHigh = static_cast<int16_t>(250 - b);
    tone.outputLow = 0;
    tone.outputHigh = 255;
    tone.contrast = static_cast<int16_t>(-5 * b);
    tone.brightness = static_cast<int16_t>(b);
    tone.midtoneShift = 7;
    tone.upperContrast = 3;
    tone.lowerContrast = 2;
    tone.shiftMode = b == 2;
    tone.endLow = 0;
    tone.endHigh = 255;
    tone.fixedPointValues[0] = ToneFixedPointValue{static_cast<int16_t>(100 + b), 128};
  }
  // The global correction's 7 points a column.
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < 7; ++k) {
      const uint16_t value = static_cast<uint16_t>(40 * k + c);
      std::memcpy(reinterpret_cast<uint8_t*>(&frame) + 1878 + 2 * (7 * c + k), &value, 2);
    }
  return frame;
}

class OutputReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    SetCurrentGamma(1.8);
    LoadStrings(TestData() + "/../../resources/output_report.rc", &system_->strings);
    LoadStrings(TestData() + "/../../resources/foundation_log.rc", &system_->strings);
    SetDefault(gDefaults, kDefaultColorModelRgb, uint8_t{1});
    SetDefault(gDefaults, kDefaultSizeUnit, uint8_t{1});
    SetDefault(gDefaults, kDefaultDensitometerRadius, int16_t{2});
    SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{2});
    SetDefault(gDefaults, kDefaultGammaReflective, 1.8);
    SetDefault(gDefaults, kDefaultZirGamma, 2.2);
    SetDefault(gDefaults, kDefaultQualityFactor, 1.5);
    SetDefault(gDefaults, kDefaultAutoHighlightThreshold, int8_t{5});
    SetDefault(gDefaults, kDefaultAutoHighlightLevels, uint8_t{1});
    SetDefault(gDefaults, kDefaultHighlightTargetPercent, int16_t{96});
    SetDefault(gDefaults, kDefaultShadowTargetInverse, int16_t{97});
    SetDefault(gDefaults, kDefaultCastRemoval, uint8_t{100});
    SetDefault(gDefaults, kDefaultAutoPipetteMidFactor1, 1.75f);
    SetDefault(gDefaults, kDefaultAutoPipetteMidFactor2, -2.5f);
    SetDefault(gDefaults, kDefaultInputCmsMode, int16_t{3});
    SetDefault(gDefaults, kDefaultOutputCmsMode, int16_t{1});
    SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
    SetDefault(gDefaults, kDefaultRenderingIntent, uint32_t{1});
    SetDefault(gDefaults, kDefaultEmbedIccProfile, uint8_t{1});
    SetDefault(gDefaults, kDefaultDropoutColor, uint8_t{2});
    SetDefault(gDefaults, kDefaultLampRed, int16_t{10});
    SetDefault(gDefaults, kDefaultLampGreen, int16_t{11});
    SetDefault(gDefaults, kDefaultLampBlue, int16_t{12});
    SetDefault(gDefaults, kDefaultLampOverall, int16_t{13});
    for (int n = 1; n <= 3; ++n) AppendFrameNode(NewFrameNode(SampleFrame(n)));
    gCurrentFrame = &FrameListHead()->frame;
    path_ = "output_report_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt";
    DeleteFileAt(path_.c_str());
  }
  void TearDown() override {
    DeleteAllFrames();
    ResetDataSourceState();
  }

  std::string Write() {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kSaveFile, path_);
    WriteOutputStatistics(nullptr);
    EXPECT_EQ(prompts.Asked(0).title, "Dateiname f\xfcr Ausgabestatistik ausw\xe4hlen");
    EXPECT_EQ(prompts.Asked(0).initial, "QB Statistic.txt");
    EXPECT_EQ(prompts.Asked(0).defaultExtension, "txt");
    EXPECT_EQ(prompts.Asked(0).filter, std::string("Textdateien:\0*.txt\0\0", 20));
    return ReadText(path_);
  }

  ScopedScriptedSystem system_;
  std::string path_;
};

// The whole report for fixed options and three frames, byte for byte.
TEST_F(OutputReportTest, GoldenReport) {
  const std::string text = Write();
  const std::string golden = ReadText(TestData() + "/output_report_golden.txt");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(text, golden);
}

TEST_F(OutputReportTest, EveryColonOfALabelledLineStandsInOneColumn) {
  const std::vector<std::string> lines = Lines(Write());
  int labelled = 0;
  // Every line with a colon has one right after the label field: indent 4 + 30.
  for (const std::string& line : lines) {
    if (line.find(':') == std::string::npos) continue;
    EXPECT_EQ(line[34], ':') << line;
    ++labelled;
  }
  EXPECT_GT(labelled, 100);
  // A label of exactly 30 characters stays whole.
  EXPECT_NE(Write().find("    Autoschwellwert Lichter Stufen:       ja\r\n"), std::string::npos);
}

TEST_F(OutputReportTest, FrameSectionsInListOrderWithTheirVariants) {
  const std::string text = Write();
  const size_t first = text.find("    Rahmen (1)\r\n"), second = text.find("    Rahmen (2)\r\n"),
               third = text.find("    Rahmen (3)\r\n");
  ASSERT_NE(first, std::string::npos);
  ASSERT_LT(first, second);
  ASSERT_LT(second, third);
  EXPECT_EQ(text.find("Rahmen (4)"), std::string::npos);
  const std::string one = text.substr(first, second - first), two = text.substr(second, third - second),
                    three = text.substr(third);
  // Filter kind 0: the single sharpening row and no descreening.
  EXPECT_NE(one.find("                Sch\xe4rfen (USM):     nein\r\n"), std::string::npos);
  EXPECT_EQ(one.find("St\xe4rke (USM)"), std::string::npos);
  EXPECT_NE(one.find("                  Entrasterung:     nein\r\n"), std::string::npos);
  EXPECT_NE(two.find("St\xe4rke (USM)"), std::string::npos);
  EXPECT_NE(two.find("Entrasterung:       ja (Eingaberaster: 133)"), std::string::npos);
  EXPECT_NE(three.find("             Selektivkorrektur:      ---\r\n"), std::string::npos);
  // Selective kind 1: six lines of six values; kind 2: six lines of twelve.
  for (const auto& [section, values] : {std::pair<std::string, int>{one, 6}, {two, 12}}) {
    const size_t at = section.find("Selektivkorrektur:    ");
    ASSERT_NE(at, std::string::npos);
    std::vector<std::string> lines = Lines(section.substr(at - 17));
    for (int l = 0; l < 6; ++l) {
      ASSERT_EQ(lines[l].size(), 39u + 5u * values) << lines[l];
      if (l > 0) {
        EXPECT_EQ(lines[l].compare(0, 40, std::string(40, ' ')), 0) << lines[l];
      }
    }
    EXPECT_EQ(lines[6].find("Grad Curve Version"), 16u);
  }
  // 255 x 100 / 256 = 99.
  EXPECT_NE(one.find("100 % (X/Y):  255/182 255/218 255/255 255/145  (  99/ 71  99/ 85  99/ 99  99/ 56  )\r\n"),
            std::string::npos);
}

TEST_F(OutputReportTest, ACancelledFileDialogWritesNothing) {
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kSaveFile);
  WriteOutputStatistics(nullptr);
  EXPECT_FALSE(FileExists(path_.c_str()));
}

}  // namespace
