#include "color/selective_color.h"

#include <algorithm>
#include <cstring>

#include "color/color_calibration.h"
#include "color/mask_region.h"
#include "foundation/round.h"

SelectiveColorLutSet gSelectiveFrameSet;
SelectiveColorLutSet gSelectiveFilmSet;
SixColourPageState gSixColourPage;

namespace {
bool gFilmSetWanted = false;
}  // namespace

const int16_t kDefaultSelectiveMatrix[kSelectiveCells] = {
    -19, 0,   0,   26,  0,   0,    // red
    0,   -11, 0,   0,   22,  0,    // green
    0,   0,   -11, 0,   0,   22,   // blue
    11,  0,   0,   -22, 0,   0,    // cyan
    0,   11,  0,   0,   -22, 0,    // magenta
    0,   0,   11,  0,   0,   -22,  // yellow
};

namespace {

// The inks (C, M, Y) a target colour adds to: red is magenta and yellow, ...
constexpr bool kTargetInks[kSelectiveColors][3] = {{false, true, true}, {true, false, true}, {true, true, false},
                                                   {true, false, false}, {false, true, false}, {false, false, true}};

// Past about 12800 % the tables and the 8-bit sums would leave the i16 range;
// they stay at its limits instead of wrapping round to the opposite correction.
int32_t SaturateI16(int32_t v) { return std::clamp<int32_t>(v, INT16_MIN, INT16_MAX); }

// One pixel's inks through the entries; delta(entry, a) is the entry's
// adjustment for a positive amount a, add(sum, d) the path's addition. Every
// amount is measured once from the unchanged inks.
template <typename Delta, typename Add>
void CorrectInks(const SelectiveColorLut* entries, uint16_t entryCount, int32_t ink[3], Delta delta, Add add) {
  const int32_t c = ink[0], m = ink[1], y = ink[2];
  const int32_t amounts[kSelectiveColors] = {std::min(m, y) - c,  std::min(c, y) - m,  std::min(c, m) - y,
                                             c - std::max(m, y), m - std::max(c, y), y - std::max(c, m)};
  for (uint16_t e = 0; e < entryCount; ++e) {
    const SelectiveColorLut& entry = entries[e];
    if (entry.source >= kSelectiveColors || entry.target >= kSelectiveColors) continue;
    const int32_t a = amounts[entry.source];
    if (a <= 0) continue;
    const int32_t d = delta(entry, a);
    for (int i = 0; i < 3; ++i)
      if (kTargetInks[entry.target][i]) ink[i] = add(ink[i], d);
  }
}

template <typename Sample, typename Offset, typename Delta, typename Add>
void ApplyLine(const Sample* in, Sample* out, const SelectiveColorLut* entries, uint16_t entryCount,
               uint16_t pixelCount, uint16_t pixelStep, Offset channelOffset, uint16_t x0, uint16_t y,
               const SelectiveColorLutSet* maskSet, int32_t maximum, Delta delta, Add add) {
  const MaskRegion* region = maskSet ? maskSet->maskRegion : nullptr;
  const ptrdiff_t step = pixelStep, offset = channelOffset;
  for (int32_t k = 0; k < pixelCount; ++k) {
    const Sample* p = in + k * step;
    Sample* q = out + k * step;
    const Sample r = p[0], g = p[offset], b = p[2 * offset];
    if (region && !MaskRegionContains(region, x0 + k, y)) {
      q[0] = r;
      q[offset] = g;
      q[2 * offset] = b;
      continue;
    }
    int32_t ink[3] = {maximum - r, maximum - g, maximum - b};
    CorrectInks(entries, entryCount, ink, delta, add);
    q[0] = static_cast<Sample>(maximum - std::clamp(ink[0], 0, maximum));
    q[offset] = static_cast<Sample>(maximum - std::clamp(ink[1], 0, maximum));
    q[2 * offset] = static_cast<Sample>(maximum - std::clamp(ink[2], 0, maximum));
  }
}

void ReleaseBlock(SelectiveColorLutSet* set) {
  if (set->entries) DisposeMemHandle(set->entries);
  set->entries = nullptr;
}

}  // namespace

const SelectiveColorLut* SelectiveColorEntries(const SelectiveColorLutSet& set) {
  return set.entries ? reinterpret_cast<const SelectiveColorLut*>(set.entries->data) : nullptr;
}

