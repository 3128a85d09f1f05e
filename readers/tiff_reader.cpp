#include "readers/tiff_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <set>
#include <utility>

#include "foundation/round.h"
#include "readers/psd/psd_format.h"
#include "readers/reader_errors.h"

namespace {

// A refusal of the header parse, carrying the id of its error text.
struct TiffRefusal {
  int16_t id;
};

[[noreturn]] void Refuse(int16_t id) { throw TiffRefusal{id}; }

enum TiffTag : uint16_t {
  kNewSubfileType = 254,
  kSubfileType = 255,
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kImageDescription = 270,
  kDocumentName = 269,
  kStripOffsets = 273,
  kOrientation = 274,
  kSamplesPerPixel = 277,
  kRowsPerStrip = 278,
  kStripByteCounts = 279,
  kXResolution = 282,
  kYResolution = 283,
  kPlanarConfiguration = 284,
  kResolutionUnit = 296,
  kArtist = 315,
  kTileWidth = 322,
  kTileLength = 323,
  kTileOffsets = 324,
  kTileByteCounts = 325,
  kImageResources = 34377,
  kIccProfile = 34675,
};

constexpr uint32_t kMinTiledBandBytes = 1000000;
constexpr uint32_t kResolutionUnitCentimetre = 3;
constexpr uint32_t kDefaultDpi = 72;
// A chain longer than this, or one that comes back to an IFD, is cut.
constexpr size_t kMaxDirectories = 256;

uint32_t CeilDiv(uint32_t a, uint32_t b) { return static_cast<uint32_t>((uint64_t{a} + b - 1) / b); }

bool IsReadableDepth(uint16_t bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16; }

// A 16-bit sample as delivered: through the output table (indexed by the
// sample >> 2) when there is one, as a word at output depth 16, else its high byte.
void PutSample16(uint32_t value, const uint8_t* table, int16_t outputDepth, void* buffer, int32_t k) {
  if (table) {
    const uint8_t entry = table[value >> 2];
    if (outputDepth == 16) {
      static_cast<uint16_t*>(buffer)[k] = static_cast<uint16_t>(entry * 256);
    } else {
      static_cast<uint8_t*>(buffer)[k] = entry;
    }
  } else if (outputDepth == 16) {
    static_cast<uint16_t*>(buffer)[k] = static_cast<uint16_t>(value);
  } else {
    static_cast<uint8_t*>(buffer)[k] = static_cast<uint8_t>(value >> 8);
  }
}

}  // namespace

void TiffReader::TileCache::Reset() {
  for (int plane = 0; plane < 4; ++plane) {
    std::vector<uint8_t>().swap(buffer[plane]);
    tileNumber[plane] = -1;
    shortRead[plane] = false;
  }
}

TiffReader::TiffReader(const char* path, bool reducedMode) : ImageFileReader(path, reducedMode) {}

TiffReader::~TiffReader() = default;

uint32_t TiffReader::RowBytes() const {
  return static_cast<uint32_t>(
      (uint64_t{layout_.width} * layout_.samplesPerPixel * layout_.bitsPerSample + 7) / 8);
}

bool TiffReader::IsHighBitDepth() { return layout_.bitsPerSample > 8; }

// ---------------------------------------------------------------- header

int16_t TiffReader::ReadHeader(ImageFileInfo* info) {
  // A band sized for the previous header must not be read with the new one.
  FinishReading();
  headerValid_ = false;
  reducedFound_ = false;
  Layout layout;
  try {
    ChooseDirectory();
    ParseDirectory(&layout);
  } catch (const TiffRefusal& refusal) {
    return refusal.id;
  } catch (const std::bad_alloc&) {
    return kErrOutOfMemory;
  }
  layout_ = std::move(layout);
  headerValid_ = true;
  if (info) {
    info->width = layout_.width;
    info->height = layout_.height;
    info->xResolution = static_cast<uint32_t>(TruncRound(layout_.xResolution / 65536.0));
    info->yResolution = static_cast<uint32_t>(TruncRound(layout_.yResolution / 65536.0));
    info->samplesPerPixel = layout_.samplesPerPixel;
    info->bitsPerSample = layout_.bitsPerSample;
    std::memcpy(info->documentName, layout_.documentName, sizeof info->documentName);
    std::memcpy(info->artist, layout_.artist, sizeof info->artist);
  }
  return kReaderOk;
}

