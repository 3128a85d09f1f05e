// The format codecs behind the reader, information and writer entry points,
// and the palette quantiser. Each runs inside an entry point that has checked
// the stream and the arguments it lists; failures leave their code in the work.
#ifndef IMAGELIB_CODECS_H
#define IMAGELIB_CODECS_H

#include <cstdint>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/io_stream.h"

namespace imagelib {

// Readers answer a new pixel buffer, or null.
void* ReadBmpImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette);
void* ReadPcxImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette);
void* ReadTgaImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette);
void* ReadPsdImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette);
void* ReadTiffImage(EntryWork& work, IoStream& stream, int bits, int directory, int* width, int* height);
void* ReadPngImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette);
void* ReadJpegImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height);
void* RenderMetafile(EntryWork& work, const char* path, int* width, int* height, int extent_x, int extent_y,
                     uint32_t background);

// Header readers; the resolution pointer may be null.
bool ReadTiffHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution);
bool ReadJpegHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution);
bool ReadPngHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bit_depth, int* color_type,
                   int* interlace, ImageResolution* resolution);

// Writers get the resolution to write, the caller's or the format's default.
bool WriteBmpImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   int colors, const PaletteEntry* palette, int rle);
bool WritePcxImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette);
bool WriteTgaImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette);
bool WritePsdImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                   const PaletteEntry* palette);
bool WriteTiffImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int bits,
                    const PaletteEntry* palette, int compression, const ImageResolution& resolution);
bool WritePngImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int row_bytes,
                   int bit_depth, int colors, const PaletteEntry* palette, int color_type, double gamma,
                   int interlace, const ImageResolution& resolution);
// Answers the file's size in bytes, 0 on failure.
int WriteJpegImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int quality,
                   int progressive, int bits, const ImageResolution& resolution);
// Answer the file's size in bytes, 0 on failure.
int WriteWmfImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int placeable);
int WriteEmfImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height);

// The quantiser; the colour count is already within 1..256.
bool QuantizeToPalette(EntryWork& work, const void* src, int width, int height, void* dst, int colors,
                       PaletteEntry* palette, int option);
bool ComputeOptimalPalette(EntryWork& work, const void* src, int width, int height, int colors,
                           PaletteEntry* palette);

}  // namespace imagelib

#endif
