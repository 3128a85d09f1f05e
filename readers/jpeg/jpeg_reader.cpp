#include "readers/jpeg/jpeg_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "color/color_management.h"
#include "readers/jpeg/jpeg_app13_table.h"
#include "readers/jpeg/jpeg_scale.h"
#include "readers/planar_samples.h"
#include "readers/psd/psd_format.h"
#include "readers/reader_errors.h"

static_assert(sizeof(ImageFileInfo) == kDecodedLinesInfoBytes, "the decoded-lines header holds the whole record");

namespace {

constexpr int kIccMarker = 0xE2;        // APP2
constexpr int kResourcesMarker = 0xED;  // APP13
constexpr uint32_t kGammaTableBits = 14;

// The 8-bit build refuses 12-bit data with a precision error: such files
// are read with the 12-bit build.
uint16_t ProbePrecision(FileHandle file) {
  const JpegLibrary& eight = JpegLibraryFor(8);
  JpegObject* probe = eight.createDecompress();
  if (!probe) return 8;
  bool headerOk = false;
  bool read = eight.fileSource(probe, file) && eight.readHeader(probe, true, &headerOk);
  uint16_t precision = !read && JpegLastError(probe).messageCode == JpegCodes().badPrecision ? 12 : 8;
  eight.freeObject(probe);
  return precision;
}

}  // namespace

JpegReader::JpegReader(const char* path, uint16_t targetSize)
    : ImageFileReader(path), path_(path), targetSize_(targetSize) {
  if (file_) precision_ = ProbePrecision(file_);
}

JpegReader::~JpegReader() {
  FinishReading();
  ReleaseApp13(this);
}

bool JpegReader::IsHighBitDepth() { return precision_ > 8; }

void JpegReader::ReleaseProfileData() {
  ImageFileReader::ReleaseProfileData();
  iccChunks_.Reset();
}

void JpegReader::AddProfileChunk(const uint8_t* data, uint32_t size, uint8_t number, uint8_t count) {
  iccChunks_.AddChunk(IccMarkerChunk{number, count, data, size});
}

void JpegReader::OnAppMarker(void* context, int marker, const uint8_t* data, uint32_t size) {
  auto* reader = static_cast<JpegReader*>(context);
  if (marker == kResourcesMarker) {
    SaveApp13(reader, data, size);
    return;
  }
  // Other APP2 markers (FlashPix, multi-picture data) leave the profile alone.
  IccMarkerChunk chunk;
  if (ParseIccMarker(data, size, &chunk)) reader->AddProfileChunk(chunk.data, chunk.size, chunk.number, chunk.count);
}

JpegObject* JpegReader::OpenDecoder() {
  const JpegLibrary& lib = Library();
  JpegObject* decoder = lib.createDecompress();
  if (!decoder) return nullptr;
  JpegShowMessages(decoder, targetSize_ == 0);
  ReleaseProfileData();
  bool headerOk = false;
  if (!lib.setMarkerProcessor(decoder, kIccMarker, OnAppMarker, this) ||
      !lib.setMarkerProcessor(decoder, kResourcesMarker, OnAppMarker, this) || !lib.fileSource(decoder, file_) ||
      !lib.readHeader(decoder, true, &headerOk) || !headerOk) {
    lib.freeObject(decoder);
    ReleaseProfileData();
    return nullptr;
  }
  // Only a profile whose every chunk arrived is used.
  if (iccChunks_.Complete()) {
    try {
      profileData_ = iccChunks_.Profile();
    } catch (const std::bad_alloc&) {
      ReleaseProfileData();
    }
  }
  return decoder;
}

bool JpegReader::SetOutputSize(JpegObject* decoder, uint32_t* denominator) {
  const JpegLibrary& lib = Library();
  JpegDecodeInfo decoded;
  if (!lib.getDecodeInfo(decoder, &decoded)) return false;
  JpegDecodeSettings settings;
  settings.scaleDenominator =
      targetSize_ ? ChooseScaleDenominator(decoded.imageWidth, decoded.imageHeight, targetSize_) : 1;
  settings.floatDct = true;
  *denominator = settings.scaleDenominator;
  return lib.applySettings(decoder, settings) && lib.calcOutputDimensions(decoder);
}

void JpegReader::Describe(const JpegDecodeInfo& decoded, uint32_t denominator, ImageFileInfo* info) const {
  // Whole record zeroed: the decoded-lines file compares it byte for byte.
  std::memset(info, 0, sizeof *info);
  info->width = decoded.outputWidth;
  info->height = decoded.outputHeight;
  info->xResolution = info->yResolution =
      JfifResolution(decoded.sawJfif, decoded.densityUnit, decoded.xDensity, denominator);
  info->samplesPerPixel = static_cast<uint16_t>(decoded.outputComponents);
  info->bitsPerSample = precision_ == 12 ? 16 : 8;
}

