// One scan of an image file as a host takes it, bands written to memory:
//   session_scan_bench FILE PERCENT BITS fast|filtered [sum]
// scans the whole image at PERCENT of its size to BITS (8 or 16) per channel
// RGB with the default tone tables and prints "seconds peak-MB bands" on one
// line (the time of the scan itself, set-up and file open excluded), and with
// "sum" a hash of the bands' bytes after it, to compare the output of two
// builds. The script beside it runs this and the peers alternately on the same files.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "foundation/scripted_system.h"
#include "frames/frame_record_init.h"
#include "records/defaults_block.h"
#include "session/band_producer.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/resample.h"
#include "session/scan_session.h"
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

int Usage() {
  std::printf("usage: session_scan_bench FILE PERCENT BITS fast|filtered [sum]\n");
  return 2;
}

// FNV-1a over the band as the host takes it.
uint64_t HashBand(uint64_t hash, const SessionBlock& session) {
  const auto* bytes = static_cast<const uint8_t*>(session.bandData.value);
  const size_t size = static_cast<size_t>(static_cast<uint16_t>(session.bandBottom) - session.bandTop) *
                      static_cast<uint32_t>(session.rowBytes);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && (argc != 6 || std::strcmp(argv[5], "sum") != 0)) return Usage();
  const bool sum = argc == 6;
  const char* path = argv[1];
  const int percent = std::atoi(argv[2]);
  const int bits = std::atoi(argv[3]);
  const bool filtered = std::strcmp(argv[4], "filtered") == 0;
  if (percent < 1 || percent > 100 || (bits != 8 && bits != 16) || (!filtered && std::strcmp(argv[4], "fast") != 0))
    return Usage();

  ScopedScriptedSystem system;
  SessionBlock session = {};
  gSession = &session;
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
  if (!OpenImageDevice(path)) {
    std::printf("cannot open %s\n", path);
    return 1;
  }
  const uint32_t width = gDeviceLayer.imageWidth;
  const uint32_t height = gDeviceLayer.imageHeight;
  FrameRecord frame = {};
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = width / 72.0;
  inputs.scanAreaHeight = height / 72.0;
  InitFrameRecordWith(&frame, true, inputs);
  frame.bitsPerChannel = static_cast<uint16_t>(bits);
  frame.colorMode = 2;
  frame.filterMode = 0;
  frame.bitDepthChoice = 0;
  frame.originX = frame.originY = 0;
  frame.width = width / 72.0;
  frame.height = height / 72.0;
  frame.outputResolution = 72;
  // The scan's pixel size follows from the output resolution and scale.
  frame.outputScaleX = frame.outputScaleY = static_cast<float>(percent);
  gCurrentFrame = &frame;
  gFilteredResampling = filtered ? 1 : 0;

  const auto start = std::chrono::steady_clock::now();
  if (!PrepareScan()) {
    std::printf("the scan does not start\n");
    return 1;
  }
  int bands = 0;
  uint64_t hash = 14695981039346656037ull;
  for (;;) {
    RunScan();
    if (!session.bandData.value) break;
    ++bands;
    if (sum) hash = HashBand(hash, session);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ReportScannerStatus();
  std::printf("%.3f %.1f %d", seconds, PeakMegabytes(), bands);
  if (sum) std::printf(" %016llx", static_cast<unsigned long long>(hash));
  std::printf("\n");
  return 0;
}
