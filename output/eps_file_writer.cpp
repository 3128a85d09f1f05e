#include "output/eps_file_writer.h"

#include <algorithm>
#include <cstring>

#include "color/pixel_layout.h"
#include "foundation/fixed_point.h"
#include "foundation/log/version_info.h"
#include "foundation/paths.h"
#include "foundation/round.h"
#include "frames/orientation/orient_image_block.h"
#include "output/eps_resources.h"
#include "output/eps_state.h"
#include "output/output_names.h"
#include "output/tiff_layout.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "records/session_block.h"
#include "session/band_producer.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

constexpr int16_t kTemplateMissing = -108;

bool WriteText(FileHandle file, uint64_t at, const std::string& text) {
  return text.empty() || WriteBytesAt(file, at, text.data(), static_cast<uint32_t>(text.size()));
}

bool SeparateFiles() { return gOutputFormat == kFormatDcs && gEps.dcsOptions.separateFiles; }

// The grey line of an EPSF row: ink for four channels, brightness for three, else the first plane.
void GreyLine(const uint8_t* line, uint32_t n, int32_t channels, uint8_t* grey) {
  for (uint32_t x = 0; x < n; ++x) {
    if (channels == 4)
      grey[x] = static_cast<uint8_t>(255 - (line[x] >> 2) - (line[n + x] >> 1) - (line[2 * n + x] >> 3) -
                                     (line[3 * n + x] >> 3));
    else if (channels == 3)
      grey[x] = static_cast<uint8_t>((line[x] >> 2) + (line[n + x] >> 1) + (line[2 * n + x] >> 2));
    else
      grey[x] = line[x];
  }
}

}  // namespace

bool CreateEpsOutputFile(int32_t index, int32_t plate, FileHandle* file, char* fileName) {
  *file = nullptr;
  char path[kPathSize];
  if (!LoadOutputPath(path)) return false;
  BuildOutputFileName(kWriterEpsDcs, path, plate, index, 1);
  DeleteFileAt(path);
  *file = OpenFileReadWrite(path);
  if (fileName) std::snprintf(fileName, sizeof EpsTarget::fileName, "%s", FileNamePart(path));
  return *file != nullptr;
}

void CloseEpsOutputFiles() {
  CloseFile(gEps.processedFile);
  gEps.processedFile = nullptr;
  if (gEps.previewWanted) {
    EndBufferedTarget(kEpsPreviewTarget);
    CloseFile(gEps.previewFile);
    gEps.previewFile = nullptr;
  }
  for (int32_t k = kEpsPlates - 1; k >= kEpsMasterTarget; --k) {
    EndBufferedTarget(k);
    CloseFile(EpsTargetAt(k).file);
    EpsTargetAt(k).file = nullptr;
  }
}

void DeleteEpsTempFiles() {
  char folder[kPathSize];
  if (!LoadOutputPath(folder)) return;
  for (int32_t plate = 0; plate < kEpsPlates; ++plate) {
    char path[kPathSize];
    std::memcpy(path, folder, sizeof path);
    BuildOutputFileName(kWriterEpsDcs, path, plate, 0, 1);
    DeleteFileAt(path);
  }
}

bool PatchDosEpsPostScriptLength() {
  FileHandle master = EpsTargetAt(kEpsMasterTarget).file;
  uint8_t header[kDosEpsHeaderSize];
  uint64_t size = 0;
  if (!ReadBytesAt(master, 0, header, sizeof header) || !GetFileSize(master, &size)) return false;
  PutLittle32(header + 8, static_cast<uint32_t>(size - GetLittle32(header + 4)));
  return WriteBytesAt(master, 0, header, sizeof header);
}