void TiffReader::ChooseDirectory() {
  uint64_t fileSize = 0;
  uint8_t head[8];
  if (!file_ || !GetFileSize(file_, &fileSize) || !ReadBytesAt(file_, 0, head, 8)) Refuse(kErrGeneralData);
  if (head[0] == 'M' && head[1] == 'M') {
    source_ = TiffSource(file_, fileSize, true);
  } else if (head[0] == 'I' && head[1] == 'I') {
    source_ = TiffSource(file_, fileSize, false);
  } else {
    Refuse(kErrGeneralData);
  }
  const uint32_t firstOffset = source_.U32(head + 4);
  TiffDirectory first;
  if (!first.Load(&source_, firstOffset)) Refuse(kErrGeneralData);

  std::set<uint32_t> visited{firstOffset};
  TiffDirectory candidate = first;
  for (;;) {
    const TiffEntry* newType = candidate.Find(kNewSubfileType);
    const TiffEntry* oldType = candidate.Find(kSubfileType);
    const bool matches =
        reducedMode_ ? (newType && (candidate.Value(*newType) & 1)) || (oldType && candidate.Value(*oldType) == 2)
                     : (newType && candidate.Value(*newType) == 0) || (oldType && candidate.Value(*oldType) == 1);
    if (matches) {
      if (reducedMode_) reducedFound_ = true;
      directory_ = std::move(candidate);
      return;
    }
    const uint32_t next = candidate.nextOffset();
    if (next == 0 || visited.size() >= kMaxDirectories || !visited.insert(next).second ||
        !candidate.Load(&source_, next)) {
      break;
    }
  }
  directory_ = std::move(first);
}

void TiffReader::ParseDirectory(Layout* layout) {
  const TiffDirectory& dir = directory_;
  const TiffEntry* entry = dir.Find(kImageWidth);
  if (!entry) Refuse(kErrMissingTiffInfo);
  layout->width = dir.Value(*entry);
  if (layout->width == 0) Refuse(kErrZeroWidth);

  entry = dir.Find(kImageLength);
  if (!entry) Refuse(kErrMissingTiffInfo);
  layout->height = dir.Value(*entry);
  if (layout->height == 0) Refuse(kErrZeroHeight);

  uint32_t samples = 1;
  if ((entry = dir.Find(kSamplesPerPixel))) samples = dir.Value(*entry);
  if (samples == 0) Refuse(kErrZeroSamples);
  if (samples > 4) Refuse(kErrTooManySamples);
  layout->samplesPerPixel = static_cast<uint16_t>(samples);

  if ((entry = dir.Find(kBitsPerSample))) {
    if (entry->count != samples) Refuse(kErrBadBitsPerSample);
    std::vector<uint32_t> bits;
    if (!dir.ReadNumbers(*entry, &bits)) Refuse(kErrGeneralData);
    for (uint32_t value : bits) {
      if (value != bits[0]) Refuse(kErrMixedBitsPerSample);
    }
    layout->bitsPerSample = static_cast<uint16_t>(bits[0]);
    if (bits[0] != layout->bitsPerSample) Refuse(kErrBadBitsPerSample);
  }

  layout->photometric = samples == 1 ? 1 : 2;
  if ((entry = dir.Find(kPhotometric))) layout->photometric = dir.Value(*entry);
  if (layout->photometric != 1 && layout->photometric != 2) Refuse(kErrBadPhotometric);

  if ((entry = dir.Find(kPlanarConfiguration))) layout->planarConfiguration = dir.Value(*entry);
  if (layout->planarConfiguration != 1 && layout->planarConfiguration != 2) Refuse(kErrBadSampleOrder);

  if ((entry = dir.Find(kCompression))) layout->compression = dir.Value(*entry);
  if (layout->compression != 1) Refuse(kErrBadCompression);

  // A file without a usable strip table must be tiled; the strip table's own id is dropped.
  layout->stripLayout = BuildStripTable(layout) == kReaderOk;
  if (!layout->stripLayout) {
    if (!dir.Find(kTileWidth) || !dir.Find(kTileLength) || !dir.Find(kTileOffsets) ||
        !dir.Find(kTileByteCounts)) {
      Refuse(kErrMissingTiffInfo);
    }
    if (layout->planarConfiguration != 2) Refuse(kErrBadSampleOrder);
    BuildTileTable(layout);
    // Tiles are copied in whole samples of one or two bytes.
    if (layout->bitsPerSample != 8 && layout->bitsPerSample != 16) Refuse(kErrBadBitsPerSample);
  } else if (layout->planarConfiguration != 1) {
    Refuse(kErrBadSampleOrder);
  } else if (!IsReadableDepth(layout->bitsPerSample)) {
    // Depth 0 would size bands by a division by zero; other depths have no line delivery.
    Refuse(kErrBadBitsPerSample);
  }
  CheckDataRanges(*layout);

  entry = dir.Find(kResolutionUnit);
  layout->centimetreUnit = entry && dir.Value(*entry) == kResolutionUnitCentimetre;
  layout->xResolution = ReadResolution(kXResolution, layout->centimetreUnit);
  if (layout->xResolution == 0) layout->xResolution = kDefaultDpi << 16;
  layout->yResolution = ReadResolution(kYResolution, layout->centimetreUnit);
  if (layout->yResolution == 0) layout->yResolution = layout->xResolution;

  if ((entry = dir.Find(kOrientation))) layout->orientation = dir.Value(*entry) & 7;
  if (layout->orientation > 4) Refuse(kErrBadOrientation);

  if ((entry = dir.Find(kImageDescription)) && dir.HasData(*entry)) {
    if (!dir.ReadBytes(*entry, &layout->description)) Refuse(kErrGeneralData);
  }

  ReleaseProfileData();
  if ((entry = dir.Find(kIccProfile)) && dir.HasData(*entry)) {
    if (!dir.ReadBytes(*entry, &profileData_)) Refuse(kErrGeneralData);
  }

  ReadTextField(kDocumentName, layout->documentName);
  ReadTextField(kArtist, layout->artist);
}

