// Peak memory of a scan: a 10000 x 10000 48-bit TIFF (written beside the
// program, about 600 MB) scanned band by band as a host pulls it. Prints the
// process's peak memory before and after the scan, the bands and the time.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr uint32_t kSize = 10000;

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

// An uncompressed RGB image of 16-bit samples, one strip a row.
bool WriteImage(const std::string& path) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const uint32_t rowBytes = kSize * 6;
  const uint32_t tagCount = 11;
  const uint32_t ifdSize = 2 + tagCount * 12 + 4;
  const uint32_t bitsAt = 8 + ifdSize;
  const uint32_t offsetsAt = bitsAt + 6;
  const uint32_t countsAt = offsetsAt + 4 * kSize;
  const uint32_t dataAt = countsAt + 4 * kSize;
  std::vector<uint8_t> head;
  auto u16 = [&head](uint32_t v) { head.push_back(v & 0xFF); head.push_back((v >> 8) & 0xFF); };
  auto u32 = [&u16](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  head = {'I', 'I', 42, 0};
  u32(8);
  u16(tagCount);
  const uint32_t tags[][4] = {{256, 4, 1, kSize},      {257, 4, 1, kSize},        {258, 3, 3, bitsAt},
                              {259, 3, 1, 1},          {262, 3, 1, 2},            {273, 4, kSize, offsetsAt},
                              {277, 3, 1, 3},          {278, 4, 1, 1},            {279, 4, kSize, countsAt},
                              {284, 3, 1, 1},          {296, 3, 1, 1}};
  for (const auto& tag : tags) {
    u16(tag[0]);
    u16(tag[1]);
    u32(tag[2]);
    if (tag[1] == 3 && tag[2] == 1) {
      u16(tag[3]);
      u16(0);
    } else {
      u32(tag[3]);
    }
  }
  u32(0);
  u16(16), u16(16), u16(16);
  for (uint32_t y = 0; y < kSize; ++y) u32(dataAt + y * rowBytes);
  for (uint32_t y = 0; y < kSize; ++y) u32(rowBytes);
  std::fwrite(head.data(), 1, head.size(), out);
  std::vector<uint16_t> row(kSize * 3);
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint16_t>(i * 7 + y * 13);
    std::fwrite(row.data(), 2, row.size(), out);
  }
  std::fclose(out);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "scan_memory_bench.tif";
  if (!WriteImage(path)) {
    std::printf("cannot write %s\n", path.c_str());
    return 1;
  }
  ScopedScriptedSystem system;
  SessionBlock session = {};
  gSession = &session;
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
  if (!OpenImageDevice(path.c_str())) {
    std::printf("cannot open %s\n", path.c_str());
    return 1;
  }
  FrameRecord frame = {};
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = inputs.scanAreaHeight = kSize / 72.0;
  InitFrameRecordWith(&frame, true, inputs);
  frame.bitsPerChannel = 16;
  frame.colorMode = 2;
  frame.filterMode = 0;
  frame.bitDepthChoice = 0;
  frame.originX = frame.originY = 0;
  frame.width = frame.height = kSize / 72.0;
  frame.outputResolution = 72;
  frame.scanPixelWidth = frame.scanPixelHeight = static_cast<uint16_t>(kSize);
  gCurrentFrame = &frame;

  const double before = PeakMegabytes();
  const auto start = std::chrono::steady_clock::now();
  if (!PrepareScan()) {
    std::printf("the scan does not start\n");
    return 1;
  }
  int bands = 0;
  uint64_t bytes = 0;
  for (;;) {
    RunScan();
    if (!session.bandData.value) break;
    ++bands;
    bytes += static_cast<uint64_t>(static_cast<uint16_t>(session.bandBottom) - session.bandTop) * session.rowBytes;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ReportScannerStatus();
  std::printf("10000 x 10000 48-bit scan: %d bands, %.1f MB handed over in %.2f s\n", bands, bytes / 1048576.0,
              seconds);
  std::printf("peak memory: %.1f MB before the scan, %.1f MB after it\n", before, PeakMegabytes());
  std::remove(path.c_str());
  return 0;
}