int16_t PlaceDcsPlatesInFile(const EpsTextInputs& image, std::string* master, uint32_t dataSize) {
  std::string tail;
  if (!LoadTextTemplate(kTextDcsPlateSectionTail, &tail)) return kTemplateMissing;
  const int offsetWidth = static_cast<int>(std::strlen(kPlateOffsetPlaceholder));
  const int sizeWidth = static_cast<int>(std::strlen(kPlateSizePlaceholder));
  EpsTarget& masterTarget = EpsTargetAt(kEpsMasterTarget);
  uint64_t at = uint64_t{masterTarget.start} + master->size();
  for (int32_t k = 0; k < kEpsPlates; ++k) {
    std::string header;
    if (!BuildDcsSingleFilePlateHeader(image, k, &header)) return kTemplateMissing;
    const uint64_t length = header.size() + uint64_t{dataSize} + tail.size();
    if (at + length > UINT32_MAX) return kTemplateMissing;
    EpsTarget& plate = EpsTargetAt(k);
    plate.start = static_cast<uint32_t>(at);
    plate.dataStart = static_cast<uint32_t>(at + header.size());
    plate.dataSize = dataSize;
    plate.tailStart = plate.dataStart + dataSize;
    plate.dataWritten = 0;
    char number[32];
    std::snprintf(number, sizeof number, "%0*lld", offsetWidth, static_cast<long long>(at));
    ReplacePlaceholder(master, kPlateOffsetPlaceholder, number, 1);
    std::snprintf(number, sizeof number, "%0*lld", sizeWidth, static_cast<long long>(length));
    ReplacePlaceholder(master, kPlateSizePlaceholder, number, 1);
    if (!WriteText(masterTarget.file, plate.start, header) || !WriteText(masterTarget.file, plate.tailStart, tail))
      return kTemplateMissing;
    at += length;
  }
  return 0;
}

bool WriteEpsDataLines(const uint8_t* buffer, int32_t lines, uint32_t n, int32_t channels) {
  std::vector<uint8_t> scratch(n);
  bool written = true;
  if (gOutputFormat == kFormatEpsf) {
    EpsTarget& master = EpsTargetAt(kEpsMasterTarget);
    const uint64_t rowBytes = uint64_t{static_cast<uint32_t>(channels) + 1} * n;
    for (int32_t i = 0; i < lines; ++i) {
      if (master.dataWritten + rowBytes > master.dataSize) break;
      const uint8_t* line = buffer + static_cast<uint64_t>(i) * channels * n;
      GreyLine(line, n, channels, scratch.data());
      written = BufferedWrite(kEpsMasterTarget, line, static_cast<uint32_t>(channels * n)) &&
                BufferedWrite(kEpsMasterTarget, scratch.data(), n);
      master.dataWritten += static_cast<uint32_t>(rowBytes);
      if (!written) break;
    }
  } else if (gOutputFormat == kFormatDcs) {
    // Plates hold the inverted ink values.
    for (int32_t k = 0; k < channels && k < kEpsPlates && written; ++k) {
      EpsTarget& plate = EpsTargetAt(k);
      for (int32_t i = 0; i < lines; ++i) {
        if (uint64_t{plate.dataWritten} + n > plate.dataSize) break;
        const uint8_t* plane = buffer + (static_cast<uint64_t>(i) * channels + k) * n;
        for (uint32_t x = 0; x < n; ++x) scratch[x] = static_cast<uint8_t>(255 - plane[x]);
        written = BufferedWrite(k, scratch.data(), n);
        plate.dataWritten += n;
        if (!written) break;
      }
    }
  }
  return written;
}

EpsFileWriter::EpsFileWriter() { interleave_ = 0; }

EpsFileWriter::~EpsFileWriter() {
  // A run that ended before its output was written leaves no open file and no temporary behind.
  CloseEpsOutputFiles();
  DeleteEpsTempFiles();
}

bool EpsFileWriter::OpenOutput() { return OpenEpsOutputFiles(index_, true); }

