// Throughput of the output filters on a generated 6000 x 4000 48-bit image:
// the unsharp mask in 10-row bands for each matrix, and the descreening
// resampler at a typical ratio. In the same run the peers sharpen the same
// image as an uncompressed TIFF: `vips sharpen` and ImageMagick's
// `convert -unsharp 0x1`, each less the tool's plain copy of the file.
// Prints megapixels per second and our ratio to each peer. Build it without
// sanitizers (a Release configuration) to get meaningful figures.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/memory.h"
#include "records/frame_record.h"
#include "records/session_block.h"
#include "sharpen/band_filters.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kRows = 4000;
constexpr int32_t kBandRows = 10;
constexpr double kMegapixels = kWidth * static_cast<double>(kRows) / 1e6;

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Planar 16-bit RGB rows: smooth ramps with fine texture, like a scanned photograph.
std::vector<uint16_t> MakeImage() {
  std::vector<uint16_t> image(static_cast<size_t>(kRows) * 3 * kWidth);
  uint32_t seed = 1;
  for (int32_t y = 0; y < kRows; ++y)
    for (int32_t p = 0; p < 3; ++p)
      for (int32_t x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t ramp = (static_cast<uint32_t>(x) * 7 + static_cast<uint32_t>(y) * 11 + p * 5000) % 60000;
        image[(static_cast<size_t>(y) * 3 + p) * kWidth + x] = static_cast<uint16_t>(ramp + (seed >> 20));
      }
  return image;
}

double TimeSharpen(const std::vector<uint16_t>& image, uint8_t matrix) {
  static SessionBlock session;
  session.columns = static_cast<int16_t>(kWidth);
  gSession = &session;
  FrameRecord& frame = gScanFrame;
  frame = FrameRecord{};
  frame.colorMode = 2;
  frame.bitsPerChannel = 16;
  frame.filterMode = 1;
  frame.sharpen941 = 10;
  frame.sharpen942 = 50;
  frame.sharpen944 = 100;
  frame.sharpen1488 = frame.sharpen1490 = 50;
  frame.sharpenFlag = matrix;
  const int32_t m = matrix + 1;
  const uint32_t rowBytes = 3 * kWidth * 2;
  ScanBandState& band = gBand;
  band = ScanBandState{};
  band.filterCopyBuffer = NewMemHandle((kBandRows + 2 * m) * rowBytes);
  band.filterCarryBlock = AllocBlock(2 * m * rowBytes);
  band.firstBand = 1;
  std::vector<uint8_t> buffer((kBandRows + 2 * m) * rowBytes);
  std::vector<uint8_t> out(static_cast<size_t>(kRows) * rowBytes);
  const uint8_t* source = reinterpret_cast<const uint8_t*>(image.data());
  size_t written = 0;
  const auto start = Clock::now();
  for (int32_t first = 0; first < kRows; first += kBandRows) {
    const int32_t rows = std::min(kBandRows, kRows - first);
    std::copy_n(source + static_cast<size_t>(first) * rowBytes, rows * rowBytes, buffer.data());
    band.passByte = first + rows >= kRows;
    const int16_t done = SharpenBandA(buffer.data(), m, rowBytes, rows);
    std::copy_n(buffer.data(), done * rowBytes, out.data() + written);
    written += static_cast<size_t>(done) * rowBytes;
  }
  const double seconds = SecondsSince(start);
  DisposeMemHandle(band.filterCopyBuffer);
  FreeBlock(band.filterCarryBlock);
  band = ScanBandState{};
  if (written != out.size()) std::printf("  (only %zu of %zu bytes came out)\n", written, out.size());
  return seconds;
}

const std::vector<uint16_t>* gSource = nullptr;

uint8_t ReadRows(bool, uint8_t* destination, uint32_t firstRow, uint32_t count, uint32_t* delivered) {
  const uint32_t n = std::min<uint32_t>(count, kRows - firstRow);
  const size_t rowSamples = 3 * kWidth;
  std::copy_n(gSource->data() + firstRow * rowSamples, n * rowSamples,
              reinterpret_cast<uint16_t*>(destination));
  *delivered = n;
  return firstRow + n >= kRows;
}

