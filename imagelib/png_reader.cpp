// PNG header and pixels through libpng: every colour type and depth read as
// 8-bit indexes or grey with a palette, as R, G, B, or as R, G, B, A, with
// transparency composited on a background and the thread's gamma settings;
// the file's texts are kept for the thread.
#include <cstring>
#include <vector>

#include "imagelib/codecs.h"
#include "imagelib/png_glue.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

// The functions that set the jump point: see png_glue.h.

bool ReadInfo(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  return true;
}

// Chooses the transformations for the asked depth and answers the passes and
// the row size they give.
bool SetTransforms(png_structp png, png_infop info, int bits, const PngSettings& settings,
                   const png_color_16* context_background, int* passes, size_t* row_bytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int color_type = png_get_color_type(png, info);
  if (bits == 8) {
    png_set_packing(png);
  } else {
    if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (color_type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
      png_set_expand_gray_1_2_4_to_8(png);
    if (!(color_type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    if (bits == 32 && !(color_type & PNG_COLOR_MASK_ALPHA)) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_strip_16(png);
  if (bits != 32) {
    png_color_16p file_background = nullptr;
    if (png_get_bKGD(png, info, &file_background))
      png_set_background(png, file_background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    else
      png_set_background(png, context_background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
  }
  // Without gAMA the file gamma is 1 / screen gamma, a correction of 1: it is
  // left out, so that transparency is composited on the samples as stored and
  // not through libpng's 8-bit linear tables, which crush the dark tones.
  double file_gamma = 0;
  if (settings.gamma_correction && png_get_gAMA(png, info, &file_gamma))
    png_set_gamma(png, settings.screen_gamma, file_gamma);
  *passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *row_bytes = png_get_rowbytes(png, info);
  return true;
}

RowsResult ReadRows(png_structp png, png_infop end, png_bytep* rows, int height, int passes, EntryWork& work) {
  if (setjmp(png_jmpbuf(png))) return RowsResult::kFailed;
  PassProgress progress(work, height, passes);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) {
      png_read_row(png, rows[y], nullptr);
      if (!progress.RowDone()) return RowsResult::kStopped;
    }
  png_read_end(png, end);
  return RowsResult::kDone;
}

void KeepTexts(png_structp png, png_infop info, std::vector<PngTextRecord>& kept) {
  png_textp texts = nullptr;
  const int count = png_get_text(png, info, &texts, nullptr);
  for (int i = 0; i < count; ++i) {
    const png_text& t = texts[i];
    const bool compressed = t.compression == PNG_TEXT_COMPRESSION_zTXt || t.compression == PNG_ITXT_COMPRESSION_zTXt;
    kept.push_back(PngTextRecord{t.key ? t.key : "", t.text ? t.text : "", compressed ? 1 : 0});
  }
}

// PLTE entries as blue, green, red (missing ones copy entry 0; no PLTE, a
// grey ramp), or for a grey image libpng's ramp for its depth; the rest of the
// table copies entry 0.
void FillPalette(png_structp png, png_infop info, int color_type, int bit_depth, PaletteEntry* palette) {
  png_color colors[kPaletteEntries];
  int count = 0;
  if (color_type == PNG_COLOR_TYPE_PALETTE) {
    png_colorp plte = nullptr;
    if (png_get_PLTE(png, info, &plte, &count)) {
      std::memcpy(colors, plte, sizeof(png_color) * static_cast<size_t>(count));
    } else {
      count = kPaletteEntries;
      for (int i = 0; i < count; ++i) colors[i] = png_color{png_byte(i), png_byte(i), png_byte(i)};
    }
  } else {
    // A 16-bit file arrives stripped to 8 bits: its ramp is the 8-bit one.
    const int depth = bit_depth > 8 ? 8 : bit_depth;
    count = 1 << depth;
    png_build_grayscale_palette(depth, colors);
  }
  for (int i = 0; i < kPaletteEntries; ++i) {
    const png_color& c = colors[i < count ? i : 0];
    palette[i].blue = c.blue;
    palette[i].green = c.green;
    palette[i].red = c.red;
  }
}

}  // namespace

bool ReadPngHeader(EntryWork& work, IoStream& stream, int* width, int* height, int* bit_depth, int* color_type,
                   int* interlace, ImageResolution* resolution) {
  std::vector<PngTextRecord>& kept = work.context().png.kept_texts;
  kept.clear();
  PngReadStructs structs(stream);
  if (!structs.ok()) {
    work.error = kImagePngCreateFailed;
    return false;
  }
  if (!ReadInfo(structs.png, structs.info)) {
    work.error = kImagePngFailed;
    return false;
  }
  *width = static_cast<int>(png_get_image_width(structs.png, structs.info));
  *height = static_cast<int>(png_get_image_height(structs.png, structs.info));
  *bit_depth = png_get_bit_depth(structs.png, structs.info);
  *color_type = png_get_color_type(structs.png, structs.info);
  *interlace = png_get_interlace_type(structs.png, structs.info);
  if (resolution) {
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    png_get_pHYs(structs.png, structs.info, &x, &y, &unit);
    *resolution = {static_cast<int>(x), static_cast<int>(y), unit};
  }
  KeepTexts(structs.png, structs.info, kept);
  return true;
}

void* ReadPngImage(EntryWork& work, IoStream& stream, int bits, int* width, int* height, PaletteEntry* palette) {
  std::vector<PngTextRecord>& kept = work.context().png.kept_texts;
  kept.clear();
  PngReadStructs structs(stream);
  if (!structs.ok()) {
    work.error = kImagePngCreateFailed;
    return nullptr;
  }
  png_structp png = structs.png;
  if (!ReadInfo(png, structs.info)) {
    work.error = kImagePngFailed;
    return nullptr;
  }
  const int color_type = png_get_color_type(png, structs.info);
  const int bit_depth = png_get_bit_depth(png, structs.info);
  const png_color_16 background = ToPngColor(work.context().png.background);
  int passes = 1;
  size_t row_bytes = 0;
  if (!SetTransforms(png, structs.info, bits, work.context().png, &background, &passes, &row_bytes)) {
    work.error = kImagePngFailed;
    return nullptr;
  }
  const png_uint_32 image_width = png_get_image_width(png, structs.info);
  const png_uint_32 image_height = png_get_image_height(png, structs.info);
  if (row_bytes != uint64_t{image_width} * static_cast<unsigned>(bits / 8)) {
    work.error = kImageBadLayout;
    return nullptr;
  }
  // In 64 bits: the cap refuses a huge image before any allocation.
  ScratchBlock pixels(uint64_t{image_height} * row_bytes);
  ScratchBlock rows(uint64_t{image_height} * sizeof(png_bytep));
  if (!pixels || !rows) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  for (png_uint_32 y = 0; y < image_height; ++y) rows.As<png_bytep>()[y] = pixels.As<png_byte>() + y * row_bytes;
  switch (ReadRows(png, structs.end, rows.As<png_bytep>(), static_cast<int>(image_height), passes, work)) {
    case RowsResult::kFailed:
      work.error = kImagePngFailed;
      return nullptr;
    case RowsResult::kStopped:
      return nullptr;
    case RowsResult::kDone:
      break;
  }
  if (bits == 8 && palette) FillPalette(png, structs.info, color_type, bit_depth, palette);
  KeepTexts(png, structs.info, kept);
  KeepTexts(png, structs.end, kept);
  *width = static_cast<int>(image_width);
  *height = static_cast<int>(image_height);
  return pixels.Release();
}

}  // namespace imagelib
