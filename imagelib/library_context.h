// The per-thread state of the library: last error, nesting depth, progress
// callback, PNG and JPEG settings and the texts and markers kept from the last
// header read on the thread.
#ifndef IMAGELIB_LIBRARY_CONTEXT_H
#define IMAGELIB_LIBRARY_CONTEXT_H

#include <cstdint>
#include <string>
#include <vector>

namespace imagelib {

// Non-zero means go on, zero means stop.
using ProgressCallback = int (*)(int done, int total, void* user_data);

struct PngTextRecord {
  std::string keyword;
  std::string text;
  int compressed = 0;  // 1 when the text came from a compressed chunk
};

struct JpegMarkerRecord {
  int marker = 0;
  std::string text;
  std::vector<uint8_t> data;
};

// The codec's 16-bit colour record: palette index, red, green, blue, grey.
struct PngColor16 {
  uint8_t index = 0;
  uint16_t red = 0;
  uint16_t green = 0;
  uint16_t blue = 0;
  uint16_t gray = 0;
};

constexpr int kJpegSamplingSlots = 10;

struct PngSettings {
  double screen_gamma = 2.9;
  PngColor16 background;
  std::vector<PngTextRecord> kept_texts;
  std::vector<PngTextRecord> outgoing_texts;
  int palette_transparency = 0;
  int gamma_correction = 1;
};

struct JpegSettings {
  int dct_method = 0;  // 0 codec default, 1 slow integer, 2 fast integer, 3 floating point
  int smoothing = 0;
  int vertical_sampling[kJpegSamplingSlots] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  int horizontal_sampling[kJpegSamplingSlots] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  int sampling_enabled = 0;
  int sampling_slots = kJpegSamplingSlots;
  std::vector<JpegMarkerRecord> kept_comments;
  std::vector<JpegMarkerRecord> outgoing_comments;
  std::vector<JpegMarkerRecord> kept_markers;
  std::vector<JpegMarkerRecord> outgoing_markers;
};

struct LibraryContext {
  ProgressCallback progress = nullptr;
  int depth = 0;
  void* progress_user_data = nullptr;
  PngSettings png;
  JpegSettings jpeg;
  int dib_section = 0;  // when set, display bitmaps are DIB sections
  int last_error = 0;
};

// The calling thread's context, made on its first call; null when no
// thread-local slot or no memory could be had.
LibraryContext* GetContext();
void SetLastImageError(int code);

}  // namespace imagelib

#endif