bool EpsFileWriter::OpenEpsOutputFiles(int16_t index, bool withTemporaries) {
  ResetEpsState();
  LoadDcsOptions(&gEps.dcsOptions);
  previewLine_.clear();
  bool made = true;
  EpsTarget& master = EpsTargetAt(kEpsMasterTarget);
  if (SeparateFiles()) {
    made = CreateEpsOutputFile(index, 0, &master.file, master.fileName);
    // Every file is attempted, so that none is missing for a reason that goes unseen.
    for (int32_t k = 0; k < kEpsPlates; ++k)
      made = CreateEpsOutputFile(index, k + 1, &EpsTargetAt(k).file, EpsTargetAt(k).fileName) && made;
  } else if (gOutputFormat == kFormatDcs || gOutputFormat == kFormatEpsf) {
    made = CreateEpsOutputFile(index, 0, &master.file, master.fileName);
    for (int32_t k = 0; k < kEpsPlates; ++k)
      std::memcpy(EpsTargetAt(k).fileName, master.fileName, sizeof master.fileName);
  } else {
    return false;
  }
  if (!made || !withTemporaries) return made;
  if (!CreateEpsOutputFile(0, 0, &gEps.processedFile, nullptr)) return false;
  gEps.processedAt = 0;
  if (!gEps.previewWanted) return true;
  return CreateEpsOutputFile(0, 1, &gEps.previewFile, nullptr) && WriteEpsPreviewHeader();
}

uint32_t EpsFileWriter::PreviewPixelBytes() const {
  return static_cast<uint32_t>(uint64_t{gEps.previewColumns} * gEps.previewRows * samplesPerPixel_ *
                               bitsPerChannel_ / 8);
}

bool EpsFileWriter::WriteEpsPreviewHeader() {
  // Sized in frame order, as the rows arrive; the header describes the preview turned as the output is.
  double columns = columns_, rows = rows_;
  if (gScanFrame.outputResolution > 72) {
    columns = TruncRound(columns * 0.72);
    rows = TruncRound(rows * 0.72);
  }
  const double f = std::max(columns, rows) * 0.001953125;
  if (f > 1.0) {
    columns = TruncRound(columns / f);
    rows = TruncRound(rows / f);
  }
  gEps.previewColumns = static_cast<uint16_t>(std::max(1.0, columns));
  gEps.previewRows = static_cast<uint16_t>(std::max(1.0, rows));
  gEps.previewStep = static_cast<double>(columns_) / gEps.previewColumns;

  char texts[2 * kTiffTextSize];
  GetImageTextFields(texts);
  TiffHeaderParams params;
  const bool turned = Flags().exchangeAxes != 0;
  params.rows = turned ? gEps.previewColumns : gEps.previewRows;
  params.columns = turned ? gEps.previewRows : gEps.previewColumns;
  params.samplesPerPixel = samplesPerPixel_;
  params.bitsPerChannel = bitsPerChannel_;
  params.zirOutput = IsZirData(gScanFrame);
  params.outputCmsMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  params.outputStaysRgb = samplesPerPixel_ != 4;
  params.outputResolution = gScanFrame.outputResolution;
  params.colorMode = gScanFrame.colorMode;
  params.documentName = texts;
  params.artist = texts + kTiffTextSize;
  uint8_t header[kTiffHeaderBlockSize];
  BuildTiffHeader(header, params);
  // The preview carries no resources: readers refuse an empty resource entry.
  RemoveResourceEntry(header);
  if (!WriteBytesAt(gEps.previewFile, 0, header, kTiffHeaderWritten)) return false;
  BeginBufferedTarget(kEpsPreviewTarget, gEps.previewFile, kTiffHeaderWritten);
  return true;
}

bool EpsFileWriter::AddPreviewRows(const uint8_t* band, int32_t rows) {
  const int32_t channels = samplesPerPixel_, bits = bitsPerChannel_;
  const uint64_t lineBytes = ProcessedRowBytes();
  const uint32_t pixelBytes = static_cast<uint32_t>(channels * bits / 8);
  const uint32_t previewBytes = gEps.previewColumns * pixelBytes;
  std::vector<uint8_t> line(lineBytes);
  bool written = true;
  for (int32_t r = 0; r < rows && written; ++r, ++gEps.sourceRow) {
    if (gEps.previewRow >= gEps.previewRows) break;
    if (gEps.sourceRow != TruncRound(gEps.previewRow * gEps.previewStep)) continue;
    const uint8_t* row = band + lineBytes * static_cast<uint64_t>(r);
    if (bits == 16 && channels == 3)
      Planar3ToInterleaved16(reinterpret_cast<const uint16_t*>(row), reinterpret_cast<uint16_t*>(line.data()), 1,
                             columns_);
    else if (bits == 16 && channels == 4)
      Planar4ToInterleaved16(reinterpret_cast<const uint16_t*>(row), reinterpret_cast<uint16_t*>(line.data()), 1,
                             columns_);
    else if (channels == 3)
      Planar3ToInterleaved8(row, line.data(), 1, columns_);
    else if (channels == 4)
      Planar4ToInterleaved8(row, line.data(), 1, columns_);
    else
      std::memcpy(line.data(), row, lineBytes);
    if (gEps.previewStep > 1.0)
      for (int32_t x = 0; x < gEps.previewColumns; ++x) {
        const int32_t from = std::min(TruncRound(x * gEps.previewStep), columns_ - 1);
        std::memmove(&line[x * pixelBytes], &line[static_cast<size_t>(from) * pixelBytes], pixelBytes);
      }
    written = BufferedWrite(kEpsPreviewTarget, line.data(), previewBytes);
    previewLine_.assign(line.begin(), line.begin() + previewBytes);
    ++gEps.previewRow;
  }
  return written;
}

