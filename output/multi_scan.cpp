#include "output/multi_scan.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "foundation/progress/session_values.h"
#include "foundation/system.h"
#include "output/writer_progress.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/scan_read.h"
#include "state/data_source_state.h"

namespace {

struct MultiScanPass {
  std::string path;
  FileHandle file = nullptr;
  std::vector<uint8_t> buffer;
  uint64_t written = 0;  // bytes of the file written so far
  uint32_t fill = 0;     // bytes waiting in the buffer
};

// The geometry of the passes, in the frame's rows.
struct PassGeometry {
  uint32_t rows = 0;
  uint32_t rowsPerBand = 0;
  int32_t bits = 8;
  int32_t channels = 1;
  uint32_t rowBytes = 0;
};

const PassDeviceRead kDeviceLayerRead = {StartDeviceRead, ReadDeviceScanLines, CloseImageDevice};
const PassDeviceRead* gPassRead = &kDeviceLayerRead;

int16_t gPassCount = kDefaultPassCount;
int16_t gCurrentPass = 0;
PassGeometry gGeometry;
std::vector<MultiScanPass> gPasses;

PassGeometry GeometryOf(const FrameRecord& frame) {
  PassGeometry geometry;
  geometry.rows = frame.scanPixelHeight;
  geometry.channels = frame.colorMode == 2 ? 3 : 1;
  geometry.rowsPerBand = static_cast<uint32_t>(30 / geometry.channels);
  geometry.bits = frame.bitsPerChannel;
  const uint32_t samples = static_cast<uint32_t>(geometry.channels) * frame.scanPixelWidth;
  geometry.rowBytes = geometry.bits == 1 ? samples / 8 : samples * (geometry.bits == 16 ? 2 : 1);
  return geometry;
}

int16_t PassCountFor(const FrameRecord& frame) {
  const MultiScanAbility& ability = gDeviceLayer.multiScan;
  if (frame.multiScan >= kMultiScanModes) return kDefaultPassCount;
  const uint16_t count = ability.table[frame.multiScan].passCount;
  return count >= 1 ? static_cast<int16_t>(count) : kDefaultPassCount;
}

void ClosePassFiles() {
  for (MultiScanPass& pass : gPasses) {
    CloseFile(pass.file);
    DeleteFileAt(pass.path.c_str());
  }
  gPasses.clear();
  gCurrentPass = 0;
}

std::string PassFilePath(int32_t n) {
  // An image file names no work folder of its own: the passes go to the temporary folder.
  char folder[512] = "";
  GetTemporaryFolder(folder, sizeof folder);
  char name[64];
  std::snprintf(name, sizeof name, kPassFileName, n);
  return std::string(folder) + name;
}

bool CreatePassFiles(uint32_t bufferBytes) {
  const uint64_t fileBytes = static_cast<uint64_t>(gGeometry.rows) * gGeometry.rowBytes;
  for (int32_t n = 0; n < gPassCount; ++n) {
    gPasses.emplace_back();
    MultiScanPass& pass = gPasses.back();
    pass.path = PassFilePath(n);
    DeleteFileAt(pass.path.c_str());
    pass.file = OpenFileReadWrite(pass.path.c_str());
    if (!pass.file) {
      gDeviceErrorWord = kPassFileOpenError;
      return false;
    }
    if (!SetFileSize(pass.file, fileBytes)) {
      gDeviceErrorWord = kPassFileRoomError;
      return false;
    }
    pass.buffer.assign(bufferBytes, 0);
  }
  return true;
}

bool FlushPass(MultiScanPass& pass) {
  if (pass.fill == 0) return true;
  const bool written = WriteBytesAt(pass.file, pass.written, pass.buffer.data(), pass.fill);
  pass.written += pass.fill;
  pass.fill = 0;
  return written;
}

void SetPassTitle(int32_t pass) {
  char title[256] = "";
  LoadResourceString(GetModuleInstance(), kMultiScanTitleString, title, sizeof title);
  char counter[32];
  std::snprintf(counter, sizeof counter, " (%d / %d)", pass, gPassCount);
  SetWriterProgressText((std::string(title) + counter).c_str());
}

// One pass from the device into its file; false when cancelled or a write failed.
bool ReadPass(FrameRecord* frame, MultiScanPass& pass, bool* cancelled) {
  if (!gPassRead->start(frame, false)) return false;
  const bool rgb = frame->colorMode == 2;
  const int32_t format = gGeometry.bits == 16 ? (rgb ? 6 : 2) : (rgb ? 3 : 1);
  ProgressPanes().push(frame->scanPixelWidth, static_cast<int32_t>(gGeometry.rows), false, false);
  const uint32_t bandBytes = gGeometry.rowsPerBand * gGeometry.rowBytes;
  bool written = true;
  uint32_t rowsRead = 0;
  uint8_t done = 0;
  while (!done && rowsRead < gGeometry.rows && written) {
    *cancelled = IsWriterCancelled();
    if (*cancelled) break;
    if (pass.buffer.size() - pass.fill < bandBytes) written = FlushPass(pass);
    uint32_t made = 0;
    done = gPassRead->read(false, pass.buffer.data() + pass.fill, gGeometry.rowsPerBand, &made);
    made = std::min(made, gGeometry.rows - rowsRead);
    ProgressPanes().drawRows(pass.buffer.data() + pass.fill, static_cast<int32_t>(rowsRead), static_cast<int32_t>(made),
                             frame->scanPixelWidth, format, rgb ? 0 : 5, false, false, false, false);
    pass.fill += made * gGeometry.rowBytes;
    rowsRead += made;
    UpdateWriterProgress(static_cast<int32_t>(rowsRead), static_cast<int32_t>(gGeometry.rows), 0, 0);
  }
  written = FlushPass(pass) && written;
  PanePreview preview;
  ProgressPanes().pop(false, false, false, &preview);
  ProgressPanes().release(&preview);
  gPassRead->end();
  return written && !*cancelled;
}

bool MultiScanRun(FrameRecord* frame) {
  const FrameRecord kept = *frame;
  gGeometry = GeometryOf(*frame);
  if (!CreatePassFiles(PassBufferBytes(*frame))) return false;
  const uint32_t subtitle = ColorModeNameId(frame->colorMode == 2, frame->bitsPerChannel,
                                            GetDefault(gDefaults, kDefaultOutputCmsMode));
  OpenWriterProgress(true, static_cast<int32_t>(kMultiScanTitleString), static_cast<int32_t>(subtitle));
  bool cancelled = false;
  bool read = true;
  for (int16_t i = 0; i < gPassCount && read; ++i) {
    gCurrentPass = static_cast<int16_t>(i + 1);
    // Only the first pass focuses.
    if (i > 0) frame->focusMode = 0;
    UpdateWriterProgress(0, static_cast<int32_t>(gGeometry.rows), 0, 0);
    SetPassTitle(i + 1);
    read = ReadPass(frame, gPasses[static_cast<size_t>(i)], &cancelled);
  }
  CloseWriterProgress();
  *frame = kept;
  return read && !cancelled;
}

// Averages count rows from firstRow of every pass into band.
bool MergeRows(uint8_t* band, uint32_t firstRow, uint32_t count) {
  const uint64_t rowBytes = gGeometry.rowBytes;
  const uint32_t chunkRows = static_cast<uint32_t>(std::max<uint64_t>(1, gPasses[0].buffer.size() / rowBytes));
  std::vector<uint32_t> sums;
  for (uint32_t done = 0; done < count;) {
    const uint32_t rows = std::min(chunkRows, count - done);
    const uint32_t bytes = static_cast<uint32_t>(rows * rowBytes);
    for (MultiScanPass& pass : gPasses)
      if (!ReadBytesAt(pass.file, (firstRow + done) * rowBytes, pass.buffer.data(), bytes)) return false;
    uint8_t* out = band + done * rowBytes;
    const uint32_t passes = static_cast<uint32_t>(gPasses.size());
    if (gGeometry.bits == 16) {
      const uint32_t samples = bytes / 2;
      sums.assign(samples, 0);
      for (const MultiScanPass& pass : gPasses) {
        const uint16_t* values = reinterpret_cast<const uint16_t*>(pass.buffer.data());
        for (uint32_t i = 0; i < samples; ++i) sums[i] += values[i];
      }
      uint16_t* values = reinterpret_cast<uint16_t*>(out);
      for (uint32_t i = 0; i < samples; ++i) values[i] = static_cast<uint16_t>(sums[i] / passes);
    } else if (gGeometry.bits == 8) {
      sums.assign(bytes, 0);
      for (const MultiScanPass& pass : gPasses)
        for (uint32_t i = 0; i < bytes; ++i) sums[i] += pass.buffer[i];
      for (uint32_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(sums[i] / passes);
    }
    done += rows;
  }
  return true;
}

}  // namespace

void SetPassDeviceRead(const PassDeviceRead* read) { gPassRead = read ? read : &kDeviceLayerRead; }

bool IsMultiScanPossible(const FrameRecord& frame) {
  const MultiScanAbility& ability = gDeviceLayer.multiScan;
  return ability.offered && !ability.switchedOff && frame.bitsPerChannel >= 8 && frame.multiScan != 0;
}

uint32_t PassBufferBytes(const FrameRecord& frame) {
  const PassGeometry geometry = GeometryOf(frame);
  return std::max(geometry.rowsPerBand * geometry.rowBytes, kPassBufferMinimum);
}

bool StartMultiScan(FrameRecord* frame) {
  gDeviceErrorWord = kDeviceErrorNone;
  ClosePassFiles();
  gPassCount = PassCountFor(*frame);
  if (MultiScanRun(frame)) return true;
  ClosePassFiles();
  return false;
}

bool FinishMultiScan(bool skip, uint8_t* band, uint32_t firstRow, uint32_t wanted, uint32_t* rows) {
  *rows = 0;
  if (!skip && !gPasses.empty() && firstRow < gGeometry.rows) {
    const uint32_t count = std::min(wanted, gGeometry.rows - firstRow);
    if (MergeRows(band, firstRow, count)) {
      *rows = count;
      if (firstRow + count < gGeometry.rows) return false;
    }
  }
  ClosePassFiles();
  return true;
}

bool EndMultiScan() {
  ClosePassFiles();
  return true;
}

int16_t CurrentMultiScanPass() { return gCurrentPass; }
int16_t MultiScanPassCount() { return gPassCount; }
