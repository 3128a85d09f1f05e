// The colour profile set through the scripted module: which transforms a
// rebuild makes, and how each per-line entry point lays out what it hands to
// the module and what it takes back.
#include "color/color_profile_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/profile_files.h"
#include "color/soft_proof_cube.h"
#include "color/tests/color_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

void SetText(DefaultsArea area, const std::string& text) {
  std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
  std::memcpy(DefaultsBytes(gDefaults, area), text.data(), text.size());
}

class ProfileSet : public ColorFolderTest {
 protected:
  void SetUp() override {
    ColorFolderTest::SetUp();
    WriteBytes(base_ + "scanner.icm", SmallProfile("scnr", "RGB ", "Scanner"));
    WriteBytes(base_ + "film.icm", SmallProfile("scnr", "RGB ", "Film"));
    WriteBytes(base_ + "internal.icc", SmallProfile("mntr", "RGB ", "Internal"));
    WriteBytes(base_ + "output.icc", SmallProfile("prtr", "CMYK", "Output"));
    WriteBytes(separationFolder_ + "Euro.ast", {0});
    WriteBytes(separationFolder_ + "press.icm", SmallProfile("prtr", "CMYK", "Press"));
    // The cached lists open profiles of their own once; the rebuilds below open only theirs.
    FolderCmykList();
    PrinterCmykList();
  }
  void TearDown() override {
    DeleteColorTransforms();
    FreeOutputLineBuffer();
    FreeProfileLists();
    ColorFolderTest::TearDown();
  }
  // The profiles of the defaults: "" for none, else a file of the test folder.
  void Choose(const char* reflective, const char* transparency, const char* internal, const char* output,
              const char* cmyk = "") {
    auto path = [this](const char* name) { return name[0] ? base_ + name : std::string(); };
    SetText(kDefaultScannerProfileReflective, path(reflective));
    SetText(kDefaultScannerProfileTransparency, path(transparency));
    SetText(kDefaultInternalProfile, path(internal));
    SetText(kDefaultOutputProfile, path(output));
    SetText(kDefaultCmykSourceName, cmyk);
  }
  std::vector<int> Ready() const {
    const uint8_t* r = gColorProfileSet.ready;
    return {r[0], r[1], r[2], r[3]};
  }
  bool NoTransforms() const {
    for (ColorTransformHandle t : gColorProfileSet.transforms)
      if (t) return false;
    return true;
  }
  std::vector<std::string> OpenedNames() const {
    std::vector<std::string> names;
    for (const auto& open : module_.opens) names.push_back(open.path.substr(open.path.find_last_of('\\') + 1));
    return names;
  }
};

