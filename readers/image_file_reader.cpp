// What every image-file reader shares: file, tables, embedded profile, the
// reduced drawing and the 16-bit gamma mapping.
#include "readers/image_file_reader.h"

#include <cstring>
#include <new>
#include <utility>

#include "color/color_profile_set.h"
#include "color/profile_files.h"
#include "readers/jpeg/jpeg_thumbnail.h"
#include "records/defaults_block.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr int kChannelSlots = 4;

bool IsChannelSlot(int channel) { return channel >= 0 && channel < kChannelSlots; }

// The gamma of the original type over the display gamma; a display gamma
// that is not set yet counts as 1.
double SourceGamma() {
  const double display = GetDefault(ToneDefaults(), kDefaultDisplayGamma);
  return display > 0 ? CurrentGamma() / display : CurrentGamma();
}

}  // namespace

ImageFileReader::ImageFileReader(const char* path) : ImageFileReader(path, false) {}

ImageFileReader::ImageFileReader(const char* path, bool reducedMode)
    : file_(OpenFileForReading(path)), reducedMode_(reducedMode) {}

ImageFileReader::~ImageFileReader() {
  ReleaseColorTransform();
  ReleaseProfileData();
  CloseFile(file_);
}

bool ImageFileReader::ReadLines(void*, uint8_t*, int32_t, int32_t, int32_t, int32_t) { return false; }

void ImageFileReader::ReleaseProfileData() { std::vector<uint8_t>().swap(profileData_); }

void ImageFileReader::ReleaseColorTransform() {
  if (colorTransform_) CmsDeleteColorTransform(colorTransform_);
  colorTransform_ = nullptr;
}

bool ImageFileReader::CreateColorTransform() {
  ReleaseColorTransform();
  if (InputColorManagementMode() != kInputColorEmbeddedProfile || profileData_.empty()) return false;
  ColorProfileLocation embedded{kProfileFromMemory, profileData_.data(), static_cast<uint32_t>(profileData_.size())};
  const ColorProfileLocation internal = FileProfileLocation(InternalProfilePath());
  ColorProfileHandle from = nullptr;
  ColorProfileHandle to = nullptr;
  bool made = CmsOpenColorProfile(&from, &embedded, 0) == 0 && CmsOpenColorProfile(&to, &internal, 0) == 0 &&
              CmsCreateMultiProfileTransform(&colorTransform_, from, to, 0) == 0;
  if (from) CmsCloseColorProfile(from);
  if (to) CmsCloseColorProfile(to);
  if (!made) colorTransform_ = nullptr;
  return colorTransform_ != nullptr;
}

void ImageFileReader::SetOutputDepth(uint16_t bits) { outputDepth_ = static_cast<int16_t>(bits); }

bool ImageFileReader::IsHighBitDepth() { return false; }

void ImageFileReader::SetOutputTable(std::vector<uint8_t> table, int channel) {
  if (!IsChannelSlot(channel)) return;
  outputTables_[channel] = std::move(table);
  ++tableGeneration_;
}

void ImageFileReader::SetGammaTable(std::vector<uint16_t> table, uint32_t bits, int channel) {
  if (!IsChannelSlot(channel)) return;
  // A table that does not hold 2^bits entries could not be indexed safely: none.
  if (bits > 16 || table.size() != (size_t{1} << bits)) {
    table.clear();
    bits = 0;
  }
  gammaTables_[channel] = std::move(table);
  gammaTableBits_[channel] = bits;
  std::vector<uint16_t>().swap(gammaSampleMaps_[channel]);
  ++tableGeneration_;
}

const std::vector<uint16_t>* ImageFileReader::GetGammaTable(uint32_t* bits, int channel) {
  if (!IsChannelSlot(channel)) return nullptr;
  if (bits) *bits = gammaTableBits_[channel];
  return gammaTables_[channel].empty() ? nullptr : &gammaTables_[channel];
}

int16_t ImageFileReader::ReadHeader(ImageFileInfo*) { return 1; }
int16_t ImageFileReader::StartReading(uint32_t) { return 1; }
int16_t ImageFileReader::ReadLineSamples(uint32_t, uint32_t, int, void*, int32_t*) { return 1; }
void ImageFileReader::FinishReading() {}
bool ImageFileReader::SupportsRawRead() { return reducedFound_; }
void ImageFileReader::ReadRawData(uint8_t*) {}
std::vector<uint8_t> ImageFileReader::ReadImageResource(uint16_t, uint8_t*) { return {}; }

bool ImageFileReader::ReadPreviewLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                                       int32_t rowBytes, int32_t pixelBytes) {
  if (ReadThumbnailLines(bitmap, bits, width, height, rowBytes, pixelBytes)) return true;
  return ReadLines(bitmap, bits, width, height, rowBytes, pixelBytes);
}

// The embedded thumbnails (image resources 1033 and 1036) are JPEG data.
bool ImageFileReader::ReadThumbnailLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                                         int32_t rowBytes, int32_t pixelBytes) {
  return DrawEmbeddedThumbnail(*this, bitmap, bits, width, height, rowBytes, pixelBytes);
}

void ImageFileReader::GetProfileDescription(std::string* text) {
  text->clear();
  if (!gIcmEnabled || profileData_.empty()) return;
  ColorProfileLocation location{kProfileFromMemory, profileData_.data(), static_cast<uint32_t>(profileData_.size())};
  ColorProfileHandle profile = nullptr;
  if (CmsOpenColorProfile(&profile, &location, 0) != 0) return;
  *text = ProfileDescription(profile);
  CmsCloseColorProfile(profile);
}

ColorTransformHandle ImageFileReader::ColorTransform() { return colorTransform_; }

