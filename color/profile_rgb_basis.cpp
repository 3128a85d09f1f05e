// The RGB basis of a profile: the monitor matching's gamma, primaries and
// white point when the internal RGB profile is chosen.
#include <vector>

#include "color/color_management.h"
#include "color/icc_profile_bytes.h"
#include "color/profile_files.h"

namespace {

constexpr uint32_t kXyzType = IccSignature("XYZ ");
constexpr size_t kXyzElementSize = 20;  // type, reserved, three s15Fixed16 numbers

double Fixed16(int32_t v) { return v / 65536.0; }

int32_t S32At(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                              static_cast<uint32_t>(p[2]) << 8 | p[3]);
}

// The XYZ numbers of an 'XYZ ' element; false when the tag is missing or not that type.
bool ReadXyzTag(ColorProfileHandle profile, uint32_t tag, double (&xyz)[3]) {
  std::vector<uint8_t> element;
  if (ReadProfileElement(profile, tag, &element) != 0) return false;
  if (element.size() < kXyzElementSize || static_cast<uint32_t>(S32At(element.data())) != kXyzType) return false;
  for (int i = 0; i < 3; ++i) xyz[i] = Fixed16(S32At(element.data() + 8 + 4 * i));
  return true;
}

// (x, y) of an XYZ colour; false for a black one, which has no chromaticity.
bool Chromaticity(const double (&xyz)[3], float* xy) {
  const double sum = xyz[0] + xyz[1] + xyz[2];
  if (sum == 0) return false;
  xy[0] = static_cast<float>(xyz[0] / sum);
  xy[1] = static_cast<float>(xyz[1] / sum);
  return true;
}

bool ReadBasis(ColorProfileHandle profile, RgbBasis* basis) {
  ColorProfileHeader header;
  if (CmsGetColorProfileHeader(profile, &header) != 0) return false;
  double illuminant[3];
  for (int i = 0; i < 3; ++i) illuminant[i] = Fixed16(header.illuminant[i]);
  // The colorants are scaled by white over illuminant: a header without an illuminant cannot scale them.
  if (illuminant[0] == 0 || illuminant[1] == 0 || illuminant[2] == 0) return false;

  ProfileGammaFromTrc(&basis->gamma, profile);
  double white[3] = {illuminant[0], illuminant[1], illuminant[2]};
  if (ReadXyzTag(profile, IccSignature("wtpt"), white)) Chromaticity(white, basis->white);
  const uint32_t colorants[3] = {IccSignature("rXYZ"), IccSignature("gXYZ"), IccSignature("bXYZ")};
  for (int c = 0; c < 3; ++c) {
    double xyz[3];
    if (!ReadXyzTag(profile, colorants[c], xyz)) continue;
    for (int i = 0; i < 3; ++i) xyz[i] *= white[i] / illuminant[i];
    Chromaticity(xyz, basis->primaries + 2 * c);
  }
  return true;
}

}  // namespace

bool ReadProfileRgbBasis(const char* path, RgbBasis* basis) {
  ColorProfileHandle profile = nullptr;
  const ColorProfileLocation location = FileProfileLocation(path);
  if (CmsOpenColorProfile(&profile, &location, 0) != 0) return false;
  const bool read = ReadBasis(profile, basis);
  CmsCloseColorProfile(profile);
  return read;
}