int32_t BuildSelectiveColorLuts(const int16_t matrix[kSelectiveCells], SelectiveColorLutSet* set,
                                const char* maskName, const WinRect* frameRect, uint8_t toPreview) {
  if (!set->entries) {
    set->entries = NewMemHandle(kSelectiveCells * sizeof(SelectiveColorLut));
    if (!set->entries) return -108;
    std::memset(set->entries->data, 0, kSelectiveCells * sizeof(SelectiveColorLut));
  }
  SelectiveColorLut* entries = reinterpret_cast<SelectiveColorLut*>(set->entries->data);
  uint16_t count = 0;
  for (uint32_t source = 0; source < kSelectiveColors; ++source)
    for (uint32_t target = 0; target < kSelectiveColors; ++target) {
      const int16_t percent = matrix[source * kSelectiveColors + target];
      if (percent == 0) continue;
      SelectiveColorLut& entry = entries[count++];
      const double factor = percent * 0.01;
      entry.source = source;
      entry.target = target;
      entry.gain = static_cast<float>(factor);
      for (int i = 0; i < 256; ++i)
        entry.table[i] = static_cast<uint16_t>(static_cast<int16_t>(SaturateI16(TruncRound(i * factor))));
    }
  set->entryCount = count;
  ClearRegionSlot(&set->maskRegion, 0);
  if (count > 0 && maskName && frameRect)
    return BuildMaskRegionForRect(&set->maskRegion, maskName, *frameRect, toPreview);
  return 0;
}

void ApplySelectiveColor8(const uint8_t* in, uint8_t* out, const SelectiveColorLut* entries, uint16_t entryCount,
                          uint16_t pixelCount, uint16_t pixelStep, int16_t channelOffset, uint16_t x0, uint16_t y,
                          const SelectiveColorLutSet* maskSet) {
  // Table values and sums are i16; the sums saturate rather than wrap.
  const auto delta = [](const SelectiveColorLut& entry, int32_t a) {
    return static_cast<int32_t>(static_cast<int16_t>(entry.table[a]));
  };
  const auto add = [](int32_t sum, int32_t d) { return SaturateI16(sum + d); };
  ApplyLine(in, out, entries, entryCount, pixelCount, pixelStep, channelOffset, x0, y, maskSet, 255, delta, add);
}

void ApplySelectiveColor16(const uint16_t* in, uint16_t* out, const SelectiveColorLut* entries, uint16_t entryCount,
                           uint16_t pixelCount, uint16_t pixelStep, uint16_t channelOffset, uint16_t x0, uint16_t y,
                           const SelectiveColorLutSet* maskSet) {
  // The gain on the exact 16-bit amount; 36 cells of +-327.67 x 65535 stay far inside i32.
  const auto delta = [](const SelectiveColorLut& entry, int32_t a) {
    return TruncRound(a * static_cast<double>(entry.gain));
  };
  const auto add = [](int32_t sum, int32_t d) { return sum + d; };
  ApplyLine(in, out, entries, entryCount, pixelCount, pixelStep, channelOffset, x0, y, maskSet, 65535, delta, add);
}

void ResetSelectiveColor() {
  ClearRegionSlot(&gSelectiveFrameSet.maskRegion, 0);
  ReleaseBlock(&gSelectiveFrameSet);
  gSelectiveFrameSet.entryCount = 0;
  gSixColourPage = SixColourPageState{50, 0 /* red */, {1, 0, 0, 0, 0, 0}, 0, nullptr};
  gFilmSetWanted = true;
  ResetColorCalibration();
}

const SelectiveColorLutSet& FilmSelectiveSet() {
  if (gFilmSetWanted && BuildSelectiveColorLuts(kDefaultSelectiveMatrix, &gSelectiveFilmSet, nullptr, nullptr, 0) == 0)
    gFilmSetWanted = false;
  return gSelectiveFilmSet;
}

void FreeSelectiveColorLuts() {
  gFilmSetWanted = false;
  ClearRegionSlot(&gSelectiveFrameSet.maskRegion, 0);
  ReleaseBlock(&gSelectiveFrameSet);
  ReleaseBlock(&gSelectiveFilmSet);
  gSelectiveFrameSet.entryCount = 0;
  gSelectiveFilmSet.entryCount = 0;
  FreeColorCalibration();
}