int16_t TiffReader::BuildStripTable(Layout* layout) const {
  const TiffDirectory& dir = directory_;
  const TiffEntry* rows = dir.Find(kRowsPerStrip);
  const uint32_t rowsValue = rows ? dir.Value(*rows) : 0;
  layout->rowsPerStrip = rowsValue != 0 && rowsValue <= layout->height ? rowsValue : layout->height;
  const uint32_t stripCount = CeilDiv(layout->height, layout->rowsPerStrip);

  const TiffEntry* offsets = dir.Find(kStripOffsets);
  if (!offsets) return kErrMissingTiffInfo;
  if (offsets->count != stripCount) return kErrStripOffsets;
  std::vector<uint32_t> offsetValues;
  if (!dir.ReadNumbers(*offsets, &offsetValues)) return kErrStripOffsets;

  std::vector<uint32_t> countValues;
  const TiffEntry* counts = dir.Find(kStripByteCounts);
  if (!counts) {
    if (stripCount != 1) return kErrMissingTiffInfo;
    const uint64_t bytes = uint64_t{layout->bitsPerSample / 8u} * layout->samplesPerPixel * layout->width *
                           layout->height;
    countValues.assign(1, static_cast<uint32_t>(std::min<uint64_t>(bytes, UINT32_MAX)));
  } else {
    if (counts->count != stripCount) return kErrStripByteCounts;
    if (!dir.ReadNumbers(*counts, &countValues)) return kErrStripByteCounts;
  }
  layout->strips.resize(stripCount);
  for (uint32_t i = 0; i < stripCount; ++i) layout->strips[i] = {offsetValues[i], countValues[i]};
  return kReaderOk;
}

