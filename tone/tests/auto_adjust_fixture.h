// Generated previews for the histogram and adjustment tests: an image made of
// runs of colours, shown whole as both previews, with the main window's
// services answered from it and counted.
#pragma once

#include <cstring>
#include <vector>

#include "foundation/global_dib.h"
#include "foundation/scripted_system.h"
#include "tone/tests/tone_fixture.h"
#include "tone/tone_window_hooks.h"

struct PixelRun {
  int count;
  uint8_t r, g, b;
};

inline PixelRun Grey(int count, uint8_t level) { return PixelRun{count, level, level, level}; }

// What the window's services were asked.
struct WindowCalls {
  int gapFills;
  int redraws;
  int refreshes;
};

struct AutoAdjustFixture : ToneFixture {
  static inline GlobalDib image = nullptr;
  static inline bool havePreview = true;
  static inline bool live = false;
  static inline AutoAdjustSettings settings = {};
  static inline WindowCalls calls = {};
  ScopedScriptedSystem system;

  explicit AutoAdjustFixture(uint32_t colorMode = kColorModeRgb) : ToneFixture(colorMode) {
    havePreview = true;
    live = false;
    settings = AutoAdjustSettings{};
    calls = WindowCalls{};
    ToneWindowHooks hooks;
    hooks.previewImage = [](bool) -> const DibHeader* { return havePreview ? image : nullptr; };
    hooks.previewClientRect = [](bool) { return WinRect{0, 0, GlobalDibWidth(image), GlobalDibHeight(image)}; };
    hooks.frameToPreviewRect = [](const FrameRecord&, const WinRect& area) { return area; };
    hooks.fillHistogramGaps = [](uint32_t*, int) { ++calls.gapFills; };
    hooks.sampleFramePreview = [](uint8_t rgb[3], int low, int high, bool) {
      return AverageColorInGreyRange(rgb, image, false, low, high,
                                     WinRect{0, 0, GlobalDibWidth(image), GlobalDibHeight(image)});
    };
    hooks.autoAdjustSettings = [] { return settings; };
    hooks.livePreview = [] { return live; };
    hooks.redrawFrames = [] { ++calls.redraws; };
    hooks.refreshFramePreview = [](bool) { ++calls.refreshes; };
    InstallToneWindowHooks(hooks);
  }
  ~AutoAdjustFixture() {
    InstallToneWindowHooks(ToneWindowHooks{});
    FreeGlobalDib(image);
    image = nullptr;
  }

  // The runs fill a width-wide image row by row; the last row is padded with
  // nothing, so the total is a multiple of the width.
  void SetPreview(const std::vector<PixelRun>& runs, int width = 100) {
    int total = 0;
    for (const PixelRun& run : runs) total += run.count;
    FreeGlobalDib(image);
    image = CreateGlobalDib(total / width, width, 24, true);
    uint8_t* bits = GlobalDibBits(image);
    const uint32_t stride = GlobalDibStride(image);
    int i = 0;
    for (const PixelRun& run : runs) {
      for (int k = 0; k < run.count; ++k, ++i) {
        uint8_t* p = bits + (i / width) * stride + (i % width) * 3;
        p[0] = run.b;
        p[1] = run.g;
        p[2] = run.r;
      }
    }
  }
};
