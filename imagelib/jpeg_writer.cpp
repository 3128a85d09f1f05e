// The JPEG writer: libjpeg set up from the call and the thread's JPEG
// settings, writing to the caller's sink.
#include "imagelib/codecs.h"
#include "imagelib/jpeg_glue.h"
#include "imagelib/platform.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

// One block per call, zero-filled, so that destroying an object that was
// never created is harmless.
struct JpegEncoder {
  jpeg_compress_struct info;
  JpegErrorExit error;
  IoStream* stream;
};

struct EncoderSetup {
  int width;
  int height;
  int quality;
  int progressive;
  int bits;
  ImageResolution resolution;
  const JpegSettings* settings;
};

J_DCT_METHOD DctMethod(int selector, J_DCT_METHOD fallback) {
  switch (selector) {
    case 1: return JDCT_ISLOW;
    case 2: return JDCT_IFAST;
    case 3: return JDCT_FLOAT;
    default: return fallback;
  }
}

void WriteMarkers(j_compress_ptr info, const std::vector<JpegMarkerRecord>& comments,
                  const std::vector<JpegMarkerRecord>& markers) {
  for (const JpegMarkerRecord& comment : comments) {
    if (comment.text.empty()) continue;
    jpeg_write_marker(info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.text.data()),
                      static_cast<unsigned>(comment.text.size()));
  }
  for (const JpegMarkerRecord& marker : markers)
    jpeg_write_marker(info, marker.marker, marker.data.data(), static_cast<unsigned>(marker.data.size()));
}

// Each of these answers false when libjpeg's error exit jumped back out of it.

bool StartEncoder(JpegEncoder* encoder, const EncoderSetup& setup) {
  if (setjmp(encoder->error.jump)) return false;
  jpeg_compress_struct& info = encoder->info;
  info.err = UseJpegErrorExit(encoder->error);
  jpeg_create_compress(&info);
  AttachJpegStreamDestination(&info, encoder->stream);
  info.image_width = static_cast<JDIMENSION>(setup.width);
  info.image_height = static_cast<JDIMENSION>(setup.height);
  info.input_components = setup.bits == 8 ? 1 : 3;
  info.in_color_space = setup.bits == 8 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, setup.quality, TRUE);
  const JpegSettings& settings = *setup.settings;
  if (settings.sampling_enabled) {
    // libjpeg keeps room for ten components whatever the image has.
    for (int i = 0; i < kJpegSamplingSlots; ++i) {
      info.comp_info[i].h_samp_factor = settings.horizontal_sampling[i];
      info.comp_info[i].v_samp_factor = settings.vertical_sampling[i];
    }
  }
  if (setup.progressive) jpeg_simple_progression(&info);
  info.density_unit = static_cast<UINT8>(setup.resolution.unit);
  info.X_density = static_cast<UINT16>(setup.resolution.x_density);
  info.Y_density = static_cast<UINT16>(setup.resolution.y_density);
  info.dct_method = DctMethod(settings.dct_method, info.dct_method);
  info.smoothing_factor = settings.smoothing;
  jpeg_start_compress(&info, TRUE);
  WriteMarkers(&info, settings.outgoing_comments, settings.outgoing_markers);
  return true;
}

bool WriteRow(JpegEncoder* encoder, const uint8_t* row) {
  if (setjmp(encoder->error.jump)) return false;
  // libjpeg takes rows as writable but only reads them.
  JSAMPROW rows[1] = {const_cast<JSAMPLE*>(row)};
  return jpeg_write_scanlines(&encoder->info, rows, 1) == 1;
}

bool FinishEncoder(JpegEncoder* encoder) {
  if (setjmp(encoder->error.jump)) return false;
  jpeg_finish_compress(&encoder->info);
  return true;
}

// Destroying also aborts: an image with rows still missing is never finished,
// since libjpeg would answer that with its error exit.
void FreeEncoder(JpegEncoder* encoder) {
  jpeg_destroy_compress(&encoder->info);
  GlobalBlockFree(encoder);
}

// Every row through the encoder; false with the code set on a failed row or a stop.
bool EncodeRows(EntryWork& work, JpegEncoder* encoder, const uint8_t* pixels, int width, int height, int bits) {
  size_t stride = static_cast<size_t>(width) * (bits == 8 ? 1 : 3);
  for (int y = 0; y < height; ++y) {
    if (encoder->info.next_scanline >= encoder->info.image_height) {
      work.error = kImageRowOutOfRange;
      return false;
    }
    if (!WriteRow(encoder, pixels + stride * static_cast<size_t>(y))) {
      work.error = kImageWriteFailed;
      return false;
    }
    if (!work.Progress(y, height)) return false;
  }
  return true;
}

}  // namespace

int WriteJpegImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int quality,
                   int progressive, int bits, const ImageResolution& resolution) {
  if (width <= 0 || height <= 0) {
    work.error = kImageBadArgument;
    return 0;
  }
  auto* encoder = static_cast<JpegEncoder*>(AllocateBlock(sizeof(JpegEncoder)));
  if (!encoder) {
    work.error = kImageNoMemory;
    return 0;
  }
  encoder->stream = &sink;
  EncoderSetup setup = {width, height, quality, progressive, bits, resolution, &work.context().jpeg};
  bool written = false;
  if (!StartEncoder(encoder, setup)) {
    work.error = kImageJpegFailed;
  } else if (EncodeRows(work, encoder, static_cast<const uint8_t*>(pixels), width, height, bits)) {
    written = FinishEncoder(encoder);
    if (!written) work.error = kImageJpegFailed;
  }
  FreeEncoder(encoder);
  return written ? static_cast<int>(sink.Size()) : 0;
}

}  // namespace imagelib
