#include "session/prescan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/dialogs/alerts.h"
#include "foundation/paths.h"
#include "foundation/system.h"
#include "frames/orientation/preview_orientation.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"

namespace {

constexpr uint32_t kNoPreviewMemoryString = 107;  // "Nicht genügend Speicher für Vorschau vorhanden."
constexpr uint32_t kScanStartFailedString = 108;  // "Fehler bei Scan Start."
constexpr int kVirtualKeyControl = 0x11;
constexpr int kVirtualKeyDecimal = 0x6E;

// One prescan's buffers and counters; the prescan frame is put back at the end.
class Prescan {
 public:
  Prescan(PrescanView& view, bool fromStoredRect) : view_(view), stored_(fromStoredRect) {}
  int16_t Run();

 private:
  bool Allocate();
  void OpenPrescanFile(FrameRecord& frame);
  void BandLoop();
  void MakePreviewRows(const uint8_t* band, uint32_t rows);
  void AppendToPrescanFile(const uint8_t* band, uint32_t rows);
  void Finish(bool written);

  PrescanView& view_;
  bool stored_;
  FrameRecord& frame_ = gDataSourceState.frameStateArea.scratchFrame;
  bool grey_ = false;
  bool highBit_ = false;
  int32_t factor_ = 1;
  int32_t previewWidth_ = 0, previewHeight_ = 0;
  int32_t prescanWidth_ = 0, prescanHeight_ = 0;
  uint32_t bandRows_ = 10;
  uint32_t rowBytes_ = 0;
  std::vector<uint8_t> band_, fileRow_, planes8_;
  std::vector<uint16_t> row16_;
  PrescanFileWriter file_;
  int32_t rowsRead_ = 0;
};

bool DefaultOn(DefaultsField<uint8_t> field) { return GetDefault(gDefaults, field) != 0; }

int16_t Prescan::Run() {
  const FrameRecord kept = frame_;
  highBit_ = gHighBitPreview;
  grey_ = gDeviceLayer.openedInfo.samplesPerPixel > 0 && gDeviceLayer.openedInfo.samplesPerPixel < 3;
  if (highBit_) frame_.bitsPerChannel = 16;
  frame_.colorMode = grey_ ? 0 : 2;
  if (stored_) {
    previewWidth_ = frame_.scanPixelWidth;
    previewHeight_ = frame_.scanPixelHeight;
  } else {
    view_.PreviewSize(&previewWidth_, &previewHeight_);
    if (OrientationSwapAxes()) std::swap(previewWidth_, previewHeight_);
  }
  view_.ShowPrescanRunning(true);

  const uint32_t wanted = GetDefault(gDefaults, kDefaultPrescanFactor);
  if (wanted > 1 && !gPreviewZoomed && !DefaultOn(kDefaultMonochromePrescan))
    factor_ = static_cast<int32_t>(std::min<uint32_t>(wanted, 8));
  OpenPrescanFile(frame_);

  int16_t result = 0;
  if (!Allocate()) {
    ShowAlert(GetModuleInstance(), kErrorCaptionString, kNoPreviewMemoryString, false, nullptr);
    result = -1;
  } else if (!StartDeviceRead(&frame_, true)) {
    ShowError(GetModuleInstance(), kErrorCaptionString, kScanStartFailedString, gDeviceErrorWord, 0, 0);
    result = -1;
  } else {
    if (!stored_) view_.DrawRows(0, previewHeight_);
    BandLoop();
  }
  if (result != 0) FreePreviewBuffers();
  Finish(result == 0);
  frame_ = kept;
  view_.ShowPrescanRunning(false);
  return result;
}

void Prescan::OpenPrescanFile(FrameRecord& frame) {
  char path[kPathSize];
  const bool folder = PreviewFilePath(kPrescanFile, path);
  if (folder && !gPreviewZoomed) DeleteFileAt(path);
  FileHandle file = folder && factor_ > 1 ? OpenFileReadWrite(path) : nullptr;
  if (!file) factor_ = 1;
  factor_ = FitPrescanFactor(factor_, previewWidth_, previewHeight_, gDeviceLayer.imageWidth, gDeviceLayer.imageHeight);
  if (factor_ > 1) SetupPrescanFrame(&frame, previewWidth_ * factor_, previewHeight_ * factor_);
  prescanWidth_ = factor_ > 1 ? previewWidth_ * factor_ : frame.scanPixelWidth;
  prescanHeight_ = factor_ > 1 ? previewHeight_ * factor_ : frame.scanPixelHeight;
  if (!file) return;
  if (factor_ == 1) {
    CloseFile(file);
    DeleteFileAt(path);
    return;
  }
  PrescanFileHeader header{};
  header.version = 1;
  header.channels = grey_ ? 1 : 3;
  header.singleChannel = DefaultOn(kDefaultMonochromePrescan) ? 1 : 0;
  header.bits = highBit_ ? 16 : 8;
  header.width = static_cast<uint32_t>(prescanWidth_);
  header.height = static_cast<uint32_t>(prescanHeight_);
  header.prescanArea = DRect{frame.originX, frame.originY, frame.width, frame.height};
  if (!file_.Begin(file, header)) file_.Close();
}

bool Prescan::Allocate() {
  if (prescanWidth_ <= 0 || prescanHeight_ <= 0) return false;
  const int32_t magnification = kPreviewMagnification;
  if (!AllocPreviewBuffers(previewHeight_ * magnification, previewWidth_ * magnification)) return false;
  previewHeight_ = GlobalDibHeight(gPreviewBaseDib);
  previewWidth_ = GlobalDibWidth(gPreviewBaseDib);
  const uint32_t channels = grey_ ? 1 : 3;
  bandRows_ = grey_ ? 30 : 10;
  rowBytes_ = static_cast<uint32_t>(prescanWidth_) * channels * (highBit_ ? 2 : 1);
  try {
    band_.assign(size_t{rowBytes_} * bandRows_, 0);
    fileRow_.assign(rowBytes_, 0);
    if (highBit_) {
      row16_.assign(size_t(previewWidth_) * 3, 0);
      planes8_.assign(size_t(prescanWidth_) * channels, 0);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (highBit_) {
    if (!BuildPreviewConversionLut(&frame_)) return false;
    if (!gPreviewZoomed && factor_ > 1) {
      if (gPrescanStore) DisposeMemHandle(gPrescanStore);
      const uint64_t bytes = uint64_t{static_cast<uint32_t>(prescanWidth_)} * static_cast<uint32_t>(prescanHeight_) * 6;
      gPrescanStore = bytes <= kMaxPreviewDataBytes ? NewMemHandle(static_cast<uint32_t>(bytes)) : nullptr;
      if (!gPrescanStore) return false;
      SetRect16(&gPrescanStoreRect, 0, 0, static_cast<int16_t>(prescanHeight_), static_cast<int16_t>(prescanWidth_));
    }
  }
  if (DefaultOn(kDefaultMonochromePrescan)) {
    FillGlobalDib(gPreviewBaseDib, 0);
  } else {
    FillGlobalDib(gPreviewBaseDib, 0xFFFFFF);
    FillGlobalDib(gPreviewDib, 0xFFFFFF);
  }
  return true;
}

void Prescan::BandLoop() {
  for (;;) {
    const bool stopped = PrescanCancelKeysDown() || view_.StopRequested();
    uint32_t made = 0;
    if (!ReadDeviceLines(stopped, band_.data(), bandRows_, &made)) break;
    made = std::min<uint32_t>(made, static_cast<uint32_t>(prescanHeight_ - rowsRead_));
    AppendToPrescanFile(band_.data(), made);
    if (highBit_ && gPrescanStore && !gPreviewZoomed && factor_ > 1)
      std::memcpy(gPrescanStore->data + size_t{rowBytes_} * rowsRead_, band_.data(), size_t{rowBytes_} * made);
    MakePreviewRows(band_.data(), made);
    rowsRead_ += static_cast<int32_t>(made);
    if (stopped || made == 0 || rowsRead_ >= prescanHeight_ || rowsRead_ / factor_ >= previewHeight_) break;
  }
  uint32_t none = 0;
  ReadDeviceLines(true, band_.data(), 0, &none);
}

void Prescan::AppendToPrescanFile(const uint8_t* band, uint32_t rows) {
  if (!file_.IsOpen()) return;
  // The file keeps 8-bit colour planes green, red, blue.
  const bool reorder = !highBit_ && !grey_;
  for (uint32_t r = 0; r < rows; ++r) {
    const uint8_t* row = band + size_t{rowBytes_} * r;
    if (!reorder) {
      file_.AppendRows(row, 1);
      continue;
    }
    const size_t plane = static_cast<size_t>(prescanWidth_);
    std::memcpy(fileRow_.data(), row + plane, plane);
    std::memcpy(fileRow_.data() + plane, row, plane);
    std::memcpy(fileRow_.data() + 2 * plane, row + 2 * plane, plane);
    file_.AppendRows(fileRow_.data(), 1);
  }
}

void Prescan::MakePreviewRows(const uint8_t* band, uint32_t rows) {
  int32_t first = -1, last = -1;
  const uint32_t stride = GlobalDibStride(gPreviewBaseDib);
  for (uint32_t r = 0; r < rows; ++r) {
    const int32_t n = rowsRead_ + static_cast<int32_t>(r);
    if (n % factor_ != 0 || n / factor_ >= previewHeight_) continue;
    const int32_t previewRow = n / factor_;
    uint8_t* pixels = GlobalDibBits(gPreviewBaseDib) + size_t{stride} * previewRow;
    const uint8_t* row = band + size_t{rowBytes_} * r;
    if (highBit_) {
      const auto* samples = reinterpret_cast<const uint16_t*>(row);
      const int32_t planes = grey_ ? 1 : 3;
      ApplyPreviewConversionLut(samples, planes8_.data(), 1, prescanWidth_, SampleLayout{0, 1, prescanWidth_},
                                SampleLayout{0, 1, prescanWidth_}, grey_);
      for (int32_t p = 0; p < planes; ++p)
        for (int32_t c = 0; c < previewWidth_ && c * factor_ < prescanWidth_; ++c)
          row16_[size_t(p) * previewWidth_ + c] = samples[size_t(p) * prescanWidth_ + c * factor_];
      StoreRowsIn(row16_.data(), previewRow, 1, previewWidth_, grey_);
      row = planes8_.data();
    }
    PreviewRowFromRgbPlanes(row, prescanWidth_, grey_, factor_, pixels, previewWidth_);
    if (first < 0) first = previewRow;
    last = previewRow;
  }
  if (first >= 0 && !stored_) {
    CopyGlobalDibRect(gPreviewBaseDib, gPreviewDib, WinRect{0, first, previewWidth_, last + 1});
    view_.DrawRows(first, last - first + 1);
  }
}

void Prescan::Finish(bool made) {
  file_.FillToHeight();
  file_.Close();
  FreePreviewConversionLut();
  if (!made) return;
  CopyGlobalDib(gPreviewBaseDib, gPreviewDib);
  gPrescanArea = DRect{frame_.originX, frame_.originY, frame_.width, frame_.height};
  if (stored_) return;
  const FrameRecord* current = gCurrentFrame;
  WritePreviewFile(current ? DRect{current->originX, current->originY, current->width, current->height} : DRect{});
}

}  // namespace

int32_t FitPrescanFactor(int32_t wanted, int32_t width, int32_t height, uint32_t imageWidth, uint32_t imageHeight) {
  int32_t f = wanted;
  while (f > 1 && (int64_t{width} * f > int64_t{imageWidth} || int64_t{height} * f > int64_t{imageHeight})) --f;
  return f < 1 ? 1 : f;
}

bool PrescanCancelKeysDown() {
  return IsKeyDown(kVirtualKeyControl) && (IsCharKeyDown('.') || IsKeyDown(kVirtualKeyDecimal));
}

int16_t RunPrescan(PrescanView& view, bool fromStoredRect) { return Prescan(view, fromStoredRect).Run(); }
