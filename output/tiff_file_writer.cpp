#include "output/tiff_file_writer.h"

#include <cstring>

#include "foundation/geometry.h"
#include "foundation/round.h"
#include "output/output_checks.h"
#include "output/output_names.h"
#include "output/thumbnail_resource.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_producer.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"

namespace {

constexpr uint64_t kClassicTiffLimit = UINT32_MAX;
// An a or b sample of the offset form ((a + 127) x 65535 / 254) as the signed
// 16-bit value of CIELab TIFFs (a x 256).
uint16_t SignedLabSample(uint16_t offsetForm) {
  const double a = offsetForm * 254.0 / 65535.0 - 127.0;
  return static_cast<uint16_t>(static_cast<int16_t>(TruncRound(a * 256.0)));
}

}  // namespace

TiffFileWriter::TiffFileWriter() { interleave_ = 1; }

TiffFileWriter::~TiffFileWriter() {
  CloseFile(firstPassFile_);
  CloseFile(outputFile_);
  if (firstPassMade_ && orientationNeeded_) DeleteTiffFile(0);
  // A cancelled or failed file is not left half written.
  if (outputMade_ && !finished_) DeleteTiffFile(index_);
}

bool TiffFileWriter::OpenOutput() {
  if (!HasFreeSpaceFor(TiffSpaceNeed(imageBytes_, orientationNeeded_ != 0))) return false;
  const int32_t rows = OutputRows(), columns = OutputColumns();
  // Classic TIFF has 32-bit offsets: a larger image cannot be written.
  const uint64_t end = TiffImageOffset(profileSize_) +
                       TiffRowBytes(columns, samplesPerPixel_, bitsPerChannel_) * static_cast<uint64_t>(rows);
  if (end > kClassicTiffLimit) return false;

  char texts[2 * kTiffTextSize];
  GetImageTextFields(texts);
  TiffHeaderParams params;
  params.profileLength = profileSize_;
  params.rows = rows;
  params.columns = columns;
  params.samplesPerPixel = samplesPerPixel_;
  params.bitsPerChannel = bitsPerChannel_;
  params.zirOutput = IsZirData(gScanFrame);
  params.outputCmsMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  params.outputStaysRgb = GetDefault(gDefaults, kDefaultThreeChannelOutput) != 0;
  params.outputResolution = gScanFrame.outputResolution;
  params.colorMode = gScanFrame.colorMode;
  params.documentName = texts;
  params.artist = texts + kTiffTextSize;
  BuildTiffHeader(header_, params);
  photometric_ = TiffPhotometric(params);
  return true;
}

bool TiffFileWriter::WriteHead(FileHandle file) {
  static const uint8_t kPad = 0;
  const uint8_t* profile = profileData_ ? static_cast<const uint8_t*>(profileData_->data) : nullptr;
  bool written = WriteBytesAt(file, 0, header_, kTiffHeaderWritten);
  if (profile && profileSize_) written = written && WriteBytesAt(file, kTiffHeaderWritten, profile, profileSize_);
  if (profileSize_ & 1) written = written && WriteBytesAt(file, kTiffHeaderWritten + profileSize_, &kPad, 1);
  return written;
}

bool TiffFileWriter::WriteOutputHead() {
  if (orientationNeeded_) {
    firstPassMade_ = OpenTiffFile(0, &firstPassFile_);
    firstPassAt_ = 0;
    return firstPassMade_;
  }
  outputMade_ = OpenTiffFile(index_, &firstPassFile_);
  firstPassAt_ = TiffImageOffset(profileSize_);
  return outputMade_ && WriteHead(firstPassFile_);
}

bool TiffFileWriter::WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t) {
  if (bytes == 0) return true;
  if (bytes > UINT32_MAX) return false;
  if (LabWithSignedAb()) {
    labRows_.assign(buffer, buffer + bytes);
    const size_t samples = labRows_.size() / 2;
    for (size_t i = 0; i < samples; ++i) {
      if (i % 3 == 0) continue;
      uint16_t value;
      std::memcpy(&value, &labRows_[2 * i], 2);
      value = SignedLabSample(value);
      std::memcpy(&labRows_[2 * i], &value, 2);
    }
    buffer = labRows_.data();
  }
  const bool written = WriteBytesAt(firstPassFile_, firstPassAt_, buffer, static_cast<uint32_t>(bytes));
  firstPassAt_ += bytes;
  return written;
}

bool TiffFileWriter::WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t, int32_t) {
  if (bytes == 0) return true;
  const bool written = bytes <= UINT32_MAX && WriteBytesAt(outputFile_, outputAt_, buffer, static_cast<uint32_t>(bytes));
  outputAt_ += bytes;
  return written;
}

bool TiffFileWriter::FinishOutput() {
  if (!orientationNeeded_) return true;
  outputMade_ = OpenTiffFile(index_, &outputFile_);
  if (!outputMade_) return false;
  outputAt_ = TiffImageOffset(profileSize_);
  return WriteHead(outputFile_) && CopyLinesToOutput(firstPassFile_, index_, count_);
}

