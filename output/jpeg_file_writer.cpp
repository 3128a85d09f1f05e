#include "output/jpeg_file_writer.h"

#include <cstring>

#include "output/jpeg_markers.h"
#include "output/jpeg_options.h"
#include "output/output_names.h"
#include "readers/jpeg/jpeg_glue.h"
#include "records/session_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr int kApp2Marker = 0xE2;
constexpr int kApp13Marker = 0xED;

// The session's pixel kinds that JPEG takes.
enum : int16_t { kKindGrey = 1, kKindRgb = 3, kKindCmyk = 4, kKindGrey12 = 10, kKindRgb12 = 11 };

int16_t SessionPixelKind() { return gSession ? gSession->imageMode : 0; }

}  // namespace

JpegFileWriter::JpegFileWriter() { interleave_ = 1; }

JpegFileWriter::~JpegFileWriter() {
  if (compressor_) library_->freeObject(compressor_);
  CloseTemporary();
  CloseFile(outputFile_);
  // A failed file is not left half written.
  if (outputMade_ && !finished_) DeleteJpegFile(index_);
}

void JpegFileWriter::CloseTemporary() {
  CloseFile(tempFile_);
  tempFile_ = nullptr;
  if (tempMade_) DeleteJpegFile(0);
  tempMade_ = false;
}

bool JpegFileWriter::OpenOutput() {
  tempMade_ = OpenJpegFile(0, &tempFile_);
  tempAt_ = 0;
  return tempMade_;
}

bool JpegFileWriter::WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t) {
  if (bytes == 0) return true;
  const bool written = bytes <= UINT32_MAX && WriteBytesAt(tempFile_, tempAt_, buffer, static_cast<uint32_t>(bytes));
  tempAt_ += bytes;
  return written;
}

uint32_t JpegFileWriter::ProgressTitleId(bool mirror, bool rotate) const {
  if (rotate) return kTurnTitleString;
  if (mirror) return kMirrorTitleString;
  return kCompressTitleString;
}

bool JpegFileWriter::SetupCompression() {
  JpegImageShape shape = {};
  switch (SessionPixelKind()) {
    case kKindGrey:
    case kKindGrey12:
      shape.components = 1;
      shape.colorSpace = JpegColorSpace::kGrey;
      break;
    case kKindRgb:
    case kKindRgb12:
      shape.components = 3;
      shape.colorSpace = JpegColorSpace::kRgb;
      break;
    case kKindCmyk:
      shape.components = 4;
      shape.colorSpace = JpegColorSpace::kOther;
      break;
    default:
      return false;
  }
  shape.width = static_cast<uint32_t>(OutputColumns());
  shape.height = static_cast<uint32_t>(OutputRows());
  imageRows_ = shape.height;
  if (!library_->setDefaults(compressor_, shape)) return false;
  JpegOptions options;
  LoadJpegOptions(&options);
  if (!library_->setQuality(compressor_, options.quality, options.baseline != 0)) return false;
  JpegEncodeOptions encode;
  encode.densityUnit = 1;
  // 16.16 dots per inch, truncated.
  encode.xDensity = static_cast<uint16_t>(gSession->horizontalResolution >> 16);
  encode.yDensity = static_cast<uint16_t>(gSession->verticalResolution >> 16);
  // The 12-bit library needs optimal tables: its default ones do not cover 12-bit coefficients.
  encode.optimizeCoding = options.optimised != 0 || precision_ == 12;
  if (!library_->setEncodeOptions(compressor_, encode)) return false;
  return !options.progressive || library_->simpleProgression(compressor_);
}

bool JpegFileWriter::WriteMarker(int marker, const std::vector<uint8_t>& content) {
  bool ok = library_->writeMarkerHeader(compressor_, marker, static_cast<uint32_t>(content.size()));
  for (size_t i = 0; ok && i < content.size(); ++i) ok = library_->writeMarkerByte(compressor_, content[i]);
  return ok;
}

void JpegFileWriter::WritePhotoshopMarker(const PanePreview& preview) {
  const int32_t width = RectWidth(preview.thumbnailRect), height = RectHeight(preview.thumbnailRect);
  if (!preview.thumbnail || width <= 0 || height <= 0) return;
  const std::vector<uint8_t> marker =
      BuildPhotoshopMarker(preview.thumbnail, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  if (!marker.empty()) WriteMarker(kApp13Marker, marker);
}

void JpegFileWriter::WriteIccMarkers() {
  if (!profileData_ || profileSize_ == 0) return;
  const uint32_t count = IccMarkerCount(profileSize_);
  // The chunk numbers are bytes: a larger profile cannot be carried.
  if (count > 255) return;
  const uint8_t* profile = static_cast<const uint8_t*>(profileData_->data);
  for (uint32_t number = 1; number <= count; ++number)
    if (!WriteMarker(kApp2Marker, BuildIccMarker(profile, profileSize_, number))) return;
}

bool JpegFileWriter::WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t rows, int32_t columns) {
  if (rows <= 0) return true;
  const size_t samples = static_cast<size_t>(columns) * static_cast<size_t>(samplesPerPixel_);
  const bool wide = bitsPerChannel_ == 16;
  const size_t rowBytes = samples * (wide ? 2 : 1);
  if (bytes < rowBytes * static_cast<uint64_t>(rows)) return false;
  row_.resize(rowBytes);
  for (int32_t r = 0; r < rows && rowsTaken_ < imageRows_; ++r) {
    std::memcpy(row_.data(), buffer + rowBytes * static_cast<size_t>(r), rowBytes);
    if (wide) {
      // 16 to 12 bits.
      uint16_t* words = reinterpret_cast<uint16_t*>(row_.data());
      for (size_t i = 0; i < samples; ++i) words[i] = static_cast<uint16_t>(words[i] >> 4);
    } else if (samplesPerPixel_ == 4) {
      // CMYK goes into the file inverted, as Adobe's CMYK JPEGs hold it.
      for (uint8_t& value : row_) value = static_cast<uint8_t>(255 - value);
    }
    if (!library_->writeScanline(compressor_, row_.data())) return false;
    ++rowsTaken_;
  }
  return true;
}

bool JpegFileWriter::Compress(const PanePreview& preview) {
  const int16_t kind = SessionPixelKind();
  precision_ = kind == kKindGrey12 || kind == kKindRgb12 ? 12 : 8;
  library_ = &JpegLibraryFor(precision_);
  compressor_ = library_->createCompress();
  if (!compressor_ || !library_->fileDestination(compressor_, outputFile_) || !SetupCompression() ||
      !library_->startCompress(compressor_, true))
    return false;
  WritePhotoshopMarker(preview);
  WriteIccMarkers();
  rowsTaken_ = 0;
  return CopyLinesToOutput(tempFile_, index_, count_) && library_->finishCompress(compressor_);
}

bool JpegFileWriter::WriteOutput(const PanePreview& preview) {
  outputMade_ = OpenJpegFile(index_, &outputFile_);
  const bool written = outputMade_ && Compress(preview);
  if (compressor_) library_->freeObject(compressor_);
  compressor_ = nullptr;
  CloseTemporary();
  CloseFile(outputFile_);
  outputFile_ = nullptr;
  finished_ = written;
  return written;
}