// A 2400 dpi scan of a 150 lpi print to 800 dpi: the halved image at 1200, a ratio of 1.5.
double TimeScale(const std::vector<uint16_t>& image, int32_t* outWidth, int32_t* outRows) {
  *outWidth = kWidth / 3;
  *outRows = kRows / 3;
  FrameRecord frame = {};
  frame.colorMode = 2;
  frame.bitsPerChannel = 16;
  gSource = &image;
  StartScalingWindow(kWidth, kRows);
  ScalingWindow& window = gScalingWindow;
  const int32_t bandRows = 10;
  const int32_t windowRows = std::max<int32_t>(3, static_cast<int32_t>(window.halvedRows) * bandRows / *outRows);
  const int32_t maxRead = 2 * windowRows;
  const int32_t sourceRowBytes = 3 * kWidth * 2;
  const int32_t workRowBytes = 3 * static_cast<int32_t>(window.halvedWidth) * 2;
  const int32_t outRowBytes = 3 * *outWidth * 2;
  window.sourceBuffer = NewMemHandle(static_cast<uint32_t>((maxRead + kScalingLookaheadRows) * sourceRowBytes));
  window.workBuffer = NewMemHandle(static_cast<uint32_t>((maxRead + kScalingLookaheadRows) * workRowBytes));
  std::vector<uint8_t> out(static_cast<size_t>(*outRows) * outRowBytes);
  uint8_t finished = 0;
  int32_t made = 0;
  const auto start = Clock::now();
  while (!finished && made < *outRows) {
    int16_t produced = 0;
    ScaleBandBicubic(&frame, false, &finished, out.data() + static_cast<size_t>(made) * outRowBytes, made,
                     static_cast<int16_t>(std::min(bandRows, *outRows - made)), &produced, maxRead, sourceRowBytes,
                     workRowBytes, outRowBytes, *outWidth, *outRows, ReadRows);
    made += produced;
    if (produced == 0 && !finished) break;
  }
  const double seconds = SecondsSince(start);
  DisposeMemHandle(window.sourceBuffer);
  DisposeMemHandle(window.workBuffer);
  window.sourceBuffer = window.workBuffer = nullptr;
  if (made != *outRows) std::printf("  (only %d of %d rows came out)\n", made, *outRows);
  return seconds;
}

// The image as an uncompressed 48-bit TIFF for the peers, through a 16-bit PPM.
bool WritePeerImage(const std::vector<uint16_t>& image, const std::string& folder) {
  const std::string ppm = folder + "/bench.ppm";
  FILE* file = std::fopen(ppm.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n65535\n", kWidth, kRows);
  std::vector<uint8_t> row(static_cast<size_t>(kWidth) * 6);
  for (int32_t y = 0; y < kRows; ++y) {
    for (int32_t x = 0; x < kWidth; ++x)
      for (int32_t p = 0; p < 3; ++p) {
        const uint16_t v = image[(static_cast<size_t>(y) * 3 + p) * kWidth + x];
        row[6 * x + 2 * p] = static_cast<uint8_t>(v >> 8);
        row[6 * x + 2 * p + 1] = static_cast<uint8_t>(v);
      }
    std::fwrite(row.data(), 1, row.size(), file);
  }
  std::fclose(file);
  const std::string command = "convert '" + ppm + "' -depth 16 -compress none '" + folder + "/bench.tif'";
  return std::system(command.c_str()) == 0;
}

// Seconds of a shell command; negative when it failed.
double TimeCommand(const std::string& command) {
  const auto start = Clock::now();
  const int status = std::system((command + " > /dev/null 2>&1").c_str());
  const double seconds = SecondsSince(start);
  return status == 0 ? seconds : -1.0;
}

struct Peer {
  const char* name;
  std::string sharpen;
  std::string copy;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp";
  std::printf("generating a %d x %d 48-bit image\n", kWidth, kRows);
  const std::vector<uint16_t> image = MakeImage();

  double best = 0.0;
  for (uint8_t matrix = 0; matrix <= 2; ++matrix) {
    const double seconds = TimeSharpen(image, matrix);
    std::printf("SharpenBandA %d x %d matrix: %7.2f s  %7.1f Mpixel/s\n", 2 * matrix + 3, 2 * matrix + 3, seconds,
                kMegapixels / seconds);
    if (matrix == 0) best = seconds;
  }
  int32_t outWidth = 0, outRows = 0;
  const double scaleSeconds = TimeScale(image, &outWidth, &outRows);
  std::printf("ScaleBandBicubic %d x %d -> %d x %d: %7.2f s  %7.1f Mpixel/s of source\n", kWidth, kRows, outWidth,
              outRows, scaleSeconds, kMegapixels / scaleSeconds);

  if (!WritePeerImage(image, folder)) {
    std::printf("peers: the TIFF could not be written (ImageMagick missing?)\n");
    return 0;
  }
  const std::string in = "'" + folder + "/bench.tif'";
  const std::string out = "'" + folder + "/bench-out.tif'";
  const Peer peers[] = {
      {"vips sharpen", "vips sharpen " + in + " " + out, "vips copy " + in + " " + out},
      {"convert -unsharp 0x1", "convert " + in + " -unsharp 0x1 -compress none " + out,
       "convert " + in + " -compress none " + out},
  };
  for (const Peer& peer : peers) {
    const double sharpen = TimeCommand(peer.sharpen);
    const double copy = TimeCommand(peer.copy);
    if (sharpen < 0 || copy < 0) {
      std::printf("%-22s not available\n", peer.name);
      continue;
    }
    const double filter = std::max(sharpen - copy, 1e-3);
    std::printf("%-22s %7.2f s (copy %.2f s): %7.1f Mpixel/s; our 3 x 3 filter is %.2f x as fast\n", peer.name,
                filter, copy, kMegapixels / filter, filter / best);
  }
  std::remove((folder + "/bench.ppm").c_str());
  std::remove((folder + "/bench.tif").c_str());
  std::remove((folder + "/bench-out.tif").c_str());
  return 0;
}
