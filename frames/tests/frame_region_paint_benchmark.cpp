// Time of PaintFrameRegion over a whole 1200 x 900 preview of an RGB frame,
// with the preview lattice off (mode 0) and in use (mode 1, what a tool
// dialog's slider runs), and with the lattice off under a six-colour and a
// twelve-colour matrix. Prints milliseconds per render; not a test.
#include <chrono>
#include <cstdio>

#include "color/matrix12_presets.h"
#include "color/selective_color.h"
#include "frames/frame_region_paint.h"
#include "state/data_source_state.h"
#include "tone/tests/tone_fixture.h"

namespace {

double MsPerRender(GlobalDib shown, const DibHeader* base, const FrameRecord& frame, int runs) {
  const WinRect all{0, 0, GlobalDibWidth(shown), GlobalDibHeight(shown)};
  const auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < runs; ++run) {
    CopyGlobalDib(base, shown);
    PaintFrameRegion(shown, frame, all, RegionPaintOptions{0});
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
}

}  // namespace

int main() {
  ToneFixture fixture;
  fixture.frame.tone[1].contrast = 30;
  fixture.frame.tone[2].inputLow = 20;
  GlobalDib base = CreateGlobalDib(900, 1200, 32, true);
  GlobalDib shown = CreateGlobalDib(900, 1200, 32, true);
  if (!base || !shown) return 1;
  FillGlobalDibGradient(base, MakeColorRef(10, 60, 200), MakeColorRef(240, 180, 30), true);
  constexpr int kRuns = 20;
  gPreviewLatticeMode = 0;
  const double off = MsPerRender(shown, base, fixture.frame, kRuns);
  BuildPreviewLattice();
  gPreviewLatticeMode = 1;
  const double lattice = MsPerRender(shown, base, fixture.frame, kRuns);
  gPreviewLatticeMode = 0;
  SetDefault(gDefaults, kDefaultColorCorrectionOn, uint8_t{1});
  fixture.frame.selectiveColorMode = 1;
  for (int cell = 0; cell < 36; cell += 7) fixture.frame.selectiveColorMatrix[cell] = static_cast<int16_t>(cell - 15);
  const double sixColours = MsPerRender(shown, base, fixture.frame, kRuns);
  fixture.frame.selectiveColorMode = 2;
  for (int cell = 0; cell < 72; cell += 5) fixture.frame.colorMatrix12[cell] = static_cast<int16_t>(cell - 30);
  const double twelveColours = MsPerRender(shown, base, fixture.frame, kRuns);
  std::printf("PaintFrameRegion 1200 x 900 RGB: lattice off %.2f ms, lattice in use %.2f ms per render\n", off,
              lattice);
  std::printf("  lattice off with a six-colour matrix %.2f ms, with a twelve-colour matrix %.2f ms per render\n",
              sixColours, twelveColours);
  FreeSelectiveColorLuts();
  FreeColorMatrix12State();
  FreeGlobalDib(base);
  FreeGlobalDib(shown);
  FreeGlobalDib(gPreviewLattice);
  return 0;
}