void TiffReader::BuildTileTable(Layout* layout) const {
  const TiffDirectory& dir = directory_;
  const uint32_t lengthValue = dir.Value(*dir.Find(kTileLength));
  const uint32_t widthValue = dir.Value(*dir.Find(kTileWidth));
  layout->tileLength = lengthValue != 0 && lengthValue <= layout->height ? lengthValue : layout->height;
  layout->tileWidth = widthValue != 0 ? widthValue : layout->width;
  layout->tilesAcross = std::max(1u, CeilDiv(layout->width, layout->tileWidth));
  layout->tilesDown = std::max(1u, CeilDiv(layout->height, layout->tileLength));
  const uint64_t tileCount = uint64_t{layout->samplesPerPixel} * layout->tilesAcross * layout->tilesDown;

  const TiffEntry* offsets = dir.Find(kTileOffsets);
  const TiffEntry* counts = dir.Find(kTileByteCounts);
  if (offsets->count != tileCount) Refuse(kErrStripOffsets);
  if (counts->count != tileCount) Refuse(kErrStripByteCounts);
  std::vector<uint32_t> offsetValues;
  std::vector<uint32_t> countValues;
  if (!dir.ReadNumbers(*offsets, &offsetValues)) Refuse(kErrStripOffsets);
  if (!dir.ReadNumbers(*counts, &countValues)) Refuse(kErrStripByteCounts);
  layout->tiles.resize(static_cast<size_t>(tileCount));
  for (size_t i = 0; i < layout->tiles.size(); ++i) layout->tiles[i] = {offsetValues[i], countValues[i]};
}

// Rows and tiles must fit in the file, and their data must start inside it: no
// buffer is sized, and no read is aimed, by a number the file cannot back.
void TiffReader::CheckDataRanges(const Layout& layout) const {
  const uint64_t fileSize = source_.fileSize();
  const uint64_t rowBytes = (uint64_t{layout.width} * layout.samplesPerPixel * layout.bitsPerSample + 7) / 8;
  if (rowBytes > fileSize) Refuse(kErrGeneralData);
  if (layout.stripLayout) {
    for (const DataBlock& strip : layout.strips) {
      if (strip.offset >= fileSize) Refuse(kErrStripOffsets);
    }
    return;
  }
  const uint64_t tileBytes = uint64_t{layout.tileWidth} * (layout.bitsPerSample / 8) * layout.tileLength;
  if (tileBytes > fileSize) Refuse(kErrGeneralData);
  for (const DataBlock& tile : layout.tiles) {
    if (tile.offset >= fileSize) Refuse(kErrStripOffsets);
  }
}

uint32_t TiffReader::ReadResolution(uint16_t tag, bool centimetres) const {
  const TiffEntry* entry = directory_.Find(tag);
  if (!entry) return 0;
  std::vector<uint8_t> bytes;
  if (!directory_.ReadBytes(*entry, &bytes)) Refuse(kErrGeneralData);
  if (bytes.size() < 8) return 0;
  uint64_t numerator = source_.U32(bytes.data());
  const uint32_t denominator = source_.U32(bytes.data() + 4);
  if (denominator == 0) return 0;
  // The shared rounding rule, trunc(x + 0.5), in 64 bits: the product exceeds 32 bits.
  if (centimetres) numerator = static_cast<uint64_t>(numerator * 2.54 + 0.5);
  return static_cast<uint32_t>(std::min<uint64_t>((numerator << 16) / denominator, UINT32_MAX));
}

// At most 511 bytes, so that the field stays zero-terminated.
void TiffReader::ReadTextField(uint16_t tag, char (&field)[512]) const {
  std::memset(field, 0, sizeof field);
  const TiffEntry* entry = directory_.Find(tag);
  if (!entry || !directory_.HasData(*entry)) return;
  std::vector<uint8_t> bytes;
  if (!directory_.ReadBytes(*entry, &bytes)) Refuse(kErrGeneralData);
  if (!bytes.empty()) std::memcpy(field, bytes.data(), std::min<size_t>(bytes.size(), sizeof field - 1));
}

// ---------------------------------------------------------------- lines

int16_t TiffReader::StartReading(uint32_t bandBytes) {
  if (!headerValid_) return kErrGeneralData;
  FinishReading();
  const uint32_t rowBytes = RowBytes();
  uint32_t budget = bandBytes != 0 ? bandBytes : rowBytes;
  if (!layout_.stripLayout) budget = std::max(budget, kMinTiledBandBytes);
  uint32_t rows = std::min(std::max(budget / rowBytes, 1u), layout_.height);

  if (layout_.bitsPerSample > 8) BuildGammaTables(14, layout_.samplesPerPixel);
  CreateColorTransform();
  tileCache_.Reset();

  for (; rows > 0; --rows) {
    try {
      band_.assign((uint64_t{rows} * rowBytes + 1) / 2, 0);
      lineShort_.assign(rows, 0);
      if (!layout_.stripLayout) {
        tileRow_.assign(uint64_t{layout_.width} * layout_.samplesPerPixel * (layout_.bitsPerSample / 8), 0);
      }
      break;
    } catch (const std::bad_alloc&) {
      std::vector<uint16_t>().swap(band_);
    }
  }
  if (rows == 0) return kErrOutOfMemory;
  bandRows_ = rows;
  reading_ = true;
  LoadBand(1);
  return kReaderOk;
}

