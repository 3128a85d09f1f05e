// The reader, header-information and writer entry points: the checks every
// one of them makes before its codec runs on the caller's stream.
#include <initializer_list>

#include "imagelib/codecs.h"

using namespace imagelib;

namespace {

bool Offers(std::initializer_list<int> depths, int bits) {
  for (int depth : depths)
    if (depth == bits) return true;
  return false;
}

// Context, stream and size pointers, the depth; then the codec under a raised depth.
template <typename Decode>
void* RunReader(ImageStream handle, int* width, int* height, int bits, std::initializer_list<int> depths,
                Decode decode) {
  LibraryContext* context = GetContext();
  if (!context) return nullptr;
  if (!handle || !width || !height) return RefusePointer(*context, kImageBadArgument);
  IoStream stream(handle);
  if (!stream.IsValid()) return RefusePointer(*context, kImageInvalidStream);
  if (!Offers(depths, bits)) return RefusePointer(*context, kImageBadArgument);
  EntryWork work(*context);
  return decode(work, stream);
}

// Every output but the resolution is required.
template <typename ReadHeader>
int RunInfo(ImageStream handle, std::initializer_list<const int*> outputs, ReadHeader read_header) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!handle) return Refuse(*context, kImageBadArgument);
  for (const int* output : outputs)
    if (!output) return Refuse(*context, kImageBadArgument);
  IoStream stream(handle);
  if (!stream.IsValid()) return Refuse(*context, kImageInvalidStream);
  EntryWork work(*context);
  return read_header(work, stream) && work.error == kImageOk ? 1 : 0;
}

// An empty depth list means the codec checks the depth itself.
template <typename Encode>
int RunWriter(ImageStream handle, const void* pixels, int bits, std::initializer_list<int> depths,
              Encode encode) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!handle || !pixels) return Refuse(*context, kImageBadArgument);
  IoStream stream(handle);
  if (!stream.IsValid()) return Refuse(*context, kImageInvalidStream);
  if (depths.size() != 0 && !Offers(depths, bits)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  int result = encode(work, stream);
  return work.error == kImageOk ? result : 0;
}

ImageResolution ResolutionOrDefault(const ImageResolution* resolution, int default_unit) {
  return resolution ? *resolution : ImageResolution{1, 1, default_unit};
}

}  // namespace

extern "C" void* ReadBmpFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette) {
  return RunReader(stream, width, height, bits, {1, 8, 24}, [&](EntryWork& work, IoStream& s) {
    return ReadBmpImage(work, s, bits, width, height, palette);
  });
}

extern "C" void* ReadPcxFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette) {
  return RunReader(stream, width, height, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return ReadPcxImage(work, s, bits, width, height, palette);
  });
}

extern "C" void* ReadTgaFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette) {
  return RunReader(stream, width, height, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return ReadTgaImage(work, s, bits, width, height, palette);
  });
}

extern "C" void* ReadPsdFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette) {
  return RunReader(stream, width, height, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return ReadPsdImage(work, s, bits, width, height, palette);
  });
}

extern "C" void* ReadTiffFile(ImageStream stream, int* width, int* height, int bits, int, int directory) {
  return RunReader(stream, width, height, bits, {24, 32}, [&](EntryWork& work, IoStream& s) {
    return ReadTiffImage(work, s, bits, directory, width, height);
  });
}

extern "C" void* ReadPngFile(ImageStream stream, int* width, int* height, int bits, PaletteEntry* palette) {
  return RunReader(stream, width, height, bits, {8, 24, 32}, [&](EntryWork& work, IoStream& s) {
    return ReadPngImage(work, s, bits, width, height, palette);
  });
}

extern "C" void* ReadJpegFile(ImageStream stream, int* width, int* height, int bits) {
  return RunReader(stream, width, height, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return ReadJpegImage(work, s, bits, width, height);
  });
}

extern "C" void* RenderMetafileFile(const char* path, int* width, int* height, int extent_x, int extent_y,
                                    uint32_t background) {
  LibraryContext* context = GetContext();
  if (!context) return nullptr;
  if (!path || !width || !height) return RefusePointer(*context, kImageBadArgument);
  EntryWork work(*context);
  return RenderMetafile(work, path, width, height, extent_x, extent_y, background);
}

