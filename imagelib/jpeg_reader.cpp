// The JPEG header reader and image reader: libjpeg over the caller's stream,
// the kept comments and markers, and the decoded rows as a pixel buffer.
#include <cstring>
#include <new>

#include "imagelib/codecs.h"
#include "imagelib/jpeg_glue.h"
#include "imagelib/pixels.h"
#include "imagelib/platform.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

constexpr unsigned kSavedMarkerBytes = 0xFFFF;

// One block per call, zero-filled, so that destroying an object that was
// never created is harmless.
struct JpegDecoder {
  jpeg_decompress_struct info;
  JpegErrorExit error;
  IoStream* stream;
  JSAMPLE* row;
};

// How a decoded row becomes a row of the asked depth.
enum class RowConversion { kCopy, kRgbToGrey, kGreyToRgb, kCmykToRgb, kNone, kUnsupported };

// Each of these answers false when libjpeg's error exit jumped back out of it.

bool OpenDecoder(JpegDecoder* decoder) {
  if (setjmp(decoder->error.jump)) return false;
  decoder->info.err = UseJpegErrorExit(decoder->error);
  jpeg_create_decompress(&decoder->info);
  AttachJpegStreamSource(&decoder->info, decoder->stream);
  // APP0 (JFIF) and APP15 are not kept.
  jpeg_save_markers(&decoder->info, JPEG_COM, kSavedMarkerBytes);
  for (int marker = JPEG_APP0 + 1; marker <= JPEG_APP0 + 14; ++marker)
    jpeg_save_markers(&decoder->info, marker, kSavedMarkerBytes);
  jpeg_read_header(&decoder->info, TRUE);
  jpeg_calc_output_dimensions(&decoder->info);
  return true;
}

bool StartDecoder(JpegDecoder* decoder) {
  if (setjmp(decoder->error.jump)) return false;
  jpeg_start_decompress(&decoder->info);
  return true;
}

bool ReadRow(JpegDecoder* decoder) {
  if (setjmp(decoder->error.jump)) return false;
  JSAMPROW rows[1] = {decoder->row};
  return jpeg_read_scanlines(&decoder->info, rows, 1) == 1;
}

bool FinishDecoder(JpegDecoder* decoder) {
  if (setjmp(decoder->error.jump)) return false;
  jpeg_finish_decompress(&decoder->info);
  return true;
}

// Destroying also aborts: an image with rows still missing is never finished,
// since libjpeg would answer that with its error exit.
void FreeDecoder(JpegDecoder* decoder) {
  jpeg_destroy_decompress(&decoder->info);
  GlobalBlockFree(decoder->row);
  GlobalBlockFree(decoder);
}