void TiffReader::FinishReading() {
  std::vector<uint16_t>().swap(band_);
  std::vector<uint8_t>().swap(lineShort_);
  std::vector<uint8_t>().swap(tileRow_);
  tileCache_.Reset();
  bandRows_ = 0;
  bandFirstLine_ = 0;
  bandLastLine_ = 0;
  bandStored_ = false;
  wordTables_.Clear();
  reading_ = false;
}

uint8_t* TiffReader::BandRow(uint32_t index) {
  return reinterpret_cast<uint8_t*>(band_.data()) + size_t{index} * RowBytes();
}

void TiffReader::LoadBand(uint32_t firstLine) {
  const uint32_t lastLine = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{firstLine} + bandRows_ - 1,
                                                                     layout_.height));
  const uint32_t rows = lastLine - firstLine + 1;
  // Counted by index: a last line of 0xFFFFFFFF would wrap a loop over line numbers.
  for (uint32_t index = 0; index < rows; ++index) {
    uint8_t* row = BandRow(index);
    const bool complete = layout_.stripLayout ? LoadStripLine(firstLine + index, row) : LoadTileLine(firstLine + index, row);
    lineShort_[index] = complete ? 0 : 1;
  }
  bandFirstLine_ = firstLine;
  bandLastLine_ = lastLine;
  if (!layout_.stripLayout && lastLine == layout_.height) tileCache_.Reset();

  const int32_t width = static_cast<int32_t>(layout_.width);
  const int32_t samples = layout_.samplesPerPixel;
  const int32_t bits = layout_.bitsPerSample;
  // Packed depths below 8 bits and odd depths have no whole samples to correct.
  bandStored_ = bits == 16 && !CorrectsLineColors(samples);
  bandMappedChannels_ = bits == 16 ? ConvertibleChannels(samples, bits) : 0;
  if (bits == 16 && !bandStored_) {
    uint16_t* samples16 = band_.data();
    const size_t count = size_t{rows} * RowBytes() / 2;
    if (source_.bigEndian()) {
      for (size_t i = 0; i < count; ++i) samples16[i] = static_cast<uint16_t>(samples16[i] >> 8 | samples16[i] << 8);
    }
    ConvertLines16(samples16, width, static_cast<int32_t>(rows), samples, bits, width * samples, samples, 1);
  }
  if (bits == 8 || bits == 16) {
    CorrectLineColors(band_.data(), width, static_cast<int32_t>(rows), samples, bits, width * samples, samples, 1);
  }
}

bool TiffReader::LoadStripLine(uint32_t line, uint8_t* row) const {
  const uint32_t strip = (line - 1) / layout_.rowsPerStrip;
  // A file that lists fewer strips than its rows need: the rest reads as a short read.
  if (strip >= layout_.strips.size()) {
    std::memset(row, 0, RowBytes());
    return false;
  }
  const uint64_t offset =
      uint64_t{layout_.strips[strip].offset} + uint64_t{(line - 1) % layout_.rowsPerStrip} * RowBytes();
  return source_.ReadOrZero(offset, row, RowBytes());
}

bool TiffReader::FetchTile(uint32_t plane, uint32_t tileNumber) {
  if (tileCache_.tileNumber[plane] == tileNumber) return !tileCache_.shortRead[plane];
  std::vector<uint8_t>& buffer = tileCache_.buffer[plane];
  buffer.resize(size_t{layout_.tileWidth} * (layout_.bitsPerSample / 8) * layout_.tileLength);
  // Likewise a tile the file does not list.
  const bool listed = tileNumber < layout_.tiles.size();
  if (!listed) std::fill(buffer.begin(), buffer.end(), uint8_t{0});
  const bool complete = listed && source_.ReadOrZero(layout_.tiles[tileNumber].offset, buffer.data(),
                                                     static_cast<uint32_t>(buffer.size()));
  tileCache_.tileNumber[plane] = tileNumber;
  tileCache_.shortRead[plane] = !complete;
  return complete;
}

