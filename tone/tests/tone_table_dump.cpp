// Writes tone tables for the numpy reference: one request per line of the
// requests file, one line of numbers per answer in the answers file.
//   tone_table_dump <requests> <answers>
//   gamma <n> <levels> <gamma> <toe 0/1>
//   negative <n> <gamma> <low byte> <high byte>
//   evaluate <contrast> <brightness> <shift> <mode> <lower> <upper> <x1..x5> <y>   (y' x' of points 0..6)
//   tone <n> <gamma> <16-bit 0/1>
//   curve <n> <gamma> <y0..y6>    8-bit table of a block whose gradation points have these outputs
//   compose <nOut> <outLevels> <outerN> <outerLevels> <innerN> <innerLevels> <outer...> <inner...>
//   negframe <channel> <gamma> <low byte> <high byte> <16-bit 0/1> <store> <film profile 2 as hex>
//            a negative frame on film profile 2 of a new store, the negative pass on; three lines: the
//            channel block's input range, its negative gamma table (16384 entries) and its finished
//            table (16384 work levels for a 16-bit source, else 256 bytes)
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "sharpen/film_profiles.h"
#include "sharpen/negative_curves.h"
#include "state/data_source_state.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/gradation_points.h"
#include "tone/table_utils.h"
#include "tone/tests/tone_fixture.h"

namespace {

FILE* gAnswers = nullptr;

template <typename T>
void Print(const std::vector<T>& values) {
  std::string line;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) line += ' ';
    line += std::to_string(values[i]);
  }
  std::fprintf(gAnswers, "%s\n", line.c_str());
}

// The store holds the given bytes as film profile 2; the frame uses that profile.
bool SeedFilmStore(const std::string& path, const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  DeleteFileAt(path.c_str());
  gAppStore = OpenOrCreateFile(path.c_str(), ".");
  return gAppStore && RecordStoreAdd(gAppStore, kFilmRecordType, 2, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                     "<Linear>");
}

void AnswerNegativeFrame(std::istringstream& in, ToneFixture& fixture) {
  int channel, low, high, wide;
  double gamma;
  std::string store, hex;
  in >> channel >> gamma >> low >> high >> wide >> store >> hex;
  SetDefault(fixture.defaults, kDefaultGammaReflective, gamma);
  SetDefault<uint8_t>(fixture.defaults, kDefaultNegativeMode, 1);
  uint8_t* limits = DefaultsBytes(fixture.defaults, kDefaultFilmLimits);
  limits[2 * channel] = static_cast<uint8_t>(low);
  limits[2 * channel + 1] = static_cast<uint8_t>(high);
  fixture.frame.filmProfileRef = 2;
  if (!SeedFilmStore(store, hex)) return;
  gDataSourceState.deviceHas16Bits = wide != 0;
  gNegativeConversionOn = 1;
  const ToneBlock& block = fixture.frame.tone[channel];
  Print(std::vector<int>{block.inputLow, block.inputHigh});
  std::vector<uint16_t> power(kToneWorkLevels);
  BuildNegativeGammaTable(power.data(), kToneWorkLevels, gamma, static_cast<int16_t>(channel), &fixture.frame);
  Print(power);
  if (wide) {
    std::vector<uint16_t> table(kToneWorkLevels);
    BuildFrameToneTables(table.data(), block, kToneWorkLevels, kToneWorkLevels, static_cast<int16_t>(channel), 1,
                         &fixture.frame, 1.0);
    Print(table);
  } else {
    std::vector<uint8_t> table(256);
    ComputeToneTables(table.data(), block, 256, static_cast<int16_t>(channel), 1, &fixture.frame, 1.0);
    Print(std::vector<int>(table.begin(), table.end()));
  }
  gNegativeConversionOn = 0;
  gDataSourceState.deviceHas16Bits = false;
  FreeFilmProfileCache();
  CloseFile(gAppStore);
  gAppStore = nullptr;
}

