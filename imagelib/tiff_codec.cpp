// TIFF images through libtiff on the library's streams: the header, any
// image libtiff's RGBA reader takes (read as R, G, B or R, G, B, A), and
// 24-bit RGB or 8-bit palette files written a row at a time.
#include <tiffio.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "imagelib/codecs.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

IoStream& StreamOf(thandle_t handle) { return *static_cast<IoStream*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  if (size <= 0) return 0;
  const uint32_t count = size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
  return static_cast<tmsize_t>(StreamOf(handle).Read(buffer, count));
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
  if (size <= 0 || size > UINT32_MAX) return 0;
  return StreamOf(handle).WriteBlock(buffer, static_cast<uint32_t>(size)) ? size : 0;
}

// libtiff takes any answer as the new offset, so a failure must be (toff_t) -1,
// never 0.
toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  constexpr toff_t kFailed = static_cast<toff_t>(-1);
  const int origin = whence == SEEK_CUR ? 1 : whence == SEEK_END ? 2 : 0;
  // Relative offsets arrive as two's complement.
  const int64_t signed_offset = static_cast<int64_t>(offset);
  if (origin == 0 && offset > static_cast<toff_t>(std::numeric_limits<long>::max())) return kFailed;
  if (signed_offset < std::numeric_limits<long>::min() || signed_offset > std::numeric_limits<long>::max())
    return kFailed;
  IoStream& stream = StreamOf(handle);
  if (!stream.Seek(static_cast<long>(signed_offset), origin)) return kFailed;
  const long position = stream.Tell();
  return position < 0 ? kFailed : static_cast<toff_t>(position);
}

int CloseProc(thandle_t) { return 0; }  // the caller closes its stream

toff_t SizeProc(thandle_t handle) {
  const long size = StreamOf(handle).Size();
  return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

// libtiff's reports are shown nowhere; an error report is remembered, to tell
// a damaged image from one libtiff cannot take at all.
int NoteError(TIFF*, void* reported, const char*, const char*, va_list) {
  *static_cast<bool*>(reported) = true;
  return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// One libtiff handle on a stream, closed with this object.
class TiffFile {
 public:
  TiffFile(IoStream& stream, const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return;
    TIFFOpenOptionsSetErrorHandlerExtR(options, NoteError, &error_reported_);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    tiff_ = TIFFClientOpenExt(stream.Path(), mode, &stream, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                              MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
  }
  ~TiffFile() {
    if (tiff_) TIFFClose(tiff_);
  }
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* get() const { return tiff_; }
  bool error_reported() const { return error_reported_; }

 private:
  TIFF* tiff_ = nullptr;
  bool error_reported_ = false;
};

template <typename T>
T FieldOr(TIFF* tiff, ttag_t tag, T missing) {
  T value;
  return TIFFGetField(tiff, tag, &value) == 1 ? value : missing;
}

// The RGBA image, rows top to bottom, into a block of width x height x 4.
bool ReadRgba(EntryWork& work, const TiffFile& file, uint32_t width, uint32_t height, ScratchBlock& rgba) {
  if (!rgba) {
    work.error = kImageNoMemory;
    return false;
  }
  if (!TIFFReadRGBAImageOriented(file.get(), width, height, rgba.As<uint32_t>(), ORIENTATION_TOPLEFT, 1)) {
    work.error = file.error_reported() ? kImageTiffDecodeFailed : kImageTiffOpenFailed;
    return false;
  }
  return true;
}

// Drops the alpha byte of every pixel; a stop of the progress callback ends it.
void* CompactToRgb(EntryWork& work, const uint8_t* rgba, uint32_t width, uint32_t height) {
  ScratchBlock rgb(uint64_t{width} * height * 3);
  if (!rgb) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  uint8_t* out = rgb.As<uint8_t>();
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x, rgba += 4, out += 3) std::memcpy(out, rgba, 3);
    if (!work.Progress(static_cast<int>(y), static_cast<int>(height))) return nullptr;
  }
  return rgb.Release();
}

void SetImageTags(TIFF* tiff, int width, int height, const ImageResolution& resolution) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, static_cast<uint16_t>(resolution.unit));
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(resolution.x_density));
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(resolution.y_density));
  const std::string software = std::string("Lumirax, using ") + TIFFGetVersion();
  TIFFSetField(tiff, TIFFTAG_SOFTWARE, software.c_str());
}

void SetColorMap(TIFF* tiff, const PaletteEntry* palette) {
  uint16_t red[kPaletteEntries], green[kPaletteEntries], blue[kPaletteEntries];
  for (int i = 0; i < kPaletteEntries; ++i) {
    red[i] = static_cast<uint16_t>(palette[i].red * 257);
    green[i] = static_cast<uint16_t>(palette[i].green * 257);
    blue[i] = static_cast<uint16_t>(palette[i].blue * 257);
  }
  TIFFSetField(tiff, TIFFTAG_COLORMAP, red, green, blue);
}

}  // namespace