// Planar tiles: each plane's part of the row is gathered from its tiles, then the
// planes are interleaved into the band row.
bool TiffReader::LoadTileLine(uint32_t line, uint8_t* row) {
  const uint32_t sampleBytes = layout_.bitsPerSample / 8;
  const uint32_t samples = layout_.samplesPerPixel;
  const size_t planeRowBytes = size_t{layout_.width} * sampleBytes;
  const size_t tileLineBytes = size_t{layout_.tileWidth} * sampleBytes;
  const uint32_t tileRow = (line - 1) / layout_.tileLength;
  const size_t lineInTile = (line - 1) % layout_.tileLength;
  const uint32_t tilesPerPlane = layout_.tilesAcross * layout_.tilesDown;
  bool complete = true;
  for (uint32_t plane = 0; plane < samples; ++plane) {
    uint8_t* planeRow = tileRow_.data() + plane * planeRowBytes;
    for (uint32_t column = 0; column < layout_.tilesAcross; ++column) {
      const size_t start = size_t{column} * tileLineBytes;
      if (start >= planeRowBytes) break;
      const uint32_t tileNumber = tileRow * layout_.tilesAcross + column + plane * tilesPerPlane;
      if (!FetchTile(plane, tileNumber)) complete = false;
      std::memcpy(planeRow + start, tileCache_.buffer[plane].data() + lineInTile * tileLineBytes,
                  std::min(tileLineBytes, planeRowBytes - start));
    }
  }
  for (uint32_t x = 0; x < layout_.width; ++x) {
    for (uint32_t plane = 0; plane < samples; ++plane) {
      std::memcpy(row + (size_t{x} * samples + plane) * sampleBytes,
                  tileRow_.data() + plane * planeRowBytes + size_t{x} * sampleBytes, sampleBytes);
    }
  }
  return complete;
}

int16_t TiffReader::ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer,
                                    int32_t* count) {
  if (!reading_) return kErrGeneralData;
  if (layout_.photometric == 1) channel = 0;
  int64_t wanted = std::min<int64_t>(*count, layout_.width);
  wanted = std::min<int64_t>(wanted, int64_t{layout_.width} - firstColumn);
  if (wanted < 1 || line == 0 || line > layout_.height || channel < 0 || channel >= layout_.samplesPerPixel) {
    return kErrGeneralData;
  }
  if (line < bandFirstLine_ || line > bandLastLine_) LoadBand(line);
  if (lineShort_[line - bandFirstLine_]) return kErrGeneralData;

  const uint8_t* row = BandRow(line - bandFirstLine_);
  const uint32_t samples = layout_.samplesPerPixel;
  const uint32_t bits = layout_.bitsPerSample;
  const bool greyMean = greyOutput_ && samples == 3;
  auto* bytesOut = static_cast<uint8_t*>(buffer);
  const int32_t n = static_cast<int32_t>(wanted);
  if (bits < 8) {
    const uint32_t mask = (1u << bits) - 1;
    for (int32_t k = 0; k < n; ++k) {
      const uint64_t bit = (uint64_t{firstColumn + static_cast<uint32_t>(k)} * samples + channel) * bits;
      bytesOut[k] = static_cast<uint8_t>(row[bit / 8] >> (8 - bits - bit % 8) & mask);
    }
  } else if (bits == 8) {
    const uint8_t* table = OutputTable(channel, 256);
    for (int32_t k = 0; k < n; ++k) {
      const size_t pixel = (size_t{firstColumn} + k) * samples;
      uint32_t value = greyMean ? (row[pixel] + row[pixel + 1] + row[pixel + 2] + 1) / 3 : row[pixel + channel];
      bytesOut[k] = table ? table[value] : static_cast<uint8_t>(value);
    }
  } else if (bandStored_) {
    const int16_t error =
        DeliverStoredWords(reinterpret_cast<const uint16_t*>(row), firstColumn, channel, n, greyMean, buffer);
    if (error != kReaderOk) return error;
  } else {
    const auto* words = reinterpret_cast<const uint16_t*>(row);
    const uint8_t* table = OutputTable(channel, 16384);
    for (int32_t k = 0; k < n; ++k) {
      const size_t pixel = (size_t{firstColumn} + k) * samples;
      const uint32_t value = greyMean ? (words[pixel] + words[pixel + 1] + words[pixel + 2] + 1) / 3
                                      : words[pixel + channel];
      PutSample16(value, table, outputDepth_, buffer, k);
    }
  }
  *count = n;
  return kReaderOk;
}