bool EpsFileWriter::CompletePreviewRows() {
  if (previewLine_.empty()) return gEps.previewRow >= gEps.previewRows;
  bool written = true;
  for (; written && gEps.previewRow < gEps.previewRows; ++gEps.previewRow)
    written = BufferedWrite(kEpsPreviewTarget, previewLine_.data(), static_cast<uint32_t>(previewLine_.size()));
  return written;
}

bool EpsFileWriter::WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) {
  if (bytes == 0) return true;
  const bool written = bytes <= UINT32_MAX &&
                       WriteBytesAt(gEps.processedFile, gEps.processedAt, buffer, static_cast<uint32_t>(bytes));
  gEps.processedAt += bytes;
  if (gEps.previewWanted) AddPreviewRows(buffer, rows);
  return written;
}

bool EpsFileWriter::WriteOutputLines(const uint8_t* buffer, uint64_t, int32_t rows, int32_t columns) {
  const uint32_t n = static_cast<uint32_t>(columns) * (bitsPerChannel_ == 16 ? 2 : 1);
  return WriteEpsDataLines(buffer, rows, n, samplesPerPixel_);
}

bool EpsFileWriter::WriteDosEpsHeaderAndPreview() {
  uint64_t size = 0;
  const uint32_t pixels = PreviewPixelBytes();
  if (!GetFileSize(gEps.previewFile, &size) || size < uint64_t{kTiffHeaderWritten} + pixels || size > UINT32_MAX)
    return false;
  const uint32_t t = static_cast<uint32_t>(size);
  uint8_t header[kDosEpsHeaderSize] = {};
  PutLittle32(header, kDosEpsMagic);
  PutLittle32(header + 4, kDosEpsHeaderSize + t);
  PutLittle32(header + 20, kDosEpsHeaderSize);
  PutLittle32(header + 24, t);
  PutLittle16(header + 28, 0xFFFF);
  FileHandle master = EpsTargetAt(kEpsMasterTarget).file;
  if (!WriteBytesAt(master, 0, header, sizeof header)) return false;
  std::vector<uint8_t> preview(t), oriented(pixels);
  if (!ReadBytesAt(gEps.previewFile, 0, preview.data(), t)) return false;
  const uint32_t pixelsAt = t - pixels;
  const WriterOrientation& flags = Flags();
  OrientImageBlock(&preview[pixelsAt], oriented.data(), gEps.previewRows, gEps.previewColumns,
                   samplesPerPixel_ * bitsPerChannel_, flags.reverseEachRow, flags.reverseRowOrder,
                   flags.exchangeAxes, true, 0);
  std::memcpy(&preview[pixelsAt], oriented.data(), pixels);
  return WriteBytesAt(master, kDosEpsHeaderSize, preview.data(), t);
}