void Answer(const std::string& request) {
  std::istringstream in(request);
  std::string kind;
  in >> kind;
  ToneFixture fixture;
  if (kind == "gamma") {
    int n, levels, toe;
    double gamma;
    in >> n >> levels >> gamma >> toe;
    SetDefault(fixture.defaults, kDefaultLimitGammaSlope, static_cast<uint8_t>(toe));
    std::vector<uint16_t> table(n);
    BuildGammaTable(table.data(), n, levels, gamma);
    Print(table);
  } else if (kind == "negative") {
    int n, low, high;
    double gamma;
    in >> n >> gamma >> low >> high;
    uint8_t* limits = DefaultsBytes(fixture.defaults, kDefaultFilmLimits);
    limits[2] = static_cast<uint8_t>(low);
    limits[3] = static_cast<uint8_t>(high);
    std::vector<uint16_t> table(n);
    BuildNegativeGammaTable(table.data(), n, gamma, 1, &fixture.frame);
    Print(table);
  } else if (kind == "evaluate") {
    ToneBlock block = fixture.frame.tone[0];
    int contrast, brightness, shift, mode, lower, upper, y;
    in >> contrast >> brightness >> shift >> mode >> lower >> upper;
    for (int p = 1; p <= 5; ++p) in >> block.gradationX[p];
    in >> y;
    block.contrast = static_cast<int16_t>(contrast);
    block.brightness = static_cast<int16_t>(brightness);
    block.midtoneShift = static_cast<int16_t>(shift);
    block.shiftMode = static_cast<uint8_t>(mode);
    block.lowerContrast = static_cast<int16_t>(lower);
    block.upperContrast = static_cast<int16_t>(upper);
    std::vector<int> out;
    for (int16_t p = 0; p < kGradationPoints; ++p) {
      int16_t x;
      out.push_back(EvaluateGradationPoint(p, static_cast<int16_t>(y), block.gradationX[p], block, &x));
      out.push_back(x);
    }
    Print(out);
  } else if (kind == "tone") {
    int n, wide;
    double gamma;
    in >> n >> gamma >> wide;
    SetDefault(fixture.defaults, kDefaultGammaReflective, gamma);
    if (wide) {
      std::vector<uint16_t> table(n);
      BuildFrameToneTables(table.data(), fixture.frame.tone[0], static_cast<int16_t>(n), kToneWorkLevels, 0, 0,
                           &fixture.frame, 1.0);
      Print(table);
    } else {
      std::vector<uint8_t> table(n);
      ComputeToneTables(table.data(), fixture.frame.tone[0], static_cast<int16_t>(n), 0, 0, &fixture.frame, 1.0);
      Print(std::vector<int>(table.begin(), table.end()));
    }
  } else if (kind == "curve") {
    int n;
    double gamma;
    in >> n >> gamma;
    SetDefault(fixture.defaults, kDefaultGammaReflective, gamma);
    ToneBlock block = fixture.frame.tone[0];
    for (uint16_t& y : block.gradationY) in >> y;
    std::vector<uint8_t> table(n);
    ComputeToneTables(table.data(), block, static_cast<int16_t>(n), 0, 0, &fixture.frame, 1.0);
    Print(std::vector<int>(table.begin(), table.end()));
  } else if (kind == "compose") {
    int nOut, outLevels, outerN, outerLevels, innerN, innerLevels;
    in >> nOut >> outLevels >> outerN >> outerLevels >> innerN >> innerLevels;
    std::vector<uint16_t> outer(outerN), inner(innerN), out(nOut);
    for (uint16_t& v : outer) in >> v;
    for (uint16_t& v : inner) in >> v;
    ComposeTables16(out.data(), outer.data(), inner.data(), nOut, outLevels, outerN, outerLevels, innerN,
                    innerLevels);
    Print(out);
  } else if (kind == "negframe") {
    AnswerNegativeFrame(in, fixture);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream requests(argv[1]);
  gAnswers = std::fopen(argv[2], "w");
  if (!requests || !gAnswers) return 1;
  std::string line;
  while (std::getline(requests, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) Answer(line);
  }
  return std::fclose(gAnswers) == 0 ? 0 : 1;
}
