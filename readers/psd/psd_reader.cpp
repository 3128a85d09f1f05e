#include "readers/psd/psd_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "readers/planar_samples.h"
#include "readers/reader_errors.h"

namespace {

constexpr uint16_t kResolutionInfo = 1005;
constexpr uint16_t kIccProfile = 1039;
constexpr uint32_t kDefaultResolution = 72;
constexpr uint32_t kGammaTableBits = 14;

}  // namespace

PsdReader::PsdReader(const char* path, bool reducedMode) : ImageFileReader(path, reducedMode) {}

PsdReader::~PsdReader() { FinishReading(); }

bool PsdReader::IsHighBitDepth() { return headerValid_ && header_.depth > 8; }

int16_t PsdReader::ReadHeader(ImageFileInfo* info) {
  FinishReading();
  headerValid_ = false;
  rowTables_.Clear();
  uint8_t bytes[kPsdHeaderBytes];
  if (!ReadBytesAt(file_, 0, bytes, kPsdHeaderBytes)) return kErrGeneralData;
  header_ = ParsePsdHeader(bytes);
  samplesPerPixel_ = PsdSamplesPerPixel(header_.mode);
  xResolution_ = yResolution_ = kDefaultResolution;
  ReleaseProfileData();

  if (!LocatePsdSections(file_, &sections_)) return kErrOutOfMemory;
  if (header_.depth != 8 && header_.depth != 16) return kErrBadBitsPerSample;
  if (samplesPerPixel_ == 0) return kErrBadPhotometric;
  // Without columns or rows there is nothing to read, and band sizes would divide by zero.
  if (header_.width == 0) return kErrZeroWidth;
  if (header_.height == 0) return kErrZeroHeight;
  // The format's own limit: a larger claim is damage, and would make the
  // reduced drawing walk millions of missing columns.
  if (header_.width > kPsdMaxSide || header_.height > kPsdMaxSide) return kErrGeneralData;
  switch (rowTables_.Build(file_, header_, samplesPerPixel_, sections_.imageDataOffset)) {
    case PsdTablesResult::kOk: break;
    case PsdTablesResult::kNoMemory: return kErrOutOfMemory;
    case PsdTablesResult::kBadData: return kErrGeneralData;
  }
  ReadResolutionAndProfile();
  headerValid_ = true;

  if (info) {
    std::memset(info, 0, sizeof *info);
    info->width = header_.width;
    info->height = header_.height;
    info->xResolution = xResolution_;
    info->yResolution = yResolution_;
    info->samplesPerPixel = samplesPerPixel_;
    info->bitsPerSample = header_.depth;
  }
  return kReaderOk;
}

void PsdReader::ReadResolutionAndProfile() {
  std::vector<uint8_t> blocks = ReadPsdResources(file_, sections_);
  const uint32_t length = static_cast<uint32_t>(blocks.size());
  ImageResourceView view;
  if (FindImageResourceBlock(blocks.data(), length, kResolutionInfo, &view) && view.size >= 4) {
    // The integer part of the horizontal 16.16 value; a zero resolution is no resolution.
    uint32_t dpi = BigEndian32(view.data) >> 16;
    if (dpi != 0) xResolution_ = yResolution_ = dpi;
  }
  if (FindImageResourceBlock(blocks.data(), length, kIccProfile, &view) && view.size > 0) {
    try {
      profileData_.assign(view.data, view.data + view.size);
    } catch (const std::bad_alloc&) {
      ReleaseProfileData();
    }
  }
}

int16_t PsdReader::StartReading(uint32_t bandBytes) {
  FinishReading();
  if (!headerValid_) return kErrGeneralData;
  const uint32_t rowBytes = rowTables_.RowBytes();
  const uint64_t pixelRowBytes = uint64_t{samplesPerPixel_} * rowBytes;
  uint64_t rows = (bandBytes ? bandBytes : pixelRowBytes) / pixelRowBytes;
  bandRows_ = static_cast<uint32_t>(std::min<uint64_t>(std::max<uint64_t>(rows, 1), header_.height));
  if (header_.depth > 8) BuildGammaTables(kGammaTableBits, samplesPerPixel_);
  CreateColorTransform();
  planeBytes_ = size_t{rowBytes} * bandRows_;
  try {
    band_.resize(planeBytes_ * samplesPerPixel_);
    packedRow_.resize(rowTables_.Packed() ? rowTables_.LargestPackedRow() : 0);
  } catch (const std::bad_alloc&) {
    FinishReading();
    return kErrOutOfMemory;
  }
  reading_ = true;
  LoadBand(1);
  return kReaderOk;
}

