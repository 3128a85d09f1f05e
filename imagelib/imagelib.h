// The photo program's image-file library: a flat C interface over stream handles
// and plain pixel buffers. Every entry point keeps the calling thread's last
// error, which GetLastImageError reports.
//
// Pixel buffers are one global-memory block each, rows top to bottom without
// padding (24 bits: R, G, B bytes). Every buffer or copy that an entry point
// returns belongs to the caller, who frees it with GlobalFree.
#ifndef IMAGELIB_IMAGELIB_H
#define IMAGELIB_IMAGELIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// What GetLastImageError returns.
enum ImageErrorCode {
  kImageOk = 0,
  kImageNoMemory = 1,
  kImageCannotOpen = 2,
  kImageReadFailed = 3,
  kImageWriteFailed = 4,
  kImageBadArgument = 5,
  kImageNotBmp = 6,
  kImageBadRleDepth = 7,
  kImageJpegFailed = 9,
  kImageDrawingFailed = 10,
  kImageStopped = 14,
  kImagePngFailed = 15,
  kImagePngCreateFailed = 16,
  kImageBadLayout = 17,
  kImageTiffOpenFailed = 20,
  kImageBadPcxHeader = 22,
  kImageCompatibleBitmapFailed = 23,
  kImageRowOutOfRange = 24,
  kImageGetBitsFailed = 25,
  kImageNoDibDevice = 26,
  kImageNotMetafile = 27,
  kImageUnsupported = 28,
  kImageBadTgaType = 32,
  kImageBitmapFailed = 35,
  kImageTiffDecodeFailed = 36,
  kImageInvalidStream = 38,
  kImageNoBits = 40,
  kImageEnhancedMetafileFailed = 41,
  kImageMetafileDataFailed = 42,
  kImageNotPsd = 46,
  kImageBadPsdMode = 47,
  kImageNoContext = 55
};

// A stream handle: one global-memory block holding the stream's state.
typedef void* ImageStream;

// Palette entries in the order blue, green, red, 0; a table has 256 of them.
typedef struct PaletteEntry {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
} PaletteEntry;

enum { kPaletteEntries = 256 };

// Density and unit as the format defines them (JPEG 0/1/2, TIFF 1/2/3, PNG 0/1).
typedef struct ImageResolution {
  int x_density;
  int y_density;
  int unit;
} ImageResolution;

int GetLastImageError(void);

// Streams.
ImageStream OpenFileSource(const char* path);
ImageStream OpenFileSink(const char* path);
int SeekStream(ImageStream stream, long offset, int origin);
long CloseFileSource(ImageStream stream);
long CloseFileSink(ImageStream stream);

// Readers: each returns a new pixel buffer of the chosen depth.
void* ReadBmpFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette);
void* ReadPcxFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette);
void* ReadTgaFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette);
void* ReadPsdFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette);
void* ReadTiffFile(ImageStream stream, int* width, int* height, int bits, int ignored, int directory);
void* ReadPngFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette);
void* ReadJpegFile(ImageStream stream, int* width, int* height, int bits);
// Plays a WMF or EMF file into a 24-bit buffer; extent in 0.01 mm, background a COLORREF.
void* RenderMetafileFile(const char* path, int* width, int* height, int extent_x, int extent_y,
                         uint32_t background);

// Header information: 1 on success.
int GetTiffFileInfo(ImageStream stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution);
int GetJpegFileInfo(ImageStream stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution);
int GetPngFileInfo(ImageStream stream, int* width, int* height, int* bit_depth, int* color_type,
                   int* interlace, ImageResolution* resolution);

// Texts and markers kept from the last PNG or JPEG header this thread read.
int CountPngTexts(void);
int GetPngText(int index, char** keyword, char** text, int* compressed);
int CountJpegComments(void);
char* GetJpegComment(int index);
int CountJpegMarkers(void);
int GetJpegMarker(int index, uint8_t** data, int* length, int* marker);
// Ten factors each; a null array brings back the codec's own sampling.
void SetJpegSampling(const int* horizontal, const int* vertical);

// Writers: non-zero on success.
int WriteBmpFile(ImageStream sink, const void* pixels, int width, int height, int bits, int colors,
                 const PaletteEntry* palette, int rle);
int WritePcxFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                 const PaletteEntry* palette);
int WriteTgaFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                 const PaletteEntry* palette);
int WritePsdFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                 const PaletteEntry* palette);
int WriteTiffFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                  const PaletteEntry* palette, int compression, const ImageResolution* resolution);
int WritePngFile(ImageStream sink, const void* pixels, int width, int height, int row_bytes,
                 int bit_depth, int colors, const PaletteEntry* palette, int color_type, double gamma,
                 int interlace, const ImageResolution* resolution);
// The result is the file's size in bytes.
int WriteJpegFile(ImageStream sink, const void* pixels, int width, int height, int quality,
                  int progressive, int bits, const ImageResolution* resolution);
// A metafile holding one bitmap of the 24-bit pixels (Windows only; the host
// build answers 28); the result is the file's size in bytes.
int WriteWmfFile(ImageStream sink, const void* pixels, int width, int height, int placeable);
int WriteEmfFile(ImageStream sink, const void* pixels, int width, int height);

// Processing of 24-bit buffers: 1 on success.
int ResampleImage(const void* src, int src_width, int src_height, void* dst, int dst_width,
                  int dst_height, int bytes_per_pixel);
int SharpenImage(const void* src, int width, int height, void* dst, int amount);
int ConvertRgbToGrey(const void* src, int width, int height, void* dst);
int ReduceToPalette(const void* src, int width, int height, void* dst, int colors,
                    PaletteEntry* palette, int option);
int MakeOptimalPalette(const void* src, int width, int height, int colors, PaletteEntry* palette);
int BlendImages(void* dst, int dst_width, int dst_height, const void* src, int src_width,
                int src_height, int x, int y, double opacity, int table);
int ComputeLumaHistogram(const void* pixels, int width, int height, int* histogram);
int ComputeChannelHistogram(const void* pixels, int width, int height, int mask, int* histogram);
int ApplyGamma(void* pixels, int width, int height, double gamma);
int AdjustLevels(void* pixels, int width, int height, int low, int high, int mode);
int ReduceNoise(void* pixels, int width, int height);

#ifdef __cplusplus
}
#endif

#endif