EpsTextInputs EpsFileWriter::TextInputs(const PanePreview& preview) const {
  EpsTextInputs image;
  image.columns = OutputColumns();
  image.rows = OutputRows();
  image.channels = samplesPerPixel_;
  image.resolutionX = FixToDouble(gSession->horizontalResolution);
  image.resolutionY = FixToDouble(gSession->verticalResolution);
  if (Flags().exchangeAxes) std::swap(image.resolutionX, image.resolutionY);
  image.time = EpsLocalTimeNow();
  char version[256];
  ReadFileVersion(version);
  image.appName = version;
  BuildImageResourcesBlock(preview, gScanFrame.outputResolution, &image.resources);
  const uint8_t* profile = profileData_ ? profileData_->data : nullptr;
  BuildIccProfileBlock(profile, profileSize_, &image.profile);
  return image;
}

bool EpsFileWriter::WriteEpsPostScript(const PanePreview& preview) {
  EpsTarget& master = EpsTargetAt(kEpsMasterTarget);
  uint64_t size = 0;
  if (!GetFileSize(master.file, &size) || size > UINT32_MAX) return false;
  master.start = static_cast<uint32_t>(size);
  const EpsTextInputs image = TextInputs(preview);
  const uint64_t plane = uint64_t{static_cast<uint32_t>(image.columns)} * static_cast<uint32_t>(image.rows);
  std::string text, tail;
  if (gOutputFormat == kFormatEpsf) {
    const uint64_t dataSize = plane * (static_cast<uint32_t>(image.channels) + 1);
    if (!BuildEpsCompositeHeader(image, &text) || !LoadTextTemplate(kTextEpsCompositeTail, &tail)) return false;
    if (master.start + text.size() + dataSize + tail.size() > UINT32_MAX) return false;
    master.dataStart = static_cast<uint32_t>(master.start + text.size());
    master.dataSize = static_cast<uint32_t>(dataSize);
    master.tailStart = master.dataStart + master.dataSize;
    master.dataWritten = 0;
    BeginBufferedTarget(kEpsMasterTarget, master.file, master.dataStart);
    return WriteText(master.file, master.start, text) && WriteText(master.file, master.tailStart, tail);
  }
  if (gOutputFormat != kFormatDcs || plane > UINT32_MAX) return false;
  if (!SeparateFiles()) {
    if (!BuildDcsSingleFileMaster(image, &text) ||
        PlaceDcsPlatesInFile(image, &text, static_cast<uint32_t>(plane)) != 0 ||
        !WriteText(master.file, master.start, text))
      return false;
    for (int32_t k = 0; k < kEpsPlates; ++k) BeginBufferedTarget(k, master.file, EpsTargetAt(k).dataStart);
    return true;
  }
  if (!BuildDcsMultiFileMaster(image, &text) || !WriteText(master.file, master.start, text) ||
      !LoadTextTemplate(kTextDcsPlateFileTail, &tail))
    return false;
  // A DCS file is of use only with all four plates.
  for (int32_t k = 0; k < kEpsPlates; ++k) {
    EpsTarget& plate = EpsTargetAt(k);
    if (!BuildDcsPlateFileHeader(image, k, &text) || text.size() + plane + tail.size() > UINT32_MAX) return false;
    plate.start = 0;
    plate.dataStart = static_cast<uint32_t>(text.size());
    plate.dataSize = static_cast<uint32_t>(plane);
    plate.tailStart = plate.dataStart + plate.dataSize;
    plate.dataWritten = 0;
    BeginBufferedTarget(k, plate.file, plate.dataStart);
    if (!WriteText(plate.file, 0, text) || !WriteText(plate.file, plate.tailStart, tail)) return false;
  }
  return true;
}

bool EpsFileWriter::WriteOutput(const PanePreview& preview) {
  bool written = !gEps.previewWanted || CompletePreviewRows();
  EndBufferedTarget(kEpsPreviewTarget);
  written = written && (!gEps.previewWanted || WriteDosEpsHeaderAndPreview());
  written = written && WriteEpsPostScript(preview) && CopyLinesToOutput(gEps.processedFile, index_, count_);
  // The data reach the files before the length is taken.
  for (int32_t k = kEpsMasterTarget; written && k < kEpsPlates; ++k) written = FlushBufferedTarget(k);
  written = written && (!gEps.previewWanted || PatchDosEpsPostScriptLength());
  CloseEpsOutputFiles();
  DeleteEpsTempFiles();
  return written;
}