bool TiffFileWriter::Append(FileHandle file, const uint8_t* bytes, uint64_t count, uint32_t* at) {
  uint64_t size = 0;
  if (!GetFileSize(file, &size) || size + count > kClassicTiffLimit) return false;
  *at = static_cast<uint32_t>(size);
  return WriteBytesAt(file, size, bytes, static_cast<uint32_t>(count));
}

void TiffFileWriter::CountResources(FileHandle file, uint32_t at, uint32_t bytes) {
  uint8_t field[4];
  // The first group appended gives tag 34377 its offset, whether or not a thumbnail was made.
  if (resourceBytes_ == 0) {
    PutLittle32(field, at);
    WriteBytesAt(file, kTiffResourceOffsetAt, field, 4);
  }
  resourceBytes_ += bytes;
  PutLittle32(field, resourceBytes_);
  WriteBytesAt(file, kTiffResourceCountAt, field, 4);
}

void TiffFileWriter::AppendPreview(FileHandle file, const PanePreview& preview) {
  const int32_t width = RectWidth(preview.rect), height = RectHeight(preview.rect);
  if (!preview.block || width <= 0 || height <= 0) return;
  const bool rgb = samplesPerPixel_ == 3;
  const int32_t bits = bitsPerChannel_ == 16 ? 16 : 8;
  uint64_t size = 0;
  if (!GetFileSize(file, &size)) return;
  const uint32_t stripBytes = PreviewStripBytes(width, height, rgb, bits);
  if (size + kPreviewIfdSize + stripBytes > kClassicTiffLimit) return;
  uint8_t ifd[kPreviewIfdSize];
  BuildPreviewIfd(ifd, static_cast<uint32_t>(size), width, height, rgb, bits);
  uint32_t at = 0;
  if (!Append(file, ifd, kPreviewIfdSize, &at)) return;
  uint8_t field[4];
  PutLittle32(field, at);
  WriteBytesAt(file, NextIfdField(), field, 4);
  Append(file, preview.block, stripBytes, &at);
}

void TiffFileWriter::AppendThumbnail(FileHandle file, const PanePreview& preview) {
  const int32_t width = RectWidth(preview.thumbnailRect), height = RectHeight(preview.thumbnailRect);
  if (!preview.thumbnail || width <= 0 || height <= 0) return;
  std::vector<uint8_t> block;
  if (!BuildThumbnailResource(preview.thumbnail, static_cast<uint32_t>(width), static_cast<uint32_t>(height), &block))
    return;
  const uint32_t n = static_cast<uint32_t>(block.size());
  uint32_t at = 0;
  if (Append(file, block.data(), n, &at)) CountResources(file, at, n);
}

void TiffFileWriter::AppendSourceResources(FileHandle file, uint16_t firstId, uint16_t lastId, uint16_t storedId) {
  uint32_t groupAt = 0, groupBytes = 0;
  for (uint32_t id = firstId; id <= lastId; ++id) {
    uint8_t name[256] = {};
    const std::vector<uint8_t> data = GetSourceImageResource(static_cast<uint16_t>(id), name);
    if (data.empty()) continue;
    const std::vector<uint8_t> block =
        MakeResourceBlock(storedId++, name, data.data(), static_cast<uint32_t>(data.size()));
    uint32_t at = 0;
    // A failed write ends the group, and its blocks are not counted.
    if (!Append(file, block.data(), block.size(), &at)) return;
    if (groupBytes == 0) groupAt = at;
    groupBytes += static_cast<uint32_t>(block.size());
  }
  if (groupBytes) CountResources(file, groupAt, groupBytes);
}

bool TiffFileWriter::WriteOutput(const PanePreview& preview) {
  FileHandle file = orientationNeeded_ ? outputFile_ : firstPassFile_;
  if (!file) return false;
  AppendPreview(file, preview);
  AppendThumbnail(file, preview);
  AcquireImageReader();
  // The paths are numbered again from 2000 in the order found.
  AppendSourceResources(file, kResourceFirstPath, kResourceLastPath, kResourceFirstPath);
  AppendSourceResources(file, kResourceIptc, kResourceIptc, kResourceIptc);
  ReleaseImageReader();
  if (resourceBytes_ == 0) {
    uint8_t directory[kTiffXResolutionAt];
    if (ReadBytesAt(file, 0, directory, sizeof directory)) {
      RemoveResourceEntry(directory);
      WriteBytesAt(file, 0, directory, sizeof directory);
    }
  }
  CloseFile(firstPassFile_);
  firstPassFile_ = nullptr;
  if (firstPassMade_ && orientationNeeded_) DeleteTiffFile(0);
  firstPassMade_ = false;
  CloseFile(outputFile_);
  outputFile_ = nullptr;
  finished_ = true;
  return true;
}