int16_t JpegReader::ReadHeader(ImageFileInfo* info) {
  JpegObject* decoder = OpenDecoder();
  if (!decoder) return kReaderLibraryMessageShown;
  const JpegLibrary& lib = Library();
  JpegDecodeInfo decoded;
  uint32_t denominator = 1;
  int16_t result = kReaderOk;
  if (!lib.getDecodeInfo(decoder, &decoded)) {
    result = kReaderLibraryMessageShown;
  } else if (decoded.outColorSpace == JpegColorSpace::kOther) {
    result = kErrBadPhotometric;
  } else if (!SetOutputSize(decoder, &denominator) || !lib.getDecodeInfo(decoder, &decoded)) {
    result = kReaderLibraryMessageShown;
  } else if (info) {
    Describe(decoded, denominator, info);
  }
  lib.freeObject(decoder);
  return result;
}

int16_t JpegReader::StartReading(uint32_t bandBytes) {
  FinishReading();
  decoder_ = OpenDecoder();
  if (!decoder_) return kReaderLibraryMessageShown;
  const JpegLibrary& lib = Library();
  JpegDecodeInfo decoded;
  uint32_t denominator = 1;
  if (!lib.getDecodeInfo(decoder_, &decoded)) {
    CloseDecoder();
    return kReaderLibraryMessageShown;
  }
  if (decoded.outColorSpace == JpegColorSpace::kOther) {
    CloseDecoder();
    return kErrBadPhotometric;
  }
  if (!SetOutputSize(decoder_, &denominator) || !lib.getDecodeInfo(decoder_, &decoded)) {
    CloseDecoder();
    return kReaderLibraryMessageShown;
  }
  width_ = decoded.outputWidth;
  height_ = decoded.outputHeight;
  components_ = decoded.outputComponents;
  const size_t lineBytes = size_t{width_} * components_ * lib.sampleBytes;
  try {
    decodeBuffer_.resize(lineBytes);
    lineBuffer_.resize(lineBytes);
  } catch (const std::bad_alloc&) {
    CloseDecoder();
    return kErrOutOfMemory;
  }

  // The stored lines are already corrected: the corrections are part of the file's key.
  if (precision_ > 8) BuildGammaTables(kGammaTableBits, components_);
  CreateColorTransform();
  ImageFileInfo info;
  Describe(decoded, denominator, &info);
  FileStamp stamp{};
  GetFileStamp(path_.c_str(), &stamp);
  const DecodedLinesLayout layout{path_.c_str(), reinterpret_cast<const uint8_t*>(&info), stamp, CorrectionsKey(),
                                  static_cast<uint32_t>(lineBytes), height_};
  // Without the file the reader still starts; its lines then fail.
  decodedLines_.Open(bandBytes == 0, layout);

  // A complete file from an earlier reader needs no decoding.
  if (!decodedLines_.IsComplete() && !lib.startDecompress(decoder_)) {
    CloseDecoder();
    return kReaderLibraryMessageShown;
  }
  dataEndLine_ = 0;
  reading_ = true;
  return kReaderOk;
}

// FNV-1a over what DecodeForward applies to the lines: the gamma tables, the
// colour-management mode and, with a transform, its source profile.
uint64_t JpegReader::CorrectionsKey() const {
  uint64_t key = 14695981039346656037ull;
  auto mix = [&key](const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) key = (key ^ bytes[i]) * 1099511628211ull;
  };
  const uint16_t mode = InputColorManagementMode();
  const bool transform = colorTransform_ != nullptr;
  mix(&mode, sizeof mode);
  mix(&transform, sizeof transform);
  if (transform) mix(profileData_.data(), profileData_.size());
  for (int channel = 0; channel < 4; ++channel) {
    mix(&gammaTableBits_[channel], sizeof gammaTableBits_[channel]);
    mix(gammaTables_[channel].data(), gammaTables_[channel].size() * sizeof(uint16_t));
  }
  return key;
}

