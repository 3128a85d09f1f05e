// A 10000 x 10000 48-bit frame through the writers' band pipeline into the
// raw test writer: once in frame order and once turned by a quarter (first
// pass and column-block second pass). Prints the time and the process's peak
// memory of each. run_writer_bench.sh makes the image and measures vips on it.
// With "tiff" as third argument the frame is unsharp-masked into a TIFF file
// by the TIFF writer instead (run_tiff_bench.sh).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "frames/frame_record_init.h"
#include "output/output_hooks_install.h"
#include "output/output_names.h"
#include "output/tests/raw_test_writer.h"
#include "output/tiff_file_writer.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/device_state.h"
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

FrameRecord WholeImageFrame(uint32_t width, uint32_t height, uint16_t turns) {
  FrameRecord frame = {};
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = width / 72.0;
  inputs.scanAreaHeight = height / 72.0;
  InitFrameRecordWith(&frame, true, inputs);
  frame.bitsPerChannel = 16;
  frame.colorMode = 2;
  frame.filterMode = 0;
  frame.bitDepthChoice = 0;
  frame.originX = frame.originY = 0;
  frame.width = width / 72.0;
  frame.height = height / 72.0;
  frame.outputResolution = 72;
  frame.scanPixelWidth = static_cast<uint16_t>(width);
  frame.scanPixelHeight = static_cast<uint16_t>(height);
  frame.quarterTurns = turns;
  return frame;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The frame unsharp-masked into folder/tiff_bench.tif.
int RunTiff(uint32_t width, uint32_t height, const std::string& folder) {
  gAppStore = OpenOrCreateFile("tiff_bench.prf", folder.c_str());
  const std::string output = folder + "tiff_bench.tif";
  if (!gAppStore || !SaveOutputPath(output.c_str())) {
    std::printf("cannot store the output path in %s\n", folder.c_str());
    return 1;
  }
  FrameRecord frame = WholeImageFrame(width, height, 0);
  frame.filterMode = 1;  // unsharp masking
  gCurrentFrame = &frame;
  const auto start = std::chrono::steady_clock::now();
  bool failed;
  {
    TiffFileWriter writer;
    failed = writer.Run(1, 1, nullptr);
  }
  const double seconds = SecondsSince(start);
  std::printf("tiff: %u x %u 48-bit frame unsharp-masked %s in %.2f s, peak memory %.1f MB\n", width, height,
              failed ? "FAILED" : "written", seconds, PeakMegabytes());
  gCurrentFrame = nullptr;
  CloseFile(gAppStore);
  gAppStore = nullptr;
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: writer_bench image.tif output-folder [tiff]\n");
    return 2;
  }
  const std::string image = argv[1];
  const std::string folder = argv[2];
  ScopedScriptedSystem system;
  SessionBlock session = {};
  gSession = &session;
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
  InstallOutputSessionHooks();
  if (!OpenImageDevice(image.c_str())) {
    std::printf("cannot open %s\n", image.c_str());
    return 1;
  }
  const uint32_t width = gDeviceLayer.openedInfo.width, height = gDeviceLayer.openedInfo.height;
  if (argc > 3 && std::string(argv[3]) == "tiff") return RunTiff(width, height, folder);
  for (uint16_t turns : {uint16_t{0}, uint16_t{1}}) {
    FrameRecord frame = WholeImageFrame(width, height, turns);
    gCurrentFrame = &frame;
    const std::string output = folder + (turns ? "writer_bench_turned.raw" : "writer_bench_plain.raw");
    const auto start = std::chrono::steady_clock::now();
    bool failed;
    size_t writes;
    {
      RawTestWriter writer(output, folder + "writer_bench_first.raw");
      failed = writer.Run(1, 1, nullptr);
      writes = writer.processedRows.size();
    }
    const double seconds = SecondsSince(start);
    std::remove(output.c_str());
    std::printf("%s: %u x %u 48-bit frame %s (%zu band writes) in %.2f s, peak memory %.1f MB\n",
                turns ? "turned" : "plain", width, height, failed ? "FAILED" : "written", writes, seconds,
                PeakMegabytes());
    if (failed) return 1;
  }
  gCurrentFrame = nullptr;
  return 0;
}