extern "C" int GetTiffFileInfo(ImageStream stream, int* width, int* height, int* bits_per_pixel,
                               ImageResolution* resolution) {
  return RunInfo(stream, {width, height, bits_per_pixel}, [&](EntryWork& work, IoStream& s) {
    return ReadTiffHeader(work, s, width, height, bits_per_pixel, resolution);
  });
}

extern "C" int GetJpegFileInfo(ImageStream stream, int* width, int* height, int* bits_per_pixel,
                               ImageResolution* resolution) {
  return RunInfo(stream, {width, height, bits_per_pixel}, [&](EntryWork& work, IoStream& s) {
    return ReadJpegHeader(work, s, width, height, bits_per_pixel, resolution);
  });
}

extern "C" int GetPngFileInfo(ImageStream stream, int* width, int* height, int* bit_depth, int* color_type,
                              int* interlace, ImageResolution* resolution) {
  return RunInfo(stream, {width, height, bit_depth, color_type, interlace}, [&](EntryWork& work, IoStream& s) {
    return ReadPngHeader(work, s, width, height, bit_depth, color_type, interlace, resolution);
  });
}

extern "C" int WriteBmpFile(ImageStream sink, const void* pixels, int width, int height, int bits, int colors,
                            const PaletteEntry* palette, int rle) {
  return RunWriter(sink, pixels, bits, {}, [&](EntryWork& work, IoStream& s) {
    return WriteBmpImage(work, s, pixels, width, height, bits, colors, palette, rle) ? 1 : 0;
  });
}

extern "C" int WritePcxFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                            const PaletteEntry* palette) {
  return RunWriter(sink, pixels, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return WritePcxImage(work, s, pixels, width, height, bits, palette) ? 1 : 0;
  });
}

extern "C" int WriteTgaFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                            const PaletteEntry* palette) {
  return RunWriter(sink, pixels, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return WriteTgaImage(work, s, pixels, width, height, bits, palette) ? 1 : 0;
  });
}

extern "C" int WritePsdFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                            const PaletteEntry* palette) {
  return RunWriter(sink, pixels, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return WritePsdImage(work, s, pixels, width, height, bits, palette) ? 1 : 0;
  });
}

extern "C" int WriteTiffFile(ImageStream sink, const void* pixels, int width, int height, int bits,
                             const PaletteEntry* palette, int compression, const ImageResolution* resolution) {
  ImageResolution written = ResolutionOrDefault(resolution, 1);
  return RunWriter(sink, pixels, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return WriteTiffImage(work, s, pixels, width, height, bits, palette, compression, written) ? 1 : 0;
  });
}

extern "C" int WritePngFile(ImageStream sink, const void* pixels, int width, int height, int row_bytes,
                            int bit_depth, int colors, const PaletteEntry* palette, int color_type, double gamma,
                            int interlace, const ImageResolution* resolution) {
  ImageResolution written = ResolutionOrDefault(resolution, 0);
  return RunWriter(sink, pixels, bit_depth, {}, [&](EntryWork& work, IoStream& s) {
    return WritePngImage(work, s, pixels, width, height, row_bytes, bit_depth, colors, palette, color_type,
                         gamma, interlace, written) ? 1 : 0;
  });
}

extern "C" int WriteJpegFile(ImageStream sink, const void* pixels, int width, int height, int quality,
                             int progressive, int bits, const ImageResolution* resolution) {
  ImageResolution written = ResolutionOrDefault(resolution, 0);
  return RunWriter(sink, pixels, bits, {8, 24}, [&](EntryWork& work, IoStream& s) {
    return WriteJpegImage(work, s, pixels, width, height, quality, progressive, bits, written);
  });
}

extern "C" int WriteWmfFile(ImageStream sink, const void* pixels, int width, int height, int placeable) {
  return RunWriter(sink, pixels, 24, {}, [&](EntryWork& work, IoStream& s) {
    return WriteWmfImage(work, s, pixels, width, height, placeable);
  });
}

extern "C" int WriteEmfFile(ImageStream sink, const void* pixels, int width, int height) {
  return RunWriter(sink, pixels, 24, {}, [&](EntryWork& work, IoStream& s) {
    return WriteEmfImage(work, s, pixels, width, height);
  });
}
