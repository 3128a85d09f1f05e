// Probes what the system's colour-management module can do: it translates
// known colours in each bitmap format the data source uses, tries profile
// creation and the gamut check, and writes what came back. The host's
// icc_probe_verdict.py compares that with transicc and writes the verdict
// that later tests read.
//
// usage: color_module_probe <folder of test profiles> <results file>
#include <cstdio>
#include <string>
#include <vector>

#include "color/color_module.h"
#include "color/profile_writer.h"
#include "color/tests/scripted_color_module.h"

namespace {

FILE* gOut = nullptr;

struct OpenProfile {
  std::vector<uint8_t> bytes;
  ColorProfileHandle handle = nullptr;
};

bool OpenFromMemory(OpenProfile* profile) {
  if (profile->bytes.empty()) return false;
  const ColorProfileLocation location{kProfileFromMemory, profile->bytes.data(),
                                      static_cast<uint32_t>(profile->bytes.size())};
  return CmsOpenColorProfile(&profile->handle, &location, 0) == 0;
}

template <typename Sample>
void WriteSamples(const char* label, const std::vector<Sample>& samples) {
  std::fprintf(gOut, " %s", label);
  for (Sample s : samples) std::fprintf(gOut, " %u", static_cast<unsigned>(s));
}

// One translation: the case's name, its formats, whether the module took it, input and output samples.
template <typename In, typename Out>
void Translate(const char* name, ColorTransformHandle transform, const std::vector<In>& input, uint32_t inFormat,
               uint32_t pixels, std::vector<Out> output, uint32_t outFormat) {
  const uint32_t inStride = static_cast<uint32_t>(input.size() * sizeof(In));
  const uint32_t outStride = static_cast<uint32_t>(output.size() * sizeof(Out));
  const bool ok = CmsTranslateBitmapBits(transform, input.data(), inFormat, pixels, 1, inStride, output.data(),
                                         outFormat, outStride);
  std::fprintf(gOut, "translate %s %u %u %d", name, inFormat, outFormat, ok ? 1 : 0);
  WriteSamples("in", input);
  WriteSamples("out", output);
  std::fprintf(gOut, "\n");
}

std::vector<uint16_t> Widen(const std::vector<uint8_t>& bytes) {
  std::vector<uint16_t> wide;
  for (uint8_t b : bytes) wide.push_back(static_cast<uint16_t>(b * 257));
  return wide;
}

// 10-bit L*a*b* in 32 bits, L in the highest field.
uint32_t PackLab10(double l, double a, double b) {
  auto field = [](double v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 1023 ? 1023 : v + 0.5); };
  return field(l / 100 * 1023) << 20 | field((a + 128) / 255 * 1023) << 10 | field((b + 128) / 255 * 1023);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  gOut = std::fopen(argv[2], "w");
  if (!gOut) return 2;
  if (!ColorSystemLoad()) {
    std::fprintf(gOut, "module 0\n");
    std::fclose(gOut);
    return 0;
  }
  std::fprintf(gOut, "module 1\n");
  const std::string folder = argv[1];
  OpenProfile linear{ReadWholeFile(folder + "\\linear.icc")}, wide{ReadWholeFile(folder + "\\wide.icc")},
      gamma{ReadWholeFile(folder + "\\gamma22.icc")},
      printer{ReadWholeFile(folder + "\\printer_cmyk.icc")}, lab{LabIdentityProfileBytes({2026, 1, 1, 0, 0, 0})};
  if (!OpenFromMemory(&linear) || !OpenFromMemory(&wide) || !OpenFromMemory(&gamma) || !OpenFromMemory(&printer) ||
      !OpenFromMemory(&lab)) {
    std::fprintf(gOut, "profiles 0\n");
    std::fclose(gOut);
    return 1;
  }
  std::fprintf(gOut, "profiles 1\n");

  const std::vector<uint8_t> rgb = {128, 128, 128, 200, 100, 50, 20, 180, 90};
  std::vector<uint8_t> quads;
  for (size_t i = 0; i < rgb.size(); i += 3) quads.insert(quads.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 0});

  // Into other primaries, so that the channels mix and their order shows.
  ColorTransformHandle toWide = nullptr, toPrinter = nullptr, fromLab = nullptr;
  std::fprintf(gOut, "transform rgb %d\n", CmsCreateMultiProfileTransform(&toWide, linear.handle, wide.handle, 0));
  std::fprintf(gOut, "transform cmyk %d\n",
               CmsCreateMultiProfileTransform(&toPrinter, gamma.handle, printer.handle, 0));
  std::fprintf(gOut, "transform lab %d\n", CmsCreateMultiProfileTransform(&fromLab, lab.handle, gamma.handle, 0));

  Translate("xrgb", toWide, quads, kBitmapXrgbQuads, 3, std::vector<uint8_t>(12), kBitmapXrgbQuads);
  Translate("xbgr", toWide, quads, kBitmapXbgrQuads, 3, std::vector<uint8_t>(12), kBitmapXbgrQuads);
  Translate("rgb16", toWide, Widen(rgb), kBitmap16Rgb, 3, std::vector<uint16_t>(9), kBitmap16Rgb);
  Translate("kymc", toPrinter, quads, kBitmapXbgrQuads, 3, std::vector<uint8_t>(12), kBitmapKymcQuads);
  Translate("g3ch", toPrinter, Widen(rgb), kBitmap16Rgb, 3, std::vector<uint16_t>(12), kBitmap16G3ch);
  const std::vector<uint32_t> lab10 = {PackLab10(50, 0, 0), PackLab10(70, 20, -30), PackLab10(30, -40, 10)};
  Translate("lab10", fromLab, lab10, kBitmap10Lab, 3, std::vector<uint8_t>(12), kBitmapXbgrQuads);

  std::vector<uint8_t> gamut(3, 0xEE);
  const bool checked = CmsCheckBitmapBits(toPrinter, quads.data(), kBitmapXbgrQuads, 3, 1, 12, gamut.data());
  std::fprintf(gOut, "check %d", checked ? 1 : 0);
  WriteSamples("out", gamut);
  std::fprintf(gOut, "\n");

  ColorProfileHandle created = nullptr;
  const ColorProfileLocation memory{kProfileFromMemory, nullptr, 0};
  std::fprintf(gOut, "create %d\n", CmsCreateColorProfile(&created, &memory));
  if (created) CmsCloseColorProfile(created);

  for (ColorTransformHandle t : {toWide, toPrinter, fromLab})
    if (t) CmsDeleteColorTransform(t);
  for (OpenProfile* p : {&linear, &wide, &gamma, &printer, &lab}) CmsCloseColorProfile(p->handle);
  ColorSystemUnload();
  std::fclose(gOut);
  return 0;
}
