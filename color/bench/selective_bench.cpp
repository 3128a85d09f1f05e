// The selective colour correction in the band producer over a whole image:
//   color_selective_bench FILE BITS
// scans the whole RGB image file at 100 % to BITS (8 or 16) per channel
// twice, bands to memory: once plain (the frame's matrix all zero) and once
// with the six-colour matrix of the film set on the frame, so that
// ApplySelectiveColor8/16 corrects every line of every band. Prints the
// megapixels per second of both scans and of the correction alone
// (the time the corrected scan takes beyond the plain one).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "color/selective_color.h"
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

// Seconds of one whole scan of the open image with the matrix (null: none).
double Scan(int bits, const int16_t* matrix) {
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
  frame.outputScaleX = frame.outputScaleY = 100.0f;
  frame.selectiveColorMode = 1;
  if (matrix) std::memcpy(frame.selectiveColorMatrix, matrix, sizeof frame.selectiveColorMatrix);
  gCurrentFrame = &frame;
  const auto start = std::chrono::steady_clock::now();
  if (!PrepareScan()) return -1;
  for (;;) {
    RunScan();
    if (!gSession->bandData.value) break;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ReportScannerStatus();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int bits = argc == 3 ? std::atoi(argv[2]) : 0;
  if (bits != 8 && bits != 16) {
    std::printf("usage: color_selective_bench FILE 8|16\n");
    return 2;
  }
  ScopedScriptedSystem system;
  SessionBlock session = {};
  gSession = &session;
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
  SetDefault(gDefaults, kDefaultColorCorrectionOn, uint8_t{1});
  if (!OpenImageDevice(argv[1])) {
    std::printf("cannot open %s\n", argv[1]);
    return 1;
  }
  const double megapixels = gDeviceLayer.imageWidth * static_cast<double>(gDeviceLayer.imageHeight) / 1e6;
  const double plain = Scan(bits, nullptr);
  const double corrected = Scan(bits, kDefaultSelectiveMatrix);
  if (plain <= 0 || corrected <= 0) {
    std::printf("the scan does not start\n");
    return 1;
  }
  std::printf("%.0f MP, %d bits: plain read %.1f MP/s (%.2f s), with selective colour %.1f MP/s (%.2f s), "
              "selective colour alone %.1f MP/s\n",
              megapixels, bits, megapixels / plain, plain, megapixels / corrected, corrected,
              corrected > plain ? megapixels / (corrected - plain) : 0.0);
  return 0;
}