bool JpegReader::DecodeForward(uint32_t lines) {
  const JpegLibrary& lib = Library();
  const auto width = static_cast<int32_t>(width_);
  const int32_t rowSamples = width * components_;
  const int bits = precision_ == 12 ? 16 : 8;
  const size_t sampleBytes = static_cast<size_t>(lib.sampleBytes);
  JpegDecodeInfo decoded;
  for (uint32_t i = 0; i < lines; ++i) {
    if (!lib.getDecodeInfo(decoder_, &decoded)) return false;
    const uint32_t line = decoded.outputScanline + 1;
    if (line > height_) break;
    // A cut or damaged file would otherwise be decoded from nothing down to the
    // height its header claims (up to 65535 lines of filler); the lines the
    // library built from the last data are kept.
    if (decoded.dataEnded && !decoded.multipleScans && dataEndLine_ == 0) dataEndLine_ = line + kLinesAfterDataEnd;
    if (dataEndLine_ != 0 && line > dataEndLine_) break;
    if (!lib.readScanline(decoder_, decodeBuffer_.data())) return false;
    if (precision_ == 12) {
      auto* samples = reinterpret_cast<uint16_t*>(decodeBuffer_.data());
      for (int32_t k = 0; k < rowSamples; ++k) samples[k] = static_cast<uint16_t>(samples[k] << 4);
      ConvertLines16(samples, width, 1, components_, bits, rowSamples, components_, 1);
    }
    CorrectLineColors(decodeBuffer_.data(), width, 1, components_, bits, rowSamples, components_, 1);
    // Interleaved samples into one plane per channel.
    for (int c = 0; c < components_; ++c) {
      uint8_t* plane = lineBuffer_.data() + c * size_t{width_} * sampleBytes;
      for (uint32_t x = 0; x < width_; ++x) {
        std::memcpy(plane + x * sampleBytes, decodeBuffer_.data() + (size_t{x} * components_ + c) * sampleBytes,
                    sampleBytes);
      }
    }
    if (!decodedLines_.WriteLine(line, lineBuffer_.data())) return false;
    if (line == height_) decodedLines_.MarkComplete();
  }
  return true;
}

int16_t JpegReader::ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer, int32_t* count) {
  if (!reading_) return kErrGeneralData;
  if (components_ == 1) channel = 0;
  int64_t wanted = std::min<int64_t>(*count, width_);
  wanted = std::min<int64_t>(wanted, int64_t{width_} - firstColumn);
  if (wanted < 1 || line == 0 || line > height_ || channel < 0 || channel >= components_) return kErrGeneralData;
  if (!decodedLines_.IsOpen()) return kErrGeneralData;
  if (!decodedLines_.IsComplete()) {
    JpegDecodeInfo decoded;
    if (!Library().getDecodeInfo(decoder_, &decoded)) return kReaderLibraryMessageShown;
    if (line > decoded.outputScanline && !DecodeForward(line - decoded.outputScanline)) return kReaderLibraryMessageShown;
    if (dataEndLine_ != 0 && line > dataEndLine_) return kErrGeneralData;
  }
  if (!decodedLines_.ReadLine(line, lineBuffer_.data())) return kErrGeneralData;

  const size_t planeBytes = size_t{width_} * Library().sampleBytes;
  PlanarLine source{{nullptr, nullptr, nullptr}, precision_ == 12 ? 16 : 8};
  for (int c = 0; c < components_ && c < 3; ++c) source.planes[c] = lineBuffer_.data() + c * planeBytes;
  const uint8_t* table = OutputTable(channel, source.bits == 8 ? 256 : 16384);
  DeliverPlanarSamples(source, channel, greyOutput_ && components_ == 3, firstColumn, static_cast<uint32_t>(wanted),
                       table, outputDepth_, buffer);
  *count = static_cast<int32_t>(wanted);
  return kReaderOk;
}

void JpegReader::CloseDecoder() {
  if (decoder_) Library().freeObject(decoder_);
  decoder_ = nullptr;
}

void JpegReader::FinishReading() {
  reading_ = false;
  CloseDecoder();
  std::vector<uint8_t>().swap(decodeBuffer_);
  std::vector<uint8_t>().swap(lineBuffer_);
  decodedLines_.Close();
}

bool JpegReader::ReadLines(void*, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes, int32_t pixelBytes) {
  if (!reading_) return false;
  return DrawReducedImage(width_, height_, bits, width, height, rowBytes, pixelBytes);
}

std::vector<uint8_t> JpegReader::ReadImageResource(uint16_t resourceId, uint8_t* name) {
  const std::vector<uint8_t>* content = FindApp13(this);
  if (!content) return {};
  static const uint8_t kSignature[4] = {'8', 'B', 'I', 'M'};
  auto start = std::search(content->begin(), content->end(), kSignature, kSignature + 4);
  if (content->end() - start < 7) return {};
  const uint8_t* blocks = &*start;
  ImageResourceView view;
  if (!FindImageResourceBlock(blocks, static_cast<uint32_t>(content->end() - start), resourceId, &view)) return {};
  if (name) std::memcpy(name, view.name, size_t{view.name[0]} + 1);
  try {
    return std::vector<uint8_t>(view.data, view.data + view.size);
  } catch (const std::bad_alloc&) {
    return {};
  }
}
