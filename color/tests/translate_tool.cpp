// Runs the colour profile set's translate paths over known colours with the
// test profiles, for the comparison with transicc (translate_reference.py).
// The host build uses the lcms2-backed module double, Windows the system's.
//
// usage: translate_tool <folder of test profiles> <results file> 8|16
// Each result line: <case> <bits> <source profile> <target profile> <in
// channels> <out channels> in <samples> out <samples>, samples pixel by pixel.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#ifndef _WIN32
#include "color/tests/lcms_color_module.h"
#endif

namespace {

FILE* gOut = nullptr;
std::string gFolder;

void SetPath(DefaultsArea area, const char* name) {
  std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
  if (!name[0]) return;
  const std::string path = gFolder + "\\" + name;
  std::memcpy(DefaultsBytes(gDefaults, area), path.data(), path.size());
}

bool Rebuild(const char* reflective, const char* transparency, const char* internal, const char* output) {
  SetPath(kDefaultScannerProfileReflective, reflective);
  SetPath(kDefaultScannerProfileTransparency, transparency);
  SetPath(kDefaultInternalProfile, internal);
  SetPath(kDefaultOutputProfile, output);
  const int16_t status = RebuildColorTransforms();
  if (status != 0) std::fprintf(gOut, "rebuild %d\n", status);
  return status == 0;
}

template <typename Sample>
void Report(const char* name, int bits, const char* from, const char* to, int inChannels, int outChannels,
            const std::vector<Sample>& in, const std::vector<Sample>& out) {
  std::fprintf(gOut, "%s %d %s %s %d %d in", name, bits, from, to, inChannels, outChannels);
  for (Sample s : in) std::fprintf(gOut, " %u", static_cast<unsigned>(s));
  std::fprintf(gOut, " out");
  for (Sample s : out) std::fprintf(gOut, " %u", static_cast<unsigned>(s));
  std::fprintf(gOut, "\n");
}

// n pixels of c channels to planes and back.
template <typename Sample>
std::vector<Sample> ToPlanes(const std::vector<Sample>& pixels, int c) {
  const size_t n = pixels.size() / c;
  std::vector<Sample> planes(pixels.size());
  for (size_t i = 0; i < n; ++i)
    for (int k = 0; k < c; ++k) planes[k * n + i] = pixels[i * c + k];
  return planes;
}
template <typename Sample>
std::vector<Sample> FromPlanes(const std::vector<Sample>& planes, int c) {
  const size_t n = planes.size() / c;
  std::vector<Sample> pixels(planes.size());
  for (size_t i = 0; i < n; ++i)
    for (int k = 0; k < c; ++k) pixels[i * c + k] = planes[k * n + i];
  return pixels;
}

// Greys, primaries, secondaries and mixed colours.
std::vector<uint8_t> Colours() {
  std::vector<uint8_t> rgb;
  const int levels[] = {0, 40, 128, 200, 255};
  for (int r : levels)
    for (int g : levels)
      for (int b : levels) rgb.insert(rgb.end(), {uint8_t(r), uint8_t(g), uint8_t(b)});
  for (int i = 0; i < 40; ++i) rgb.insert(rgb.end(), {uint8_t(i * 37 % 256), uint8_t(i * 91 % 256), uint8_t(i * 53 % 256)});
  return rgb;
}

void EightBit() {
  const std::vector<uint8_t> rgb = Colours();
  const uint16_t n = static_cast<uint16_t>(rgb.size() / 3);
  std::vector<uint8_t> quads(4 * n);
  for (size_t i = 0; i < n; ++i) std::memcpy(&quads[4 * i], &rgb[3 * i], 3);

  if (!Rebuild("linear.icc", "table18.icc", "wide.icc", "gamma22.icc")) return;
  std::vector<uint8_t> out(rgb.size());
  std::vector<uint8_t> scratch(4 * n);
  gLightSourceFlag = 0;
  TranslateLine8(rgb.data(), out.data(), n, 3, kBitmapXbgrQuads, scratch.data());
  Report("line8-triplets", 8, "linear.icc", "wide.icc", 3, 3, rgb, out);
  std::vector<uint8_t> quadsOut(quads.size());
  TranslateLine8(quads.data(), quadsOut.data(), n, 4, kBitmapXbgrQuads, nullptr);
  Report("line8-quads", 8, "linear.icc", "wide.icc", 4, 4, quads, quadsOut);
  gLightSourceFlag = 1;
  TranslateLine8(rgb.data(), out.data(), n, 3, kBitmapXbgrQuads, scratch.data());
  Report("line8-transparency", 8, "table18.icc", "wide.icc", 3, 3, rgb, out);
  gLightSourceFlag = 0;

  const ColorTransformHandle scanner = gColorProfileSet.transforms[kTransformReflective];
  std::vector<uint8_t> planes = ToPlanes(rgb, 3);
  TranslateImageBlock(scanner, planes.data(), planes.data(), n, 1, 0, 3 * n, 1, n);
  Report("block8-planar", 8, "linear.icc", "wide.icc", 3, 3, rgb, FromPlanes(planes, 3));
  TranslateImageBlock(scanner, quads.data(), quadsOut.data(), n, 1, 0, 4 * n, 4, 1);
  Report("block8-quads", 8, "linear.icc", "wide.icc", 4, 4, quads, quadsOut);

  planes = ToPlanes(rgb, 3);
  TranslateOutputLine(planes.data(), planes.data(), n, 0, 0, 0);
  Report("output8-rgb", 8, "wide.icc", "gamma22.icc", 3, 3, rgb, FromPlanes(planes, 3));

  if (!Rebuild("", "", "wide.icc", "printer_cmyk.icc")) return;
  planes = ToPlanes(rgb, 3);
  std::vector<uint8_t> inks(4 * n);
  TranslateOutputLine(planes.data(), inks.data(), n, 0, 1, 0);
  Report("output8-cmyk", 8, "wide.icc", "printer_cmyk.icc", 3, 4, rgb, FromPlanes(inks, 4));
  std::vector<uint8_t> back(rgb.size());
  const std::vector<uint8_t> cmyk = FromPlanes(inks, 4);
  TranslateOutputLine(cmyk.data(), back.data(), n, 1, 0, 1);
  Report("output8-reverse", 8, "printer_cmyk.icc", "wide.icc", 4, 3, cmyk, back);
}

void SixteenBit() {
  std::vector<uint16_t> rgb;
  for (uint8_t v : Colours()) rgb.push_back(static_cast<uint16_t>(v * 257 - (v > 128 ? 77 : 0)));
  const int32_t n = static_cast<int32_t>(rgb.size() / 3);

  if (!Rebuild("linear.icc", "", "wide.icc", "gamma22.icc")) return;
  std::vector<uint16_t> block = rgb;
  TranslateImageBlock(gColorProfileSet.transforms[kTransformReflective], block.data(), block.data(), n, 1, 1, 3 * n,
                      3, 1);
  Report("block16", 16, "linear.icc", "wide.icc", 3, 3, rgb, block);
  std::vector<uint16_t> planes = ToPlanes(rgb, 3);
  TranslateOutputLine16(planes.data(), planes.data(), n, 0);
  Report("output16-rgb", 16, "wide.icc", "gamma22.icc", 3, 3, rgb, FromPlanes(planes, 3));

  if (!Rebuild("", "", "wide.icc", "printer_cmyk.icc")) return;
  planes = ToPlanes(rgb, 3);
  std::vector<uint16_t> inks(4 * n);
  TranslateOutputLine16(planes.data(), inks.data(), n, 1);
  Report("output16-cmyk", 16, "wide.icc", "printer_cmyk.icc", 3, 4, rgb, FromPlanes(inks, 4));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  gFolder = argv[1];
  gOut = std::fopen(argv[2], "w");
  if (!gOut) return 2;
#ifndef _WIN32
  LcmsColorModule module;
#endif
  if (!ColorSystemLoad()) {
    std::fprintf(gOut, "module 0\n");
    std::fclose(gOut);
    return 0;
  }
  gIcmEnabled = 1;
  SetDefault<uint32_t>(gDefaults, kDefaultRenderingIntent, 0);
  if (std::strcmp(argv[3], "16") == 0)
    SixteenBit();
  else
    EightBit();
  gIcmEnabled = 1;
  DeleteColorTransforms();
  FreeOutputLineBuffer();
  gIcmEnabled = 0;
  ColorSystemUnload();
  std::fclose(gOut);
  return 0;
}