int16_t TiffReader::DeliverStoredWords(const uint16_t* row, uint32_t firstColumn, int channel, int32_t n,
                                       bool greyMean, void* buffer) {
  const int samples = layout_.samplesPerPixel;
  const uint16_t* gammaMaps[4] = {};
  const uint8_t* outputTables[4] = {};
  for (int c = 0; c < samples; ++c) {
    if (c < bandMappedChannels_) gammaMaps[c] = GammaSampleMap(c);
    outputTables[c] = OutputTable(c, 16384);
  }
  const StoredWordTables::Key key{source_.bigEndian(), bandMappedChannels_, TableGeneration()};
  if (!wordTables_.Prepare(key, samples, gammaMaps, outputTables)) return kErrOutOfMemory;

  const uint16_t* words = row + size_t{firstColumn} * samples;
  const uint8_t* folded = wordTables_.Folded(channel);
  if (!greyMean && folded && outputDepth_ != 16) {
    // The common case: one lookup from the stored word to the output byte.
    auto* bytesOut = static_cast<uint8_t*>(buffer);
    words += channel;
    for (int32_t k = 0; k < n; ++k, words += samples) bytesOut[k] = folded[*words];
    return kReaderOk;
  }
  const uint8_t* table = outputTables[channel];
  if (!greyMean && !table && outputDepth_ == 16 && channel >= bandMappedChannels_) {
    // Words as they are, or swapped: cheaper than a lookup.
    auto* wordsOut = static_cast<uint16_t*>(buffer);
    words += channel;
    if (source_.bigEndian()) {
      for (int32_t k = 0; k < n; ++k, words += samples) wordsOut[k] = static_cast<uint16_t>(*words >> 8 | *words << 8);
    } else {
      for (int32_t k = 0; k < n; ++k, words += samples) wordsOut[k] = *words;
    }
    return kReaderOk;
  }
  const uint16_t* maps[3] = {wordTables_.WordMap(greyMean ? 0 : channel), wordTables_.WordMap(greyMean ? 1 : channel),
                             wordTables_.WordMap(greyMean ? 2 : channel)};
  for (int32_t k = 0; k < n; ++k, words += samples) {
    const uint32_t value = greyMean ? (maps[0][words[0]] + maps[1][words[1]] + maps[2][words[2]] + 1) / 3
                                    : maps[0][words[channel]];
    PutSample16(value, table, outputDepth_, buffer, k);
  }
  return kReaderOk;
}

bool TiffReader::ReadLines(void*, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                           int32_t pixelBytes) {
  if (!headerValid_) return false;
  return DrawReducedImage(layout_.width, layout_.height, bits, width, height, rowBytes, pixelBytes);
}

// ---------------------------------------------------------------- raw data and resources

bool TiffReader::SupportsRawRead() { return reducedFound_ && headerValid_ && layout_.stripLayout; }

void TiffReader::ReadRawData(uint8_t* buffer) {
  if (!SupportsRawRead()) return;
  for (uint32_t index = 0; index < layout_.height; ++index) {
    LoadStripLine(index + 1, buffer + size_t{index} * RowBytes());
  }
}

// The image-resource blocks of the layered-editor format, big-endian whatever the file's order.
std::vector<uint8_t> TiffReader::ReadImageResource(uint16_t resourceId, uint8_t* name) {
  if (!headerValid_) return {};
  const TiffEntry* entry = directory_.Find(kImageResources);
  std::vector<uint8_t> block;
  if (!entry || !directory_.ReadBytes(*entry, &block)) return {};
  return CopyImageResource(block.data(), static_cast<uint32_t>(block.size()), resourceId, name);
}