bool KeepMarkers(const jpeg_decompress_struct& info, JpegSettings& jpeg) {
  try {
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
      if (m->data_length == 0) continue;
      const char* bytes = reinterpret_cast<const char*>(m->data);
      if (m->marker == JPEG_COM)
        jpeg.kept_comments.push_back({JPEG_COM, std::string(bytes, m->data_length), {}});
      else
        jpeg.kept_markers.push_back({m->marker, "", std::vector<uint8_t>(m->data, m->data + m->data_length)});
    }
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Empties the thread's kept lists and reads the header; null with the code
// set when that failed.
JpegDecoder* OpenHeader(EntryWork& work, IoStream& stream) {
  JpegSettings& jpeg = work.context().jpeg;
  jpeg.kept_comments.clear();
  jpeg.kept_markers.clear();
  auto* decoder = static_cast<JpegDecoder*>(AllocateBlock(sizeof(JpegDecoder)));
  if (!decoder) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  decoder->stream = &stream;
  if (!OpenDecoder(decoder)) {
    work.error = kImageJpegFailed;
  } else if (!KeepMarkers(decoder->info, jpeg)) {
    work.error = kImageNoMemory;
  } else {
    return decoder;
  }
  FreeDecoder(decoder);
  return nullptr;
}

RowConversion ConversionFor(const jpeg_decompress_struct& info, int bits) {
  int components = info.output_components;
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  if (components == 4) return bits == 24 && cmyk ? RowConversion::kCmykToRgb : RowConversion::kUnsupported;
  if (components == 1) return bits == 8 ? RowConversion::kCopy : RowConversion::kGreyToRgb;
  if (components == 3) return bits == 8 ? RowConversion::kRgbToGrey : RowConversion::kCopy;
  return RowConversion::kNone;
}

void ConvertRow(RowConversion conversion, const JSAMPLE* in, uint8_t* out, size_t width, int components) {
  switch (conversion) {
    case RowConversion::kCopy:
      std::memcpy(out, in, width * static_cast<size_t>(components));
      break;
    case RowConversion::kRgbToGrey:
      for (size_t x = 0; x < width; ++x) out[x] = static_cast<uint8_t>(Luminance(in + x * 3));
      break;
    case RowConversion::kGreyToRgb:
      for (size_t x = 0; x < width; ++x) out[x * 3] = out[x * 3 + 1] = out[x * 3 + 2] = in[x];
      break;
    case RowConversion::kCmykToRgb:
      for (size_t x = 0; x < width; ++x) {
        const JSAMPLE* cmyk = in + x * 4;
        for (int c = 0; c < 3; ++c) out[x * 3 + c] = static_cast<uint8_t>(cmyk[c] * cmyk[3] / 255);
      }
      break;
    case RowConversion::kNone:
    case RowConversion::kUnsupported:
      break;
  }
}

// Decodes every row into the buffer; a failed row or a stop keeps the rows
// done so far and leaves the code set.
void DecodeRows(EntryWork& work, JpegDecoder* decoder, RowConversion conversion, uint8_t* pixels, int bits) {
  jpeg_decompress_struct& info = decoder->info;
  size_t width = info.output_width;
  size_t stride = width * (bits == 24 ? 3 : 1);
  int height = static_cast<int>(info.output_height);
  for (int y = 0; y < height; ++y) {
    if (info.output_scanline >= info.output_height) {
      work.error = kImageRowOutOfRange;
      return;
    }
    if (!ReadRow(decoder)) {
      work.error = kImageReadFailed;
      return;
    }
    ConvertRow(conversion, decoder->row, pixels + stride * static_cast<size_t>(y), width, info.output_components);
    if (!work.Progress(y, height)) return;
  }
  if (!FinishDecoder(decoder)) work.error = kImageReadFailed;
}

// The pixel and row buffers, had before decoding starts: a progressive file
// makes libjpeg allocate its own image-sized buffers when it starts. Null with
// the code set when the image cannot be had.
uint8_t* StartImage(EntryWork& work, JpegDecoder* decoder, RowConversion conversion, int bits) {
  if (conversion == RowConversion::kUnsupported) {
    work.error = kImageUnsupported;
    return nullptr;
  }
  const jpeg_decompress_struct& info = decoder->info;
  uint64_t bytes = uint64_t{info.output_width} * (bits == 24 ? 3 : 1) * info.output_height;
  auto* pixels = static_cast<uint8_t*>(AllocateBlock(bytes));
  decoder->row = static_cast<JSAMPLE*>(
      AllocateBlock(uint64_t{2} * info.output_width * static_cast<unsigned>(info.output_components)));
  if (!pixels || !decoder->row) {
    work.error = kImageNoMemory;
  } else if (!StartDecoder(decoder)) {
    work.error = kImageJpegFailed;
  } else {
    return pixels;
  }
  GlobalBlockFree(pixels);
  return nullptr;
}

}  // namespace

bool ReadJpegHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bits_per_pixel,
                    ImageResolution* resolution) {
  JpegDecoder* decoder = OpenHeader(work, stream);
  if (!decoder) return false;
  const jpeg_decompress_struct& info = decoder->info;
  *width = static_cast<int>(info.image_width);
  *height = static_cast<int>(info.image_height);
  *bits_per_pixel = info.num_components * 8;
  if (resolution) *resolution = {info.X_density, info.Y_density, info.density_unit};
  FreeDecoder(decoder);
  return true;
}

void* ReadJpegImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height) {
  JpegDecoder* decoder = OpenHeader(work, stream);
  if (!decoder) return nullptr;
  *width = static_cast<int>(decoder->info.output_width);
  *height = static_cast<int>(decoder->info.output_height);
  RowConversion conversion = ConversionFor(decoder->info, bits);
  uint8_t* pixels = StartImage(work, decoder, conversion, bits);
  if (pixels) DecodeRows(work, decoder, conversion, pixels, bits);
  FreeDecoder(decoder);
  return pixels;
}

}  // namespace imagelib
