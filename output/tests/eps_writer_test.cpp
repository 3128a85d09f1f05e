// The EPS/DCS writer over the scan tests' images: the binary header and its
// TIFF preview, the PostScript texts, and the data areas of the three
// layouts hold the rows the band pipeline makes (the raw test writer's
// output), turned as the frame is. The files stay in the working directory
// for check_eps_outputs.py (Ghostscript, tiffinfo, exiftool).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "foundation/round.h"
#include "output/dcs_options.h"
#include "output/eps_file_writer.h"
#include "output/eps_resources.h"
#include "output/eps_state.h"
#include "output/eps_text.h"
#include "output/output_names.h"
#include "output/tests/eps_test_support.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"

namespace {

const char kTail[] = "\n%%EndBinary\ngrestore end\ngrestore\n";
constexpr size_t kTailSize = sizeof kTail - 1;

struct EpsCase {
  const char* name;
  const char* image;
  bool rgb;
  uint8_t threeChannelOutput;  // 0: CMYK
  int32_t format;
  bool separateFiles;
  uint16_t quarterTurns;
  uint8_t mirrorH;
};

const EpsCase kEpsCases[] = {
    {"epsf_cmyk", "scan_small_rgb24", true, 0, kFormatEpsf, false, 0, 0},
    {"epsf_rgb", "scan_small_rgb24", true, 1, kFormatEpsf, false, 0, 0},
    {"epsf_grey", "scan_small_grey8", false, 1, kFormatEpsf, false, 0, 0},
    {"epsf_cmyk_turned", "scan_small_rgb24", true, 0, kFormatEpsf, false, 1, 1},
    {"epsf_cmyk_half_turn", "scan_small_rgb24", true, 0, kFormatEpsf, false, 2, 0},
    {"epsf_wide", "scan_rgb24", true, 0, kFormatEpsf, false, 0, 0},
    {"epsf_wide_half_turn", "scan_rgb24", true, 0, kFormatEpsf, false, 2, 0},
    {"epsf_wide_turned", "scan_rgb24", true, 0, kFormatEpsf, false, 3, 0},
    {"dcs_one", "scan_small_rgb24", true, 0, kFormatDcs, false, 0, 0},
    {"dcs_one_turned", "scan_small_rgb24", true, 0, kFormatDcs, false, 3, 1},
    {"dcs_separate", "scan_small_rgb24", true, 0, kFormatDcs, true, 0, 0},
    {"dcs_separate_turned", "scan_small_rgb24", true, 0, kFormatDcs, true, 1, 0},
};

class EpsWriterTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    gBatchOutput = false;
    ASSERT_TRUE(LoadEpsTemplates(*system_)) << "templates in " << ZIR_EPS_TEMPLATES;
  }
  void TearDown() override {
    gOutputFormat = kFormatTiff;
    SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
    WriterTest::TearDown();
  }

  // Writes the frame to name.eps in the working directory; failed or not.
  bool WriteEps(const std::string& name, FrameRecord frame, int32_t format, bool separate) {
    EXPECT_TRUE(SaveDcsOptions(DcsOptions{1, static_cast<uint8_t>(separate), 0}));
    EXPECT_TRUE(SaveOutputPath((name + ".eps").c_str()));
    gOutputFormat = format;
    EpsFileWriter writer;
    return Write(writer, frame);
  }
};

// The preview's size in output order: frame order reduced by 0.72 above 72 dpi and to 512 at most.
void ExpectedPreview(int32_t columns, int32_t rows, bool turned, int32_t dpi, int32_t* width, int32_t* height) {
  double c = turned ? rows : columns, r = turned ? columns : rows;
  if (dpi > 72) {
    c = TruncRound(c * 0.72);
    r = TruncRound(r * 0.72);
  }
  const double f = std::max(c, r) / 512.0;
  if (f > 1.0) {
    c = TruncRound(c / f);
    r = TruncRound(r / f);
  }
  *width = static_cast<int32_t>(turned ? r : c);
  *height = static_cast<int32_t>(turned ? c : r);
}

uint32_t TiffTag(const std::vector<uint8_t>& file, size_t at, uint16_t tag) {
  const uint8_t* ifd = &file[at + Le32(&file[at + 4])];
  const uint16_t count = static_cast<uint16_t>(ifd[0] | ifd[1] << 8);
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = ifd + 2 + 12 * i;
    if ((e[0] | e[1] << 8) != tag) continue;
    return (e[2] | e[3] << 8) == 3 ? static_cast<uint32_t>(e[8] | e[9] << 8) : Le32(e + 8);
  }
  return UINT32_MAX;
}

