#include "ui/monitor_matching.h"

#include <cstring>
#include <string>

#include "color/color_management.h"
#include "color/profile_files.h"
#include "state/module_state.h"

namespace {

constexpr RgbBasis kStandardBasis = {1.8f, {0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f}, {0.3127f, 0.3290f}};
constexpr DefaultsArea kBasisArea{1476, sizeof(RgbBasis)};
static_assert(kBasisArea.offset == kDefaultDisplayGamma.offset && kBasisArea.offset + 4 == kDefaultPrimaries.offset &&
                  kDefaultWhitePoint.offset + kDefaultWhitePoint.size == kBasisArea.offset + kBasisArea.size,
              "the basis lies over gamma, primaries and white point");

struct CachedMonitorTransform {
  ColorTransformHandle transform = nullptr;
  std::string profilePath;
};
CachedMonitorTransform gMonitorTransform;

// A 16.16 value of the host, rounded to four decimals.
float HostValue(int32_t v) { return static_cast<float>((int64_t{v} * 10000 + 32767) / 65536 * 0.0001); }

}  // namespace

int SetupMonitorMatching(DefaultsBlock& block) {
  RgbBasis basis = kStandardBasis;
  const SessionColourBasis* host = gSession ? &gSession->colourBasis : nullptr;
  if (host && host->gamma != 0) {
    basis.gamma = HostValue(host->gamma);
    for (int i = 0; i < 6; ++i) basis.primaries[i] = HostValue(host->primaries[i]);
    for (int i = 0; i < 2; ++i) basis.white[i] = HostValue(host->white[i]);
  }
  std::memcpy(DefaultsBytes(block, kBasisArea), &basis, sizeof basis);
  const char* profile = InternalProfilePath();
  if (!gIcmEnabled || profile[0] == '\0') return 1;
  // A failed read leaves the block as the first two steps made it.
  if (!ReadProfileRgbBasis(profile, &basis)) return 0;
  std::memcpy(DefaultsBytes(block, kBasisArea), &basis, sizeof basis);
  return 1;
}

ColorTransformHandle MonitorTransform(void* window) {
  const char* internal = InternalProfilePath();
  if (gMonitorTransform.transform && gMonitorTransform.profilePath == internal) return gMonitorTransform.transform;
  FreeMonitorTransform();
  ColorProfileHandle source = nullptr, monitor = nullptr;
  const ColorProfileLocation location = FileProfileLocation(internal);
  if (CmsOpenColorProfile(&source, &location, 0) == 0 && OpenMonitorProfile(window, &monitor) == 0 &&
      CmsCreateMultiProfileTransform(&gMonitorTransform.transform, source, monitor, 0) == 0) {
    gMonitorTransform.profilePath = internal;
  } else {
    gMonitorTransform.transform = nullptr;
  }
  if (source) CmsCloseColorProfile(source);
  if (monitor) CmsCloseColorProfile(monitor);
  return gMonitorTransform.transform;
}

void FreeMonitorTransform() {
  if (gMonitorTransform.transform) CmsDeleteColorTransform(gMonitorTransform.transform);
  gMonitorTransform = CachedMonitorTransform{};
}
