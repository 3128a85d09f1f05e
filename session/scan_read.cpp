#include "session/scan_read.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "frames/frame_record.h"
#include "readers/reader_factory.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/source_lines.h"

namespace {

struct ScanRead {
  std::unique_ptr<ImageFileReader> reader;
  uint32_t rows = 0;         // rows of the frame that the source can give
  uint32_t columns = 0;      // columns of the frame
  uint32_t sourceWidth = 0;  // columns read from the source
  uint32_t channels = 1;
  uint32_t bits = 8;         // 1, 8 or 16 of the frame
  std::vector<uint8_t> lines;  // source lines of one call
};

ScanRead gRead;

constexpr uint32_t kReadBandBytes = 100000;

}  // namespace

uint16_t StartScanRead(FrameRecord* frame) {
  EndScanRead();
  const ImageFileInfo& image = gDeviceLayer.openedInfo;
  const uint32_t resolution = image.xResolution ? image.xResolution : 72;
  const SourceRect rect = FrameSourceRect(*frame, image.width, image.height, resolution);

  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(gDeviceLayer.imagePath, 0, false);
  if (!reader) return kDeviceErrorReaderObject;
  if (!reader->ImageReaderIsOpen()) return kDeviceErrorOpenFile;
  const uint16_t readBits = frame->bitsPerChannel == 16 ? 16 : 8;
  reader->SetOutputDepth(readBits);
  ImageFileInfo info = {};
  if (reader->ReadHeader(&info) != 0 || reader->StartReading(kReadBandBytes) != 0) return kDeviceErrorFile;

  const std::vector<uint16_t>* gammaTables[4];
  uint32_t gammaBits[4];
  for (int c = 0; c < 4; ++c) gammaTables[c] = reader->GetGammaTable(&gammaBits[c], c);
  gSourceLineRead = SourceLineRead();
  gSourceLineRead.bitsPerSample = readBits;
  gSourceLineRead.imagePlanes = info.samplesPerPixel;
  if (!PrepareSourceLines(reader.get(), frame, gammaTables, gammaBits)) return kDeviceErrorToneTables;

  gRead.channels = frame->colorMode == 2 ? 3 : 1;
  gRead.bits = frame->bitsPerChannel == 16 ? 16 : frame->bitsPerChannel == 1 ? 1 : 8;
  gRead.columns = frame->scanPixelWidth;
  gRead.rows = std::min<uint32_t>(frame->scanPixelHeight, static_cast<uint32_t>(rect.height));
  gRead.sourceWidth = std::min<uint32_t>(gRead.columns, static_cast<uint32_t>(rect.width));
  gSourceLineRead.reader = reader.get();
  gSourceLineRead.left = static_cast<uint32_t>(rect.left);
  gSourceLineRead.top = static_cast<uint32_t>(rect.top);
  gRead.reader = std::move(reader);
  return kDeviceErrorNone;
}

uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count) {
  *count = 0;
  if (finish || !gRead.reader || firstRow >= gRead.rows) {
    EndScanRead();
    return 1;
  }
  const uint32_t lines = std::min(wanted, gRead.rows - firstRow);
  const uint32_t sampleBytes = gRead.bits == 16 ? 2 : 1;
  const uint32_t sourcePlane = gRead.sourceWidth * sampleBytes;
  const uint32_t sourceLine = sourcePlane * gRead.channels;
  if (gRead.lines.size() < size_t{lines} * sourceLine) gRead.lines.resize(size_t{lines} * sourceLine);
  gSourceLineRead.linesRead = firstRow;
  if (!ReadSourceLines(gRead.lines.data(), lines, gRead.sourceWidth, gRead.channels)) {
    EndScanRead();
    return 1;
  }

  if (gRead.bits == 1) {
    // Line art: a dark sample (below the middle) sets its bit.
    const uint32_t rowBytes = (gRead.columns + 7) / 8;
    for (uint32_t y = 0; y < lines; ++y) {
      uint8_t* row = out + size_t{y} * rowBytes;
      std::memset(row, 0, rowBytes);
      const uint8_t* grey = gRead.lines.data() + size_t{y} * sourceLine;
      for (uint32_t x = 0; x < gRead.sourceWidth; ++x)
        if (grey[x] < 128) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  } else {
    const uint32_t plane = gRead.columns * sampleBytes;
    for (uint32_t y = 0; y < lines; ++y)
      for (uint32_t c = 0; c < gRead.channels; ++c) {
        uint8_t* target = out + (size_t{y} * gRead.channels + c) * plane;
        std::memcpy(target, gRead.lines.data() + size_t{y} * sourceLine + c * sourcePlane, sourcePlane);
        std::memset(target + sourcePlane, 0, plane - sourcePlane);
      }
  }
  *count = lines;
  if (firstRow + lines < gRead.rows) return 0;
  EndScanRead();
  return 1;
}

void EndScanRead() {
  if (gRead.reader) gRead.reader->FinishReading();
  gSourceLineRead = SourceLineRead();
  gRead = ScanRead();
}