void PsdReader::LoadBand(uint32_t firstLine) {
  const uint32_t count = std::min(bandRows_, header_.height - firstLine + 1);
  rowTables_.LoadRows(file_, firstLine - 1, count, band_.data(), planeBytes_, &packedRow_);
  bandFirstLine_ = firstLine;
  bandLastLine_ = firstLine + count - 1;
  const int32_t bytesPerSample = header_.depth / 8;
  const auto rowStride = static_cast<int32_t>(rowTables_.RowBytes() / bytesPerSample);
  const auto channelStride = static_cast<int32_t>(planeBytes_ / bytesPerSample);
  const auto width = static_cast<int32_t>(header_.width);
  if (header_.depth == 16) {
    ConvertLines16(reinterpret_cast<uint16_t*>(band_.data()), width, static_cast<int32_t>(count), samplesPerPixel_, 16,
                   rowStride, 1, channelStride);
  }
  CorrectLineColors(band_.data(), width, static_cast<int32_t>(count), samplesPerPixel_, header_.depth, rowStride, 1,
                    channelStride);
}

int16_t PsdReader::ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer, int32_t* count) {
  if (!reading_) return kErrGeneralData;
  if (samplesPerPixel_ == 1) channel = 0;
  int64_t wanted = std::min<int64_t>(*count, header_.width);
  wanted = std::min<int64_t>(wanted, int64_t{header_.width} - firstColumn);
  if (wanted < 1 || line == 0 || line > header_.height || channel < 0 || channel >= samplesPerPixel_) {
    return kErrGeneralData;
  }
  if (line < bandFirstLine_ || line > bandLastLine_) LoadBand(line);

  const size_t rowOffset = size_t{line - bandFirstLine_} * rowTables_.RowBytes();
  PlanarLine source{{nullptr, nullptr, nullptr}, header_.depth};
  for (int c = 0; c < samplesPerPixel_; ++c) source.planes[c] = band_.data() + c * planeBytes_ + rowOffset;
  const uint8_t* table = OutputTable(channel, header_.depth == 8 ? 256 : 16384);
  DeliverPlanarSamples(source, channel, greyOutput_ && samplesPerPixel_ == 3, firstColumn,
                       static_cast<uint32_t>(wanted), table, outputDepth_, buffer);
  *count = static_cast<int32_t>(wanted);
  return kReaderOk;
}

// The row tables stay with the header, so that reading can start again.
void PsdReader::FinishReading() {
  reading_ = false;
  std::vector<uint8_t>().swap(band_);
  std::vector<uint8_t>().swap(packedRow_);
  bandRows_ = bandFirstLine_ = bandLastLine_ = 0;
  planeBytes_ = 0;
}

bool PsdReader::ReadLines(void*, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes, int32_t pixelBytes) {
  if (!headerValid_) return false;
  return DrawReducedImage(header_.width, header_.height, bits, width, height, rowBytes, pixelBytes);
}

std::vector<uint8_t> PsdReader::ReadImageResource(uint16_t resourceId, uint8_t* name) {
  PsdSections sections;
  if (!LocatePsdSections(file_, &sections)) return {};
  std::vector<uint8_t> blocks = ReadPsdResources(file_, sections);
  return FindImageResource(resourceId, blocks.data(), static_cast<uint32_t>(blocks.size()), name);
}

std::vector<uint8_t> PsdReader::FindImageResource(uint16_t resourceId, const uint8_t* blocks, uint32_t length,
                                                  uint8_t* name) {
  return CopyImageResource(blocks, length, resourceId, name);
}
