// The negative analysis over preview buffers the tests fill themselves, with
// services that stand for the preview store, the geometry and the session.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sharpen/negative_preview.h"

namespace {

struct Buffer {
  int32_t width = 0, height = 0;
  std::vector<uint16_t> samples;
  void Resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    samples.assign(static_cast<size_t>(w) * h * 3, 0);
  }
  uint16_t& At(int32_t x, int32_t y, int c) { return samples[(static_cast<size_t>(y) * 3 + c) * width + x]; }
};

// What the services answer; one test at a time.
struct Scene {
  Buffer main, large;
  bool hasLarge = false, small = false, swapAxes = false;
  PreviewRect frameRect = {0, 0, 0, 0};
  int locks = 0, lutsBuilt = 0, lutsFreed = 0;
  uint8_t negativeMode = 1, seenNegativeMode = 9, inset = 0, grey = 0;
  double gamma = 2.2;
  FrameRecord frame = {};
} scene;

bool Lock(bool large, PreviewSamples* out) {
  Buffer& b = large ? scene.large : scene.main;
  if (large && !scene.hasLarge) return false;
  ++scene.locks;
  *out = {b.samples.data(), b.width, b.height};
  return true;
}
void Unlock(bool) { --scene.locks; }
bool Small(const FrameRecord*) { return scene.small; }
PreviewRect Rect(const FrameRecord*, bool) { return scene.frameRect; }
void Map(int32_t* x, int32_t* y) {
  if (scene.swapAxes) std::swap(*x, *y);
}
bool BuildLut() {
  scene.seenNegativeMode = scene.negativeMode;
  ++scene.lutsBuilt;
  return true;
}
bool ApplyLut(const uint16_t* in, uint8_t* out, int32_t pixels) {
  for (int32_t i = 0; i < 3 * pixels; ++i) out[i] = static_cast<uint8_t>(in[i] >> 8);
  return true;
}
void FreeLut() { ++scene.lutsFreed; }
FrameRecord* Current() { return &scene.frame; }
uint8_t* NegativeMode() { return &scene.negativeMode; }
uint8_t Inset() { return scene.inset; }
uint8_t Grey() { return scene.grey; }
double Gamma() { return scene.gamma; }

const NegativePreviewServices kServices = {Lock,    Unlock,  Small,        Rect,  Map,   BuildLut, ApplyLut,
                                           FreeLut, Current, NegativeMode, Inset, Grey,  Gamma};

class NegativePreviewTest : public testing::Test {
 protected:
  void SetUp() override {
    scene = Scene();
    // 100 x 50: channel 0 runs with x, channel 1 with y, channel 2 is 1000 x (x + y).
    scene.main.Resize(100, 50);
    for (int32_t y = 0; y < 50; ++y) {
      for (int32_t x = 0; x < 100; ++x) {
        scene.main.At(x, y, 0) = static_cast<uint16_t>(x);
        scene.main.At(x, y, 1) = static_cast<uint16_t>(y);
        scene.main.At(x, y, 2) = static_cast<uint16_t>(100 * (x + y));
      }
    }
    scene.frameRect = {0, 0, 50, 100};
    InstallNegativePreviewServices(&kServices);
  }
  void TearDown() override {
    InstallNegativePreviewServices(nullptr);
    EXPECT_EQ(scene.locks, 0) << "every lock is released";
  }
};

TEST_F(NegativePreviewTest, LevelsAreTheFramesMinimumAndMaximumOrTheClippedOnes) {
  uint16_t low[3], high[3];
  scene.frameRect = {10, 20, 30, 60};  // top, left, bottom, right
  ASSERT_TRUE(ComputePreviewHistograms(low, high, &scene.frame, 0, 0, 0));
  EXPECT_EQ(low[0], 20);
  EXPECT_EQ(high[0], 59);
  EXPECT_EQ(low[1], 10);
  EXPECT_EQ(high[1], 29);
  ASSERT_TRUE(ComputePreviewHistograms(low, high, nullptr, 0, 0, 0));  // the whole preview
  EXPECT_EQ(high[2], 100 * (99 + 49));

  // clipLow 0 with histograms still gives the minimum; 10 % from the top of 0..99 is 89.
  ASSERT_TRUE(ComputePreviewHistograms(low, high, nullptr, 0, 0.1, 0));
  EXPECT_EQ(low[0], 0);
  EXPECT_EQ(high[0], 89);
  ASSERT_TRUE(ComputePreviewHistograms(low, high, nullptr, 0.05, 0, 0));
  EXPECT_EQ(low[0], 5);
  EXPECT_EQ(low[1], 2);  // 100 samples a row: 2.5 % of the pixels a level
  EXPECT_EQ(high[0], 99);
}

