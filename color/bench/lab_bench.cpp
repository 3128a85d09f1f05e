// Throughput of the L*a*b* row kernels on a generated 6000 x 4000 image beside
// lcms2 (cmsDoTransform from an RGB profile of the same basis to Lab, 8 and
// 16 bits, on the same pixels in its interleaved form), one run each, in
// megapixels per second. Build it without sanitizers (a Release configuration)
// to get meaningful figures.
#include <lcms2.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "color/lab_rows.h"
#include "state/data_source_state.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kRows = 4000;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kRows;
constexpr double kMegapixels = kPixels / 1e6;
constexpr double kGamma = 1.8;
// Primaries of set 3 and D65: the data source's standard basis.
constexpr float kBasis[8] = {0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f, 0.3127f, 0.3290f};

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Planar 16-bit RGB rows: smooth ramps with fine texture, like a photograph.
std::vector<uint16_t> MakeImage() {
  std::vector<uint16_t> image(kPixels * 3);
  uint32_t seed = 1;
  for (int32_t y = 0; y < kRows; ++y)
    for (int32_t p = 0; p < 3; ++p)
      for (int32_t x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t ramp = (static_cast<uint32_t>(x) * 65535u / kWidth + y * 7u * (p + 1)) & 0xFFFF;
        image[(static_cast<size_t>(y) * 3 + p) * kWidth + x] = static_cast<uint16_t>(ramp ^ ((seed >> 16) & 0x3FF));
      }
  return image;
}

template <typename Sample>
std::vector<Sample> Interleave(const std::vector<Sample>& planar) {
  std::vector<Sample> out(planar.size());
  for (int32_t y = 0; y < kRows; ++y)
    for (int32_t p = 0; p < 3; ++p)
      for (int32_t x = 0; x < kWidth; ++x)
        out[(static_cast<size_t>(y) * kWidth + x) * 3 + p] = planar[(static_cast<size_t>(y) * 3 + p) * kWidth + x];
  return out;
}

cmsHPROFILE MakeRgbProfile() {
  const cmsCIExyY white = {kBasis[6], kBasis[7], 1.0};
  const cmsCIExyYTRIPLE primaries = {{kBasis[0], kBasis[1], 1.0}, {kBasis[2], kBasis[3], 1.0},
                                     {kBasis[4], kBasis[5], 1.0}};
  cmsToneCurve* curve = cmsBuildGamma(nullptr, kGamma);
  cmsToneCurve* curves[3] = {curve, curve, curve};
  cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsFreeToneCurve(curve);
  return profile;
}

// Megapixels per second of one lcms2 transform over the whole image.
template <typename Sample>
double LcmsRate(const std::vector<Sample>& interleaved, cmsUInt32Number inFormat, cmsUInt32Number outFormat) {
  cmsHPROFILE rgb = MakeRgbProfile();
  const cmsCIExyY white = {kBasis[6], kBasis[7], 1.0};
  cmsHPROFILE lab = cmsCreateLab4Profile(&white);
  cmsHTRANSFORM transform = cmsCreateTransform(rgb, inFormat, lab, outFormat, INTENT_PERCEPTUAL, 0);
  std::vector<Sample> out(interleaved.size());
  const Clock::time_point start = Clock::now();
  for (int32_t y = 0; y < kRows; ++y) {
    const size_t at = static_cast<size_t>(y) * kWidth * 3;
    cmsDoTransform(transform, interleaved.data() + at, out.data() + at, kWidth);
  }
  const double seconds = SecondsSince(start);
  cmsDeleteTransform(transform);
  cmsCloseProfile(lab);
  cmsCloseProfile(rgb);
  return kMegapixels / seconds;
}

}  // namespace

int main() {
  std::memcpy(DefaultsBytes(gDefaults, kDefaultPrimaries), kBasis, 24);
  std::memcpy(DefaultsBytes(gDefaults, kDefaultWhitePoint), kBasis + 6, 8);
  const std::vector<uint16_t> image16 = MakeImage();
  std::vector<uint8_t> image8(image16.size());
  for (size_t i = 0; i < image16.size(); ++i) image8[i] = static_cast<uint8_t>(image16[i] >> 8);

  BuildLabTables(kGamma);
  std::vector<uint8_t> lab8(image8);
  Clock::time_point start = Clock::now();
  ConvertRgb8ToLab8(lab8.data(), kRows, kWidth, false);
  const double ours8 = kMegapixels / SecondsSince(start);

  std::vector<uint16_t> lab16(image16.size());
  start = Clock::now();
  for (int32_t y = 0; y < kRows; ++y) {
    const size_t at = static_cast<size_t>(y) * kWidth * 3;
    ConvertRgb16ToLab16(image16.data() + at, lab16.data() + at, kWidth, 1, kWidth, 1, kWidth, false);
  }
  const double ours16 = kMegapixels / SecondsSince(start);
  FreeLabTables();

  const double lcms8 = LcmsRate(Interleave(image8), TYPE_RGB_8, TYPE_Lab_8);
  const double lcms16 = LcmsRate(Interleave(image16), TYPE_RGB_16, TYPE_Lab_16);
  std::printf("RGB to Lab, %d x %d pixels, one run each, MP/s\n", kWidth, kRows);
  std::printf("  8 bits:  ConvertRgb8ToLab8 %8.1f   lcms2 %8.1f   ratio %.2f\n", ours8, lcms8, ours8 / lcms8);
  std::printf("  16 bits: ConvertRgb16ToLab16 %6.1f   lcms2 %8.1f   ratio %.2f\n", ours16, lcms16, ours16 / lcms16);
  return 0;
}
