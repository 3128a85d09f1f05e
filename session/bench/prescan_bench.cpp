// One prescan of an image file into a preview as the main window makes it:
//   session_prescan_bench FILE SIDE FACTOR [store16]
// prescans the whole image into a preview whose longer side is SIDE pixels,
// with the oversampling FACTOR (1 to 3) and, with "store16", the 16-bit
// prescan store, and prints "seconds peak-MB" on one line (the prescan
// itself; opening the image excluded). prescan_bench.py runs it beside the peers.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "foundation/scripted_system.h"
#include "records/defaults_block.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/prescan.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

double PeakMegabytes() {
#if defined(_WIN32)
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1048576.0;
#else
  rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
#endif
}

// A preview control of a fixed size that nobody stops and nothing is drawn into.
class BenchView : public PrescanView {
 public:
  BenchView(int32_t width, int32_t height) : width_(width), height_(height) {}
  void PreviewSize(int32_t* width, int32_t* height) override {
    *width = width_;
    *height = height_;
  }
  bool StopRequested() override { return false; }
  void DrawRows(int32_t, int32_t) override {}
  void ShowPrescanRunning(bool) override {}

 private:
  int32_t width_, height_;
};

int Usage() {
  std::printf("usage: session_prescan_bench FILE SIDE FACTOR [store16]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && (argc != 5 || std::strcmp(argv[4], "store16") != 0)) return Usage();
  const int side = std::atoi(argv[2]);
  const int factor = std::atoi(argv[3]);
  if (side < 10 || factor < 1 || factor > 3) return Usage();

  ScopedScriptedSystem system;
  // The settings folder (with the prescan file that a factor above 1 needs) beside the image.
  const std::string image = argv[1];
  const size_t slash = image.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : image.substr(0, slash + 1);
  system->modulePath = folder + "QB ZIR.ds";
  system->strings = {{300, "Quillbrook"}};
  SessionBlock session = {};
  gSession = &session;
  // Opened as the user's current image, so that the preview files are named after it.
  gAppStore = OpenOrCreateFile("QBApp (RazoZUR).prf", folder.c_str());
  std::snprintf(gImagePath, sizeof gImagePath, "%s", argv[1]);
  DeviceEntry current = {};
  current.index = kCurrentImageIndex;
  if (!gAppStore || !OpenSourceDevice(current) || !LoadImageGeometry()) {
    std::printf("cannot open %s\n", argv[1]);
    return 1;
  }
  ResetDeviceStatus();
  ComputeScanAreaInches();
  const bool wide = gScanAreaInches.width >= gScanAreaInches.height;
  const int32_t width = wide ? side : static_cast<int32_t>(side * gScanAreaInches.width / gScanAreaInches.height);
  const int32_t height = wide ? static_cast<int32_t>(side * gScanAreaInches.height / gScanAreaInches.width) : side;
  // The layout's part: the preview pass over the whole scan area at the control's size.
  FrameRecord& pass = gDataSourceState.frameStateArea.scratchFrame;
  pass = FrameRecord{};
  pass.bitsPerChannel = 8;
  pass.width = gScanAreaInches.width;
  pass.height = gScanAreaInches.height;
  SetupPrescanFrame(&pass, width, height);
  SetDefault(gDefaults, kDefaultPrescanFactor, static_cast<uint32_t>(factor));
  gHighBitPreview = argc == 5;

  BenchView view(width, height);
  const auto start = std::chrono::steady_clock::now();
  const int16_t result = RunPrescan(view, false);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (result != 0) {
    std::printf("the prescan failed (%d)\n", gDeviceErrorWord);
    return 1;
  }
  std::printf("%.3f %.1f\n", seconds, PeakMegabytes());
  FreePreviewBuffers();
  CloseImageDevice();
  CloseFile(gAppStore);
  return 0;
}