bool ReadTiffHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution) {
  TiffFile file(stream, "r");
  TIFF* tiff = file.get();
  if (!tiff) {
    work.error = kImageTiffOpenFailed;
    return false;
  }
  *width = static_cast<int>(FieldOr<uint32_t>(tiff, TIFFTAG_IMAGEWIDTH, 0));
  *height = static_cast<int>(FieldOr<uint32_t>(tiff, TIFFTAG_IMAGELENGTH, 0));
  uint16_t bits_per_sample = 0, samples = 0;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits_per_sample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  *bits_per_pixel = bits_per_sample * samples;
  if (resolution) {
    *resolution = {static_cast<int>(FieldOr<float>(tiff, TIFFTAG_XRESOLUTION, 0)),
                   static_cast<int>(FieldOr<float>(tiff, TIFFTAG_YRESOLUTION, 0)),
                   FieldOr<uint16_t>(tiff, TIFFTAG_RESOLUTIONUNIT, 0)};
  }
  return true;
}

void* ReadTiffImage(EntryWork& work, IoStream& stream, int bits, int directory, int* width, int* height) {
  if (!stream.Rewind()) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  TiffFile file(stream, "r");
  TIFF* tiff = file.get();
  if (!tiff) {
    work.error = kImageTiffOpenFailed;
    return nullptr;
  }
  if (directory < 0 || !TIFFSetDirectory(tiff, static_cast<tdir_t>(directory))) {
    work.error = kImageBadArgument;
    return nullptr;
  }
  char message[1024];
  if (!TIFFRGBAImageOK(tiff, message)) {
    work.error = kImageTiffOpenFailed;
    return nullptr;
  }
  // libtiff 4.5.0 refuses the first uncompressed tile it reads without a
  // mapped file unless its raw buffer holds exactly one tile: it gets one.
  const bool uncompressed_tiles =
      TIFFIsTiled(tiff) && FieldOr<uint16_t>(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE) == COMPRESSION_NONE;
  ScratchBlock tile_buffer(uncompressed_tiles ? TIFFTileSize64(tiff) : 0);
  if (tile_buffer) TIFFReadBufferSetup(tiff, tile_buffer.As<void>(), TIFFTileSize(tiff));
  const uint32_t image_width = FieldOr<uint32_t>(tiff, TIFFTAG_IMAGEWIDTH, 0);
  const uint32_t image_height = FieldOr<uint32_t>(tiff, TIFFTAG_IMAGELENGTH, 0);
  // In 64 bits, so that a huge image is refused rather than wrapped.
  ScratchBlock rgba(uint64_t{image_width} * image_height * 4);
  if (!ReadRgba(work, file, image_width, image_height, rgba)) return nullptr;
  void* pixels = bits == 32 ? rgba.Release() : CompactToRgb(work, rgba.As<uint8_t>(), image_width, image_height);
  if (pixels) {
    *width = static_cast<int>(image_width);
    *height = static_cast<int>(image_height);
  }
  return pixels;
}

bool WriteTiffImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                    const PaletteEntry* palette, int compression, const ImageResolution& resolution) {
  // A palette file cannot be JPEG-compressed: it goes uncompressed.
  if (bits == 8 && compression == COMPRESSION_JPEG) compression = COMPRESSION_NONE;
  if (width <= 0 || height <= 0 || (bits == 8 && !palette) || compression < 0 || compression > UINT16_MAX ||
      !TIFFIsCODECConfigured(static_cast<uint16_t>(compression))) {
    work.error = kImageBadArgument;
    return false;
  }
  TiffFile file(sink, "wW");
  TIFF* tiff = file.get();
  if (!tiff) {
    work.error = kImageTiffOpenFailed;
    return false;
  }
  const int samples = bits / 8;
  SetImageTags(tiff, width, height, resolution);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(samples));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, bits == 24 ? PHOTOMETRIC_RGB : PHOTOMETRIC_PALETTE);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, static_cast<uint16_t>(compression));
  if (bits == 8) SetColorMap(tiff, palette);
  // After the layout tags, which the default depends on.
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));

  // libtiff may encode a row in place, so each goes through a copy: the caller's pixels stay as they are.
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(samples);
  ScratchBlock copy(stride);
  if (!copy) {
    work.error = kImageNoMemory;
    return false;
  }
  const auto* row = static_cast<const uint8_t*>(pixels);
  for (int y = 0; y < height; ++y, row += stride) {
    std::memcpy(copy.As<uint8_t>(), row, stride);
    if (TIFFWriteScanline(tiff, copy.As<uint8_t>(), static_cast<uint32_t>(y), 0) < 0) {
      work.error = kImageWriteFailed;
      return false;
    }
    if (!work.Progress(y, height)) return false;
  }
  // The directory goes out here; a failure must not pass as a written file.
  if (!TIFFFlush(tiff) || file.error_reported()) {
    work.error = kImageWriteFailed;
    return false;
  }
  return true;
}

}  // namespace imagelib