TEST_F(NegativePreviewTest, InsetTrimsEachSideAndStopsAt80Percent) {
  struct Case {
    uint8_t inset;
    uint16_t low0, high0, low1, high1;
  } cases[] = {{0, 0, 99, 0, 49}, {10, 5, 94, 2, 47}, {80, 40, 59, 20, 29}, {100, 40, 59, 20, 29}};
  for (const Case& c : cases) {
    uint16_t low[3], high[3];
    ASSERT_TRUE(ComputePreviewHistograms(low, high, &scene.frame, 0, 0, c.inset)) << int(c.inset);
    EXPECT_EQ(low[0], c.low0) << int(c.inset);
    EXPECT_EQ(high[0], c.high0) << int(c.inset);
    EXPECT_EQ(low[1], c.low1) << int(c.inset);
    EXPECT_EQ(high[1], c.high1) << int(c.inset);
  }
}

TEST_F(NegativePreviewTest, AnEmptyRectangleOrNoBufferFailsEveryMeasurement) {
  uint16_t a[3], b[3];
  uint32_t bins[16];
  for (PreviewRect r : {PreviewRect{10, 10, 10, 40}, PreviewRect{10, 40, 20, 40}, PreviewRect{60, 0, 70, 10}}) {
    scene.frameRect = r;
    EXPECT_FALSE(ComputePreviewHistograms(a, b, &scene.frame, 0, 0, 0));
    EXPECT_FALSE(FindPreviewExtremePoints(a, b, &scene.frame, nullptr, nullptr));
    EXPECT_EQ(ComputeExpansionHistograms(bins, nullptr, nullptr, nullptr, 16, &scene.frame, 1.0, 0), 0);
  }
  scene.frameRect = {0, 0, 1, 1};
  EXPECT_TRUE(ComputePreviewHistograms(a, b, &scene.frame, 0, 0, 100));  // one pixel trimmed by 80 % stays one
  InstallNegativePreviewServices(nullptr);
  EXPECT_FALSE(ComputePreviewHistograms(a, b, nullptr, 0, 0, 0));
  EXPECT_FALSE(ReadPreviewPixel(a, 5, 5, 1));
  uint8_t levels[8] = {};
  EXPECT_FALSE(AnalyseNegativePreview(levels, nullptr, 0));
}

TEST_F(NegativePreviewTest, SmallFramesAreMeasuredOnTheLargePreviewWhenThereIsOne) {
  scene.large.Resize(4, 4);
  for (uint16_t& s : scene.large.samples) s = 7777;
  scene.small = true;
  uint16_t low[3], high[3];
  ASSERT_TRUE(ComputePreviewHistograms(low, high, &scene.frame, 0, 0, 0));
  EXPECT_EQ(high[0], 99) << "no large preview: the main one";
  scene.hasLarge = true;
  ASSERT_TRUE(ComputePreviewHistograms(low, high, &scene.frame, 0, 0, 0));
  EXPECT_EQ(low[0], 7777);
  EXPECT_EQ(high[2], 7777);
}

TEST_F(NegativePreviewTest, ExtremePointsCountOnlyPixelsWithinTheLimits) {
  uint16_t dark[3], light[3];
  const uint16_t lo[3] = {10, 5, 0}, hi[3] = {50, 40, 65535};
  ASSERT_TRUE(FindPreviewExtremePoints(dark, light, &scene.frame, lo, hi));
  EXPECT_EQ(dark[0], 10);
  EXPECT_EQ(dark[1], 5);
  EXPECT_EQ(light[0], 50);
  EXPECT_EQ(light[1], 40);
  EXPECT_EQ(light[2], 9000);
  const uint16_t none[3] = {200, 0, 0};
  ASSERT_TRUE(FindPreviewExtremePoints(dark, light, &scene.frame, none, nullptr));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(dark[c], 0);
    EXPECT_EQ(light[c], 1);
  }
}