// Only the embedded profile's transform is applied here; the scanner-profile and
// calibration corrections of input lines come with the colour-management subsystem.
bool ImageFileReader::CorrectLineColors(void* buffer, int32_t width, int32_t rows, int32_t channels, int32_t bits,
                                        int32_t rowStride, int32_t pixelStride, int32_t channelStride) {
  if (CorrectsLineColors(channels)) {
    return TranslateImageBlock(colorTransform_, buffer, buffer, width, rows, bits >= 9 ? 1 : 0, rowStride,
                               pixelStride, channelStride);
  }
  return true;
}

bool ImageFileReader::CorrectsLineColors(int32_t channels) const {
  return channels == 3 && InputColorManagementMode() == kInputColorEmbeddedProfile && colorTransform_;
}

bool ImageFileReader::BuildGammaTables(uint32_t bits, int channels) {
  if (bits < 8 || bits > 16) return false;
  for (int channel = 0; channel < channels && channel < kChannelSlots; ++channel) {
    std::vector<uint16_t> table;
    try {
      table.resize(size_t{1} << bits);
    } catch (const std::bad_alloc&) {
      return false;
    }
    const int32_t entries = static_cast<int32_t>(table.size());
    if (ToneCalibrationInForce()) {
      BuildGammaGreyBalanceTable(table.data(), entries, SourceGamma(), static_cast<int16_t>(channels == 3 ? channel + 1 : 0));
    } else {
      BuildGammaTable(table.data(), entries, entries, SourceGamma());
    }
    SetGammaTable(std::move(table), bits, channel);
  }
  return true;
}

int ImageFileReader::ConvertibleChannels(int32_t channels, int32_t bits) {
  if (bits < 9 || outputDepth_ > 8 || (channels != 1 && channels != 3)) return 0;
  int channel = 0;
  while (channel < channels && GammaSampleMap(channel)) ++channel;
  return channel;
}

const uint16_t* ImageFileReader::GammaSampleMap(int channel) {
  if (!IsChannelSlot(channel) || gammaTables_[channel].empty() || gammaTableBits_[channel] == 0) return nullptr;
  std::vector<uint16_t>& map = gammaSampleMaps_[channel];
  if (!map.empty()) return map.data();
  try {
    map.resize(65536);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  // A sample between two entries blends them by its low bits, rounded.
  const uint16_t* entries = gammaTables_[channel].data();
  const uint32_t shift = 16 - gammaTableBits_[channel];
  const uint32_t fractionMask = (1u << shift) - 1;
  const double steps = static_cast<double>(1u << shift);
  const uint32_t last = (1u << gammaTableBits_[channel]) - 1;
  for (uint32_t sample = 0; sample < 65536; ++sample) {
    const uint32_t index = sample >> shift;
    const uint32_t fraction = sample & fractionMask;
    uint32_t value;
    if (index >= last) {
      value = uint32_t{entries[last]} << shift;
    } else if (fraction == 0) {
      value = uint32_t{entries[index]} << shift;
    } else {
      const double weight = fraction / steps;
      value = static_cast<uint32_t>((uint32_t{entries[index]} << shift) * (1.0 - weight) +
                                    (uint32_t{entries[index + 1]} << shift) * weight + 0.5);
    }
    map[sample] = static_cast<uint16_t>(value);
  }
  return map.data();
}

bool ImageFileReader::ConvertLines16(uint16_t* buffer, int32_t width, int32_t rows, int32_t channels, int32_t bits,
                                     int32_t rowStride, int32_t pixelStride, int32_t channelStride) {
  const int converted = ConvertibleChannels(channels, bits);
  for (int channel = 0; channel < converted; ++channel) {
    const uint16_t* map = GammaSampleMap(channel);
    for (int32_t row = 0; row < rows; ++row) {
      uint16_t* sample = buffer + static_cast<ptrdiff_t>(row) * rowStride + channel * channelStride;
      for (int32_t x = 0; x < width; ++x, sample += pixelStride) *sample = map[*sample];
    }
  }
  return converted > 0 && converted == channels;
}

bool ImageFileReader::DrawReducedImage(uint32_t sourceWidth, uint32_t sourceHeight, uint8_t* bits, int32_t width,
                                       int32_t height, int32_t rowBytes, int32_t pixelBytes) {
  std::vector<uint8_t> work;
  try {
    work.resize(size_t{3} * sourceWidth);
  } catch (const std::bad_alloc&) {
    return false;
  }
  uint8_t* rows[3] = {work.data(), work.data() + sourceWidth, work.data() + 2 * size_t{sourceWidth}};
  const int16_t savedDepth = outputDepth_;
  outputDepth_ = 8;
  bool ok = true;
  for (int32_t y = 0; y < height && ok; ++y) {
    const uint32_t line = static_cast<uint32_t>(uint64_t{static_cast<uint32_t>(y)} * sourceHeight / height) + 1;
    for (int channel = 0; channel < 3 && ok; ++channel) {
      int32_t count = static_cast<int32_t>(sourceWidth);
      ok = ReadLineSamples(line, 0, channel, rows[channel], &count) == 0;
    }
    if (!ok) break;
    uint8_t* out = bits + static_cast<ptrdiff_t>(y) * rowBytes;
    for (int32_t x = 0; x < width; ++x, out += pixelBytes) {
      const size_t column = static_cast<size_t>(uint64_t{static_cast<uint32_t>(x)} * sourceWidth / width);
      out[0] = rows[2][column];
      out[1] = rows[1][column];
      out[2] = rows[0][column];
    }
  }
  outputDepth_ = savedDepth;
  return ok;
}

const uint8_t* ImageFileReader::OutputTable(int channel, size_t entries) const {
  if (!IsChannelSlot(channel) || outputTables_[channel].size() < entries) return nullptr;
  return outputTables_[channel].data();
}