TEST_F(ProfileSet, RebuildCases) {
  struct Case {
    const char* name;
    const char *reflective, *transparency, *internal, *output, *cmyk;
    uint8_t enabled;
    const char* failing;  // a module function that fails
    int16_t status;
    std::vector<int> ready;
    std::vector<std::string> opened;
  } cases[] = {
      {"scanner and internal", "scanner.icm", "", "internal.icc", "", "", 1, "", 0, {1, 0, 0, 0},
       {"scanner.icm", "internal.icc"}},
      {"transparency and internal", "", "film.icm", "internal.icc", "", "", 1, "", 0, {0, 1, 0, 0},
       {"film.icm", "internal.icc"}},
      {"transparency without internal", "", "film.icm", "", "output.icc", "", 1, "", 0, {0, 0, 0, 0},
       {"film.icm", "output.icc"}},
      {"internal and output", "", "", "internal.icc", "output.icc", "", 1, "", 0, {0, 0, 1, 1},
       {"internal.icc", "output.icc"}},
      {"all four", "scanner.icm", "film.icm", "internal.icc", "output.icc", "", 1, "", 0, {1, 1, 1, 1},
       {"scanner.icm", "film.icm", "internal.icc", "output.icc"}},
      {"a separation table is not opened", "", "", "internal.icc", "output.icc", "Euro.ast", 1, "", 0,
       {0, 0, 1, 1}, {"internal.icc", "output.icc"}},
      {"a CMYK profile is opened", "", "", "internal.icc", "output.icc", "press.icm", 1, "", 0, {0, 0, 1, 1},
       {"internal.icc", "output.icc", "press.icm"}},
      {"a path that does not open", "scanner.icm", "", "missing.icc", "output.icc", "", 1, "", -176, {0, 0, 0, 0},
       {"scanner.icm", "missing.icc"}},
      {"a transform that cannot be made", "scanner.icm", "", "internal.icc", "output.icc", "", 1,
       "CreateMultiProfileTransform", -171, {0, 0, 0, 0}, {"scanner.icm", "internal.icc", "output.icc"}},
      {"colour management off", "scanner.icm", "film.icm", "internal.icc", "output.icc", "", 0, "", 0,
       {0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    Choose(c.reflective, c.transparency, c.internal, c.output, c.cmyk);
    module_.opens.clear();
    module_.failing.clear();
    if (c.failing[0]) module_.failing.insert(c.failing);
    gIcmEnabled = c.enabled;
    EXPECT_EQ(RebuildColorTransforms(), c.status) << c.name;
    EXPECT_EQ(Ready(), c.ready) << c.name;
    EXPECT_EQ(OpenedNames(), c.opened) << c.name;
    EXPECT_EQ(module_.OpenProfileCount(), 0) << c.name << ": the profiles are open only while building";
    if (c.status != 0) { EXPECT_TRUE(NoTransforms()) << c.name; }
    gLightSourceFlag = 0;
    EXPECT_EQ(IsScannerTransformReady(), c.ready[0] == 1) << c.name;
    gLightSourceFlag = 1;
    EXPECT_EQ(IsScannerTransformReady(), c.ready[1] == 1) << c.name;
    gLightSourceFlag = 0;
    EXPECT_EQ(IsOutputTransformReady(), c.ready[2] == 1) << c.name;
    gIcmEnabled = 1;
    DeleteColorTransforms();
  }
}

TEST_F(ProfileSet, DeletingClearsEveryTransformAndFlag) {
  Choose("scanner.icm", "film.icm", "internal.icc", "output.icc");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  module_.calls.clear();
  DeleteColorTransforms();
  EXPECT_EQ(std::count(module_.calls.begin(), module_.calls.end(), "DeleteColorTransform"), 4);
  EXPECT_TRUE(NoTransforms());
  EXPECT_EQ(Ready(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_FALSE(IsScannerTransformReady());
}

// The module's pixels as a test sees them: what went in, and a result of its own.
struct Recorder {
  std::vector<uint8_t> input;
  const void* inputAt = nullptr;
  void* outputAt = nullptr;
  // Each output byte: the input byte + 1, or for 16-bit samples + 1.
  void Install(ScriptedColorModule& module) {
    module.translate = [this](const ScriptedColorModule::TranslateCall& call, const void* in, void* out) {
      inputAt = in;
      outputAt = out;
      const size_t bytes = static_cast<size_t>(call.height) * call.inputStride;
      input.assign(static_cast<const uint8_t*>(in), static_cast<const uint8_t*>(in) + bytes);
      std::vector<uint8_t> copy = input;
      const bool wide = call.inputFormat == kBitmap16Rgb;
      if (wide) {
        auto* samples = reinterpret_cast<uint16_t*>(copy.data());
        for (size_t i = 0; i < copy.size() / 2; ++i) samples[i] = static_cast<uint16_t>(samples[i] + 1);
      } else {
        for (uint8_t& b : copy) b = static_cast<uint8_t>(b + 1);
      }
      std::memcpy(out, copy.data(), copy.size());
    };
  }
};

TEST_F(ProfileSet, TranslateLine8) {
  Recorder recorder;
  recorder.Install(module_);
  const std::vector<uint8_t> rgb = {10, 20, 30, 40, 50, 60};
  std::vector<uint8_t> out(6, 0xEE);
  uint8_t scratch[8];

  Choose("", "", "internal.icc", "output.icc");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  TranslateLine8(rgb.data(), out.data(), 2, 3, kBitmapXbgrQuads, scratch);
  EXPECT_EQ(out, std::vector<uint8_t>(6, 0xEE)) << "nothing without the scanner transform";
  EXPECT_TRUE(module_.translations.empty());

  Choose("scanner.icm", "", "internal.icc", "");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  TranslateLine8(rgb.data(), out.data(), 2, 3, kBitmapXrgbQuads, scratch);
  EXPECT_EQ(recorder.input, (std::vector<uint8_t>{10, 20, 30, 0, 40, 50, 60, 0}));
  EXPECT_EQ(out, (std::vector<uint8_t>{11, 21, 31, 41, 51, 61}));
  ASSERT_EQ(module_.translations.size(), 1u);
  const auto& call = module_.translations[0];
  EXPECT_EQ(call.inputFormat, kBitmapXrgbQuads);
  EXPECT_EQ(call.outputFormat, kBitmapXrgbQuads);
  EXPECT_EQ(call.width, 2u);
  EXPECT_EQ(call.height, 1u);
  EXPECT_EQ(call.inputStride, 8u);
  EXPECT_EQ(call.outputStride, 8u);
  EXPECT_EQ(recorder.inputAt, scratch);

  module_.translations.clear();
  std::vector<uint8_t> copied(6, 0);
  TranslateLine8(rgb.data(), copied.data(), 2, 3, kBitmapXbgrQuads, nullptr);
  EXPECT_EQ(copied, rgb) << "without a scratch buffer the line is copied unchanged";
  EXPECT_TRUE(module_.translations.empty());

  std::vector<uint8_t> quads = {1, 2, 3, 0, 4, 5, 6, 0};
  TranslateLine8(quads.data(), quads.data(), 2, 4, kBitmapXbgrQuads, nullptr);
  EXPECT_EQ(quads, (std::vector<uint8_t>{2, 3, 4, 1, 5, 6, 7, 1})) << "4 channels in place, directly";
  EXPECT_EQ(recorder.inputAt, quads.data());

  module_.translations.clear();
  for (uint16_t channels : {1, 2, 5}) TranslateLine8(quads.data(), quads.data(), 2, channels, 16, scratch);
  EXPECT_TRUE(module_.translations.empty()) << "other channel counts do nothing";

  gLightSourceFlag = 1;
  TranslateLine8(quads.data(), quads.data(), 2, 4, kBitmapXbgrQuads, nullptr);
  EXPECT_TRUE(module_.translations.empty()) << "a transparency needs its own transform";
}

TEST_F(ProfileSet, TranslateImageBlock) {
  Recorder recorder;
  recorder.Install(module_);
  Choose("scanner.icm", "", "internal.icc", "");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  const ColorTransformHandle t = gColorProfileSet.transforms[kTransformReflective];
  uint8_t pixels[16] = {};

  EXPECT_FALSE(TranslateImageBlock(nullptr, pixels, pixels, 1, 1, 0, 4, 4, 1));
  EXPECT_FALSE(TranslateImageBlock(t, nullptr, pixels, 1, 1, 0, 4, 4, 1));
  EXPECT_FALSE(TranslateImageBlock(t, pixels, nullptr, 1, 1, 0, 4, 4, 1));
  EXPECT_FALSE(TranslateImageBlock(t, pixels, pixels, 0, 1, 0, 4, 4, 1));
  EXPECT_FALSE(TranslateImageBlock(t, pixels, pixels, 1, 0, 0, 4, 4, 1));
  gIcmEnabled = 0;
  EXPECT_FALSE(TranslateImageBlock(t, pixels, pixels, 1, 1, 0, 4, 4, 1));
  gIcmEnabled = 1;
  EXPECT_TRUE(module_.translations.empty());

  // 2 x 2 pixels already as 4-byte pixels: straight through.
  std::vector<uint8_t> quads = {1, 2, 3, 9, 4, 5, 6, 9, 7, 8, 9, 9, 10, 11, 12, 9};
  std::vector<uint8_t> quadsOut(16, 0);
  ASSERT_TRUE(TranslateImageBlock(t, quads.data(), quadsOut.data(), 2, 2, 0, 8, 4, 1));
  EXPECT_EQ(recorder.inputAt, quads.data());
  EXPECT_EQ(recorder.outputAt, quadsOut.data());
  EXPECT_EQ(module_.translations.back().inputFormat, kBitmapXbgrQuads);
  EXPECT_EQ(module_.translations.back().inputStride, 8u);
  EXPECT_EQ(module_.translations.back().height, 2u);

  // 4-byte pixels in another channel order are no direct case.
  ASSERT_TRUE(TranslateImageBlock(t, quads.data(), quadsOut.data(), 2, 1, 0, 8, 4, 2));
  EXPECT_NE(recorder.inputAt, quads.data());
  EXPECT_EQ(recorder.input, (std::vector<uint8_t>{1, 3, 4, 0, 4, 6, 7, 0}));

  // Planar rows of 2 pixels: through the zero-filled working block and back.
  const std::vector<uint8_t> planar = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  std::vector<uint8_t> planarOut(12, 0);
  ASSERT_TRUE(TranslateImageBlock(t, planar.data(), planarOut.data(), 2, 2, 0, 6, 1, 2));
  EXPECT_EQ(recorder.input, (std::vector<uint8_t>{1, 3, 5, 0, 2, 4, 6, 0, 7, 9, 11, 0, 8, 10, 12, 0}));
  EXPECT_EQ(planarOut, (std::vector<uint8_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

  // Interleaved 16-bit triplets: the module gets each pixel's samples reversed.
  const std::vector<uint16_t> wide = {100, 200, 300, 400, 500, 600};
  std::vector<uint16_t> wideOut(6, 0);
  ASSERT_TRUE(TranslateImageBlock(t, wide.data(), wideOut.data(), 2, 1, 1, 6, 3, 1));
  const auto& call = module_.translations.back();
  EXPECT_EQ(call.inputFormat, kBitmap16Rgb);
  EXPECT_EQ(call.outputFormat, kBitmap16Rgb);
  EXPECT_EQ(call.inputStride, 12u);
  std::vector<uint16_t> seen(6);
  std::memcpy(seen.data(), recorder.input.data(), 12);
  EXPECT_EQ(seen, (std::vector<uint16_t>{300, 200, 100, 600, 500, 400}));
  EXPECT_EQ(wideOut, (std::vector<uint16_t>{101, 201, 301, 401, 501, 601}));

  module_.failing.insert("TranslateBitmapBits");
  EXPECT_FALSE(TranslateImageBlock(t, quads.data(), quadsOut.data(), 2, 2, 0, 8, 4, 1)) << "the module's result";
}

TEST_F(ProfileSet, TranslateOutputLine) {
  Recorder recorder;
  recorder.Install(module_);
  const std::vector<uint8_t> planes = {10, 11, 20, 21, 30, 31};  // 2 pixels
  std::vector<uint8_t> out(8, 0xEE);

  Choose("scanner.icm", "", "internal.icc", "");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  TranslateOutputLine(planes.data(), out.data(), 2, 0, 1, 0);
  EXPECT_EQ(out, std::vector<uint8_t>(8, 0xEE)) << "nothing without the output transform";
  EXPECT_TRUE(module_.translations.empty());

  Choose("", "", "internal.icc", "output.icc");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  struct Case {
    const char* name;
    uint8_t interleaved, cmykOut, reverse;
    std::vector<uint8_t> in, moduleInput, out;
    uint32_t inFormat, outFormat;
  } cases[] = {
      {"planar RGB to CMYK planes", 0, 1, 0, planes, {10, 20, 30, 0, 11, 21, 31, 0}, {11, 12, 21, 22, 31, 32, 1, 1},
       kBitmapXbgrQuads, kBitmapKymcQuads},
      {"planar RGB to RGB planes", 0, 0, 0, planes, {10, 20, 30, 0, 11, 21, 31, 0}, {11, 12, 21, 22, 31, 32},
       kBitmapXbgrQuads, kBitmapXbgrQuads},
      {"interleaved RGB to CMYK quads", 1, 1, 0, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 0, 4, 5, 6, 0},
       {2, 3, 4, 1, 5, 6, 7, 1}, kBitmapXbgrQuads, kBitmapKymcQuads},
      {"interleaved CMYK back to RGB", 1, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8},
       {2, 3, 4, 6, 7, 8}, kBitmapKymcQuads, kBitmapXbgrQuads},
      {"CMYK planes back to RGB planes", 0, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 3, 5, 7, 2, 4, 6, 8},
       {2, 3, 4, 5, 6, 7}, kBitmapKymcQuads, kBitmapXbgrQuads},
  };
  for (const Case& c : cases) {
    module_.translations.clear();
    std::vector<uint8_t> result(c.out.size(), 0xEE);
    TranslateOutputLine(c.in.data(), result.data(), 2, c.interleaved, c.cmykOut, c.reverse);
    ASSERT_EQ(module_.translations.size(), 1u) << c.name;
    const auto& call = module_.translations[0];
    EXPECT_EQ(call.inputFormat, c.inFormat) << c.name;
    EXPECT_EQ(call.outputFormat, c.outFormat) << c.name;
    EXPECT_EQ(call.width, 2u) << c.name;
    EXPECT_EQ(call.inputStride, 8u) << c.name;
    EXPECT_EQ(call.outputStride, 8u) << c.name;
    EXPECT_EQ(recorder.input, c.moduleInput) << c.name;
    EXPECT_EQ(recorder.inputAt, recorder.outputAt) << c.name << ": in place in the line buffer";
    EXPECT_EQ(result, c.out) << c.name;
  }

  std::vector<uint8_t> row = planes;
  TranslateOutputLine(row.data(), row.data(), 2, 0, 0, 0);
  EXPECT_EQ(row, (std::vector<uint8_t>{11, 12, 21, 22, 31, 32})) << "RGB planes in place";

  const MemHandle buffer = gColorProfileSet.outputLine;
  ASSERT_NE(buffer, nullptr);
  TranslateOutputLine(planes.data(), out.data(), 1, 0, 0, 0);
  EXPECT_EQ(gColorProfileSet.outputLine, buffer) << "a large enough buffer is kept";
  std::vector<uint8_t> wide(3 * 100, 7), wideOut(3 * 100);
  TranslateOutputLine(wide.data(), wideOut.data(), 100, 0, 0, 0);
  ASSERT_NE(gColorProfileSet.outputLine, nullptr);
  EXPECT_GE(gColorProfileSet.outputLine->size, 400u) << "a longer line gets a new one";
  EXPECT_EQ(wideOut, std::vector<uint8_t>(300, 8));
}

// The 16-bit output line: three planes in as 6-byte pixels with the samples
// reversed, 8 bytes a pixel back; four samples read per CMYK pixel.
TEST_F(ProfileSet, TranslateOutputLine16Layout) {
  Choose("", "", "internal.icc", "output.icc");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  std::vector<uint16_t> seen;
  bool cmyk = false;
  module_.translate = [&](const ScriptedColorModule::TranslateCall& call, const void* in, void* out) {
    const auto* samples = static_cast<const uint16_t*>(in);
    seen.assign(samples, samples + call.width * 3);
    auto* result = static_cast<uint16_t*>(out);
    for (uint32_t x = 0; x < call.width; ++x)
      for (uint32_t s = 0; s < (cmyk ? 4u : 3u); ++s) result[x * (cmyk ? 4 : 3) + s] = uint16_t(1000 * (x + 1) + s);
  };
  const std::vector<uint16_t> planes = {1, 2, 3, 4, 5, 6};  // red 1, 2; green 3, 4; blue 5, 6

  std::vector<uint16_t> rgb(6, 0);
  TranslateOutputLine16(planes.data(), rgb.data(), 2, 0);
  ASSERT_EQ(module_.translations.size(), 1u);
  auto call = module_.translations[0];
  EXPECT_EQ(call.inputFormat, kBitmap16Rgb);
  EXPECT_EQ(call.outputFormat, kBitmap16Rgb);
  EXPECT_EQ(call.inputStride, 12u);
  EXPECT_EQ(call.outputStride, 16u);
  EXPECT_EQ(seen, (std::vector<uint16_t>{5, 3, 1, 6, 4, 2}));
  EXPECT_EQ(rgb, (std::vector<uint16_t>{1002, 2002, 1001, 2001, 1000, 2000})) << "reversed back into the planes";

  cmyk = true;
  std::vector<uint16_t> inks(8, 0);
  TranslateOutputLine16(planes.data(), inks.data(), 2, 1);
  call = module_.translations[1];
  EXPECT_EQ(call.outputFormat, kBitmap16G3ch);
  EXPECT_EQ(call.inputStride, 12u);
  EXPECT_EQ(call.outputStride, 16u);
  EXPECT_EQ(inks, (std::vector<uint16_t>{1000, 2000, 1001, 2001, 1002, 2002, 1003, 2003}));
  EXPECT_GE(gColorProfileSet.outputLine->size, 32u);
}

TEST(SwapRedBlue, InPlaceAndApart) {
  std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> apart(6, 0);
  SwapRedBlue(pixels.data(), apart.data(), 2);
  SwapRedBlue(pixels.data(), pixels.data(), 2);
  EXPECT_EQ(pixels, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_EQ(apart, pixels);
}

// The soft proof through the output transform (CMYK mode 2): the cube's nodes
// go out as CMYK quads and, for all inks, come back through the reverse
// transform; a single proof ink shows as grey. The module copies its rows.
TEST_F(ProfileSet, SoftProofCubeThroughTheOutputTransform) {
  Choose("", "", "internal.icc", "output.icc");
  ASSERT_EQ(RebuildColorTransforms(), 0);
  gColorProfileSet.cmykMode = 2;
  std::vector<uint8_t> identity(kCube8Bytes);
  InitIdentityCube8(identity.data());
  const struct {
    uint16_t proofChannel;
    size_t translations;
  } cases[] = {{kProofAllInks, 2}, {0, 1}, {2, 1}, {3, 1}};
  for (const auto& c : cases) {
    gColorProfileSet.proofChannel = c.proofChannel;
    module_.translations.clear();
    MemHandle cube = nullptr;
    BuildSoftProofCube(&cube);
    ASSERT_NE(cube, nullptr);
    ASSERT_EQ(module_.translations.size(), c.translations) << c.proofChannel;
    EXPECT_EQ(module_.translations[0].width, static_cast<uint32_t>(kCubeEntries));
    EXPECT_EQ(module_.translations[0].outputFormat, kBitmapKymcQuads);
    std::vector<uint8_t> want = identity;
    if (c.proofChannel == kProofAllInks) {
      EXPECT_EQ(module_.translations[1].inputFormat, kBitmapKymcQuads);
    } else {
      // The quads hold red, green, blue and 0: the chosen one of them, inverted, in every channel.
      for (int32_t n = 0; n < kCubeEntries; ++n)
        for (int ch = 0; ch < 3; ++ch)
          want[3 * n + ch] = static_cast<uint8_t>(255 - (c.proofChannel < 3 ? identity[3 * n + c.proofChannel] : 0));
    }
    EXPECT_EQ(0, std::memcmp(cube->data, want.data(), kCube8Bytes)) << c.proofChannel;
    DisposeMemHandle(cube);
  }
  gIcmEnabled = 0;
  module_.translations.clear();
  MemHandle cube = nullptr;
  BuildSoftProofCube(&cube);
  EXPECT_TRUE(module_.translations.empty()) << "colour management off";
  EXPECT_EQ(0, std::memcmp(cube->data, identity.data(), kCube8Bytes));
  DisposeMemHandle(cube);
  gColorProfileSet.cmykMode = 0;
  gColorProfileSet.proofChannel = kProofAllInks;
}

}  // namespace