TEST_F(NegativePreviewTest, PointerMeanIsClippedToThePreviewAndFollowsTheOrientation) {
  uint16_t out[3];
  ASSERT_TRUE(ReadPreviewPixel(out, 10, 20, 1));
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[1], 20);
  ASSERT_TRUE(ReadPreviewPixel(out, 0, 0, 2));  // 3 x 3 pixels left: mean 1, rounded
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[2], 200);
  scene.swapAxes = true;
  ASSERT_TRUE(ReadPreviewPixel(out, 20, 10, 0));
  EXPECT_EQ(out[0], 10);
  EXPECT_FALSE(ReadPreviewPixel(out, 200, 10, 3));
}

TEST_F(NegativePreviewTest, ExpansionHistogramsBinTheSamplesAfterTheGamma) {
  scene.main.Resize(2, 1);
  scene.main.At(0, 0, 0) = 0;
  scene.main.At(1, 0, 0) = 65535;
  scene.main.At(0, 0, 1) = scene.main.At(1, 0, 1) = 16384;  // 0.25 -> 0.5 at gamma 2
  scene.main.At(0, 0, 2) = scene.main.At(1, 0, 2) = 65535;
  scene.frameRect = {0, 0, 1, 2};
  std::vector<uint32_t> mean(5, 9), c1(5), c2(5), c3(5);
  EXPECT_EQ(ComputeExpansionHistograms(mean.data(), c1.data(), c2.data(), c3.data(), 5, &scene.frame, 2.0, 0), 2);
  EXPECT_EQ(c1, (std::vector<uint32_t>{1, 0, 0, 0, 1}));
  EXPECT_EQ(c2, (std::vector<uint32_t>{0, 0, 2, 0, 0}));
  EXPECT_EQ(c3, (std::vector<uint32_t>{0, 0, 0, 0, 2}));
  EXPECT_EQ(mean, (std::vector<uint32_t>{0, 0, 1, 1, 0}));  // (0 + .5 + 1) / 3 and (1 + .5 + 1) / 3
  EXPECT_EQ(ComputeExpansionHistograms(nullptr, c1.data(), nullptr, nullptr, 5, &scene.frame, 1.0, 1), 2);
  EXPECT_EQ(c1, (std::vector<uint32_t>{1, 0, 0, 0, 1}));
  EXPECT_EQ(ComputeExpansionHistograms(nullptr, nullptr, c2.data(), nullptr, 5, &scene.frame, 2.0, 1), 2);
  EXPECT_EQ(c2, (std::vector<uint32_t>{0, 0, 2, 0, 0}));
}

TEST_F(NegativePreviewTest, AnalysisWritesTheFramesNegativeData) {
  struct Case {
    uint8_t grey;
    double gamma;
    bool ok;
  } cases[] = {{2, 2.2, true}, {0, 2.2, true}, {0, 0.1, false}, {1, 0.1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.grey) << " " << c.gamma);
    scene.grey = c.grey;
    scene.gamma = c.gamma;
    scene.main.At(50, 25, 2) = 65535;
    uint8_t levels[8] = {0xAA, 0xBB, 0, 0, 0, 0, 0, 0};
    float data[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    const int freed = scene.lutsFreed;
    EXPECT_EQ(AnalyseNegativePreview(levels, data, 0.0), c.ok);
    EXPECT_EQ(scene.seenNegativeMode, 0) << "the table is built for the positive rendering";
    EXPECT_EQ(scene.negativeMode, 1);
    EXPECT_EQ(scene.lutsFreed, freed + 1);
    EXPECT_EQ(levels[0], 0xAA);
    EXPECT_EQ(levels[1], 0xBB);
    EXPECT_EQ(levels[7], 255);
    EXPECT_EQ(levels[6], 0);
    EXPECT_FLOAT_EQ(data[3], 99.0f / 65535);
    EXPECT_FLOAT_EQ(data[5], 49.0f / 65535);
    EXPECT_FLOAT_EQ(data[7], 1.0f);
    if (c.grey) {
      EXPECT_EQ(data[0], data[2 * c.grey]);
      EXPECT_EQ(data[1], data[2 * c.grey + 1]);
    } else if (c.ok) {
      const double e = 1 / c.gamma;
      const double want = std::pow((std::pow(data[3], e) + std::pow(data[5], e) + 1.0) / 3, c.gamma);
      EXPECT_FLOAT_EQ(data[1], static_cast<float>(want));
    } else {
      EXPECT_EQ(data[0], -1.0f);
    }
  }
}

}  // namespace
