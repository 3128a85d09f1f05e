// The five enhancement steps against the numpy reference of
// enhancement_reference.py, then what the pipeline reports on its way and
// the cases where a step must leave the image alone.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "photoapp/pipeline/enhancement.h"
#include "photoapp/tests/document_fixture.h"

namespace {

Bytes ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void LoadPixels(ImageDocument& document, int width, int height, const Bytes& pixels) {
  ASSERT_EQ(document.AllocateImage(width, height), kImageOk);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height * 3);
  std::copy(pixels.begin(), pixels.end(), static_cast<uint8_t*>(document.GetPixels()));
}

// What the pipeline told the progress bar and the status line, in order.
class Recorder : public EnhancementObserver {
 public:
  void SetProgress(int percent) override { events.push_back(std::to_string(percent)); }
  void SetStatus(const std::string& text) override { events.push_back(text); }
  std::vector<std::string> events;
};

TEST(Enhancement, AgreesWithTheNumpyReference) {
  std::ifstream list("enhancement_cases/cases.txt");
  ASSERT_TRUE(list) << "no cases: the reference script did not run";
  std::string line;
  int count = 0;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string name;
    int width = 0, height = 0;
    EnhancementSettings settings;
    fields >> name >> width >> height >> settings.auto_balance >> settings.midtones >> settings.denoise >>
        settings.details >> settings.colour >> settings.subject_type;
    ImageDocument document;
    LoadPixels(document, width, height, ReadBytes("enhancement_cases/" + name + ".in"));
    Recorder recorder;
    EnhanceDocument(document, settings, true, recorder);
    EXPECT_EQ(PixelsOf(document), ReadBytes("enhancement_cases/" + name + ".out")) << name;
    ++count;
  }
  EXPECT_GT(count, 10);
}

TEST(Enhancement, ReportsProgressAndEachStepThatRuns) {
  ImageDocument document;
  FillPattern(document, 9, 7);
  Recorder all;
  EnhanceDocument(document, EnhancementSettings(), true, all);
  EXPECT_EQ(all.events, (std::vector<std::string>{"0", "20", "Adjusting Midtones...", "40", "De-Noising...", "60",
                                                  "Enhancing edges...", "80", "Enhancing Colors...", "100"}));

  // Every step at its neutral position: only the progress runs through.
  EnhancementSettings neutral;
  neutral.midtones = 100;
  neutral.denoise = 0;
  neutral.details = 0;
  neutral.colour = 200;
  Recorder quiet;
  EnhanceDocument(document, neutral, true, quiet);
  EXPECT_EQ(quiet.events, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
}

TEST(Enhancement, WithoutALoadedImageNoStepRuns) {
  ImageDocument document;
  FillPattern(document, 9, 7);
  const Bytes before = PixelsOf(document);
  Recorder recorder;
  EnhanceDocument(document, EnhancementSettings(), false, recorder);
  EXPECT_EQ(PixelsOf(document), before);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));

  ImageDocument empty;
  EnhanceDocument(empty, EnhancementSettings(), true, recorder);
  EXPECT_FALSE(empty.HasPixels());
}

TEST(Enhancement, ColourAtTheMiddlePositionChangesNothing) {
  ImageDocument document;
  FillPattern(document, 13, 11);
  const Bytes before = PixelsOf(document);
  Recorder recorder;
  EnhanceColors(document, 200, recorder);
  EXPECT_EQ(PixelsOf(document), before);
  EXPECT_TRUE(recorder.events.empty());
}

TEST(Enhancement, GreyPixelsKeepTheirValueAtEveryColourPosition) {
  ImageDocument document;
  ASSERT_EQ(document.AllocateImage(256, 1), kImageOk);
  for (int v = 0; v < 256; ++v) document.SetPixelColor(v, 0, v | v << 8 | v << 16);
  const Bytes grey = PixelsOf(document);
  Recorder recorder;
  for (int position = 0; position <= 400; ++position) {
    EnhanceColors(document, position, recorder);
    ASSERT_EQ(PixelsOf(document), grey) << "position " << position;
  }
}

}  // namespace