// A plate section: its text up to the data, the inverted plane, and the tail.
void ExpectPlateSection(const std::vector<uint8_t>& bytes, size_t start, size_t length,
                        const std::vector<uint8_t>& raw, int32_t columns, int32_t rows, int32_t spp, int32_t k) {
  ASSERT_LE(start + length, bytes.size());
  EXPECT_EQ(TextAt(bytes, start, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
  long declared = 0;
  const size_t data = FindBinaryData(bytes, start, &declared);
  ASSERT_NE(data, std::string::npos);
  const size_t plane = static_cast<size_t>(columns) * rows;
  EXPECT_EQ(declared, static_cast<long>(plane + 11));
  ASSERT_EQ(data + plane + kTailSize, start + length);
  EXPECT_EQ(TextAt(bytes, data + plane, kTailSize), kTail);
  for (size_t i = 0; i < plane; ++i)
    ASSERT_EQ(bytes[data + i], 255 - raw[i * spp + k]) << "plate " << k << " pixel " << i;
}

class EpsFileTest : public EpsWriterTest, public ::testing::WithParamInterface<EpsCase> {};

TEST_P(EpsFileTest, HoldsThePipelinesRowsBehindItsHeaderAndPreview) {
  const EpsCase& c = GetParam();
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  FrameRecord frame = OpenFrame(c.image, 8, c.rgb);
  frame.quarterTurns = c.quarterTurns;
  frame.mirrorH = c.mirrorH;
  const std::string name = std::string("eps_") + c.name;
  RawTestWriter rawWriter(name + ".raw", Scratch("first.raw"));
  ASSERT_FALSE(Write(rawWriter, frame));
  const std::vector<uint8_t> raw = ReadOutput(name + ".raw");
  const int32_t columns = rawWriter.Columns(), rows = rawWriter.Rows(), spp = rawWriter.SamplesPerPixel();
  ASSERT_EQ(raw.size(), static_cast<size_t>(columns) * rows * spp);

  ASSERT_FALSE(WriteEps(name, frame, c.format, c.separateFiles));
  const std::vector<uint8_t> file = ReadOutput(name + ".eps");
  ASSERT_GT(file.size(), 30u + 1278u);

  // The binary header.
  EXPECT_EQ(Le32(&file[0]), 0xC6D3D0C5u);
  const uint32_t t = Le32(&file[24]), postScript = Le32(&file[4]);
  EXPECT_EQ(postScript, 30 + t);
  EXPECT_EQ(Le32(&file[8]), file.size() - 30 - t);
  EXPECT_EQ(Le32(&file[12]), 0u);
  EXPECT_EQ(Le32(&file[16]), 0u);
  EXPECT_EQ(Le32(&file[20]), 30u);
  EXPECT_EQ(file[28], 0xFF);
  EXPECT_EQ(file[29], 0xFF);

  // The preview: turned as the output is; a small image is its own preview.
  int32_t width = 0, height = 0;
  ExpectedPreview(columns, rows, c.quarterTurns & 1, frame.outputResolution, &width, &height);
  ASSERT_EQ(TextAt(file, 30, 4), std::string("II*\0", 4));
  EXPECT_EQ(TiffTag(file, 30, 256), static_cast<uint32_t>(width));
  EXPECT_EQ(TiffTag(file, 30, 257), static_cast<uint32_t>(height));
  EXPECT_EQ(TiffTag(file, 30, 277), static_cast<uint32_t>(spp));
  const size_t pixels = static_cast<size_t>(width) * height * spp;
  ASSERT_EQ(t, 1278u + pixels);
  if (width == columns && height == rows) {
    EXPECT_EQ(std::memcmp(&file[30 + 1278], raw.data(), pixels), 0);
  } else if (c.quarterTurns == 0) {
    const double step = static_cast<double>(columns) / width;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        for (int32_t k = 0; k < spp; ++k)
          ASSERT_EQ(file[30 + 1278 + (static_cast<size_t>(y) * width + x) * spp + k],
                    raw[(static_cast<size_t>(TruncRound(y * step)) * columns + TruncRound(x * step)) * spp + k])
              << x << "," << y;
  }

  const std::string text = TextAt(file, postScript, 8192);
  EXPECT_EQ(text.compare(0, 24, "%!PS-Adobe-3.0 EPSF-3.0\n"), 0);
  char box[64];
  std::snprintf(box, sizeof box, "%%%%BoundingBox: 0 0 %d %d\n",
                TruncRound(columns * 72.0 / frame.outputResolution), TruncRound(rows * 72.0 / frame.outputResolution));
  EXPECT_NE(text.find(box), std::string::npos) << box;

  if (c.format == kFormatEpsf) {
    long declared = 0;
    const size_t data = FindBinaryData(file, postScript, &declared);
    ASSERT_NE(data, std::string::npos);
    const size_t plane = static_cast<size_t>(columns) * rows;
    EXPECT_EQ(declared, static_cast<long>((spp + 1) * plane + 11));
    ASSERT_EQ(data + (spp + 1) * plane + kTailSize, file.size());
    EXPECT_EQ(TextAt(file, file.size() - kTailSize, kTailSize), kTail);
    EXPECT_EQ(text.find("%%DocumentProcessColors:  Cyan Magenta Yellow Black\n") != std::string::npos, spp == 4);
    for (int32_t y = 0; y < rows; ++y)
      for (int32_t x = 0; x < columns; ++x) {
        const uint8_t* line = &file[data + static_cast<size_t>(y) * (spp + 1) * columns];
        const uint8_t* pixel = &raw[(static_cast<size_t>(y) * columns + x) * spp];
        for (int32_t k = 0; k < spp; ++k) ASSERT_EQ(line[k * columns + x], pixel[k]) << x << "," << y;
        int grey = pixel[0];
        if (spp == 4) grey = 255 - (pixel[0] >> 2) - (pixel[1] >> 1) - (pixel[2] >> 3) - (pixel[3] >> 3);
        if (spp == 3) grey = (pixel[0] >> 2) + (pixel[1] >> 1) + (pixel[2] >> 2);
        ASSERT_EQ(line[spp * columns + x], grey) << x << "," << y;
      }
  } else if (!c.separateFiles) {
    // "%%PlateFile: (Cyan) EPS #" + 11-digit offset + " " + 12-digit length + CR.
    const char* plates[] = {"Cyan", "Magenta", "Yellow", "Black"};
    for (int32_t k = 0; k < 4; ++k) {
      const std::string line = std::string("%%PlateFile: (") + plates[k] + ") EPS #";
      const size_t at = text.find(line);
      ASSERT_NE(at, std::string::npos) << line;
      const std::string numbers = text.substr(at + line.size(), 25);
      ASSERT_EQ(numbers[11], ' ');
      ASSERT_EQ(numbers[24], '\r');
      ExpectPlateSection(file, std::strtoul(numbers.substr(0, 11).c_str(), nullptr, 10),
                         std::strtoul(numbers.substr(12, 12).c_str(), nullptr, 10), raw, columns, rows, spp, k);
    }
    EXPECT_EQ(text.find("***"), std::string::npos);
  } else {
    const char letters[] = "CMYK";
    const char* plates[] = {"Cyan", "Magenta", "Yellow", "Black"};
    for (int32_t k = 0; k < 4; ++k) {
      const std::string plateName = name + letters[k] + ".eps";
      EXPECT_NE(text.find(std::string("%%PlateFile: (") + plates[k] + ") EPS Local " + plateName + "\r"),
                std::string::npos);
      EXPECT_NE(text.find(std::string("%%") + plates[k] + "Plate: " + plateName + "\r"), std::string::npos);
      const std::vector<uint8_t> plate = ReadOutput(plateName);
      ExpectPlateSection(plate, 0, plate.size(), raw, columns, rows, spp, k);
    }
    // The master holds no data: its text ends the file.
    EXPECT_EQ(file.size(), postScript + text.size());
  }
  for (const char* temporary : {"0000.tm0", "0000.tm1", "0000.tm2", "0000.tm3"})
    EXPECT_FALSE(FileExists((name + temporary).c_str())) << temporary;

  FILE* out = std::fopen((name + ".txt").c_str(), "w");
  ASSERT_NE(out, nullptr);
  std::fprintf(out, "%s %d %d %d %d\n",
               c.format == kFormatEpsf ? "epsf" : c.separateFiles ? "separate" : "one", columns, rows, spp,
               static_cast<int>(frame.outputResolution));
  std::fclose(out);
}

INSTANTIATE_TEST_SUITE_P(Frames, EpsFileTest, ::testing::ValuesIn(kEpsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A template that cannot be loaded fails the file; the temporaries are gone all the same.
TEST_F(EpsWriterTest, AMissingTemplateFailsTheFile) {
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{0});
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  for (const uint32_t id : {434u, 432u}) {
    std::vector<uint8_t> kept = system_->resources[{"TEXT", id}];
    system_->resources.erase({"TEXT", id});
    const std::string name = Scratch("missing" + std::to_string(id));
    EXPECT_TRUE(WriteEps(name, frame, id == 434 ? kFormatEpsf : kFormatDcs, false)) << id;
    const std::vector<uint8_t> file = ReadOutput(name + ".eps");
    ASSERT_GE(file.size(), 30u);
    EXPECT_EQ(Le32(&file[8]), 0u) << "the PostScript length stays 0";
    EXPECT_FALSE(FileExists((name + "0000.tm0").c_str()));
    system_->resources[{"TEXT", id}] = kept;
  }
}

// Only EPSF and DCS have a layout: another output format fails at the open.
TEST_F(EpsWriterTest, AnotherOutputFormatFailsTheOpen) {
  FrameRecord frame = OpenFrame("scan_small_grey8", 8, false);
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  EXPECT_TRUE(WriteEps(Scratch("tiff_format"), frame, kFormatTiff, false));
  EXPECT_EQ(prompts.Asked().size(), 1u);
  EXPECT_FALSE(FileExists(Scratch("tiff_format.eps").c_str()));
}

}  // namespace
