// A thumbnail source over libtiff for the tests of the open-image dialog,
// standing in for the data source's own image readers.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <vector>

#include "foundation/dialogs/dialog_services.h"

class TiffThumbnailSource : public FileThumbnailSource {
 public:
  int opened = 0;
  int closed = 0;

  bool Open(const char* path, int32_t, int32_t* width, int32_t* height) override {
    ++opened;
    TIFF* tiff = TIFFOpen(path, "r");
    if (!tiff) return false;
    uint32_t w = 0, h = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    pixels_.assign(static_cast<size_t>(w) * h, 0);
    bool read = w > 0 && h > 0 && TIFFReadRGBAImageOriented(tiff, w, h, pixels_.data(), ORIENTATION_TOPLEFT, 0);
    TIFFClose(tiff);
    width_ = static_cast<int32_t>(w);
    height_ = static_cast<int32_t>(h);
    *width = width_;
    *height = height_;
    return read;
  }

  bool Draw(uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes, int32_t pixelBytes) override {
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        uint32_t rgba = pixels_[static_cast<size_t>(y * height_ / height) * width_ + x * width_ / width];
        uint8_t* pixel = bits + y * rowBytes + x * pixelBytes;
        pixel[0] = static_cast<uint8_t>(TIFFGetB(rgba));
        pixel[1] = static_cast<uint8_t>(TIFFGetG(rgba));
        pixel[2] = static_cast<uint8_t>(TIFFGetR(rgba));
      }
    }
    return true;
  }

  void Close() override {
    ++closed;
    pixels_.clear();
  }

 private:
  std::vector<uint32_t> pixels_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// A 200 x 100 RGB file: red rising to the right, green downwards, blue 128.
inline bool WriteGradientTiff(const char* path) {
  TIFF* tiff = TIFFOpen(path, "w");
  if (!tiff) return false;
  const uint32_t width = 200, height = 100;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, height);
  std::vector<uint8_t> row(width * 3);
  bool ok = true;
  for (uint32_t y = 0; y < height && ok; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      row[x * 3] = static_cast<uint8_t>(x * 255 / (width - 1));
      row[x * 3 + 1] = static_cast<uint8_t>(y * 255 / (height - 1));
      row[x * 3 + 2] = 128;
    }
    ok = TIFFWriteScanline(tiff, row.data(), y, 0) == 1;
  }
  TIFFClose(tiff);
  return ok;
}
