// PNG files through libpng from the caller's rows, of any colour type and
// depth libpng takes, with palette, time, resolution, gamma and the thread's
// outgoing texts.
#include <ctime>
#include <vector>

#include "imagelib/codecs.h"
#include "imagelib/png_glue.h"

namespace imagelib {

namespace {

// What goes into the chunks before the image.
struct PngHeader {
  png_uint_32 width, height;
  int bit_depth, color_type, interlace;
  int colors;  // PLTE entries, 0 for none
  png_color plte[kPaletteEntries];
  png_byte alphas[kPaletteEntries];
  bool with_transparency;
  png_color_16 background;
  double gamma;
  ImageResolution resolution;
  png_textp texts;
  int text_count;
};

// The functions that set the jump point: see png_glue.h.

// Writes the chunks up to the image and answers the number of passes.
bool WriteHeader(png_structp png, png_infop info, PngHeader& h, int* passes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, h.width, h.height, h.bit_depth, h.color_type, h.interlace, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (h.colors > 0) {
    png_set_PLTE(png, info, h.plte, h.colors);
    if (h.with_transparency) {
      png_set_tRNS(png, info, h.alphas, h.colors, nullptr);
      png_set_bKGD(png, info, &h.background);
    }
  }
  png_time now;
  png_convert_from_time_t(&now, std::time(nullptr));
  png_set_tIME(png, info, &now);
  if (h.color_type & PNG_COLOR_MASK_ALPHA) png_set_bKGD(png, info, &h.background);
  png_set_pHYs(png, info, static_cast<png_uint_32>(h.resolution.x_density),
               static_cast<png_uint_32>(h.resolution.y_density), h.resolution.unit);
  if (h.gamma > 0) png_set_gAMA(png, info, h.gamma);
  if (h.text_count > 0) png_set_text(png, info, h.texts, h.text_count);
  png_write_info(png, info);
  *passes = png_set_interlace_handling(png);
  return true;
}

RowsResult WriteRows(png_structp png, png_infop info, const png_byte* pixels, size_t row_bytes, int height,
                     int passes, EntryWork& work) {
  if (setjmp(png_jmpbuf(png))) return RowsResult::kFailed;
  PassProgress progress(work, height, passes);
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < height; ++y) {
      png_write_row(png, pixels + static_cast<size_t>(y) * row_bytes);
      if (!progress.RowDone()) return RowsResult::kStopped;
    }
  png_write_end(png, info);
  return RowsResult::kDone;
}

// The bytes of one row as the header describes it; 0 for a colour type
// libpng does not know (it refuses the header itself).
uint64_t RowSize(int width, int bit_depth, int color_type) {
  int channels = 0;
  switch (color_type) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE: channels = 1; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: channels = 2; break;
    case PNG_COLOR_TYPE_RGB: channels = 3; break;
    case PNG_COLOR_TYPE_RGB_ALPHA: channels = 4; break;
    default: return 0;
  }
  return (static_cast<uint64_t>(width) * static_cast<unsigned>(channels * bit_depth) + 7) / 8;
}

}  // namespace

bool WritePngImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int row_bytes,
                   int bit_depth, int colors, const PaletteEntry* palette, int color_type, double gamma,
                   int interlace, const ImageResolution& resolution) {
  const bool with_palette = colors >= 1 && colors <= kPaletteEntries;
  // The rows are read where the caller says: they must hold what the header describes.
  if ((with_palette && !palette) || width <= 0 || height <= 0 || bit_depth <= 0 || bit_depth > 16 || row_bytes <= 0 ||
      static_cast<uint64_t>(row_bytes) < RowSize(width, bit_depth, color_type)) {
    work.error = kImageBadArgument;
    return false;
  }
  const PngSettings& settings = work.context().png;
  std::vector<png_text> texts;
  for (const PngTextRecord& record : settings.outgoing_texts) {
    png_text t = {};
    t.compression = record.compressed ? PNG_TEXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_NONE;
    t.key = const_cast<char*>(record.keyword.c_str());
    t.text = const_cast<char*>(record.text.c_str());
    t.text_length = record.text.size();
    texts.push_back(t);
  }
  PngHeader header = {};
  header.width = static_cast<png_uint_32>(width);
  header.height = static_cast<png_uint_32>(height);
  header.bit_depth = bit_depth;
  header.color_type = color_type;
  header.interlace = interlace;
  header.colors = with_palette ? colors : 0;
  for (int i = 0; i < header.colors; ++i) {
    header.plte[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
    header.alphas[i] = palette[i].reserved;
  }
  header.with_transparency = color_type == PNG_COLOR_TYPE_PALETTE && settings.palette_transparency;
  header.background = ToPngColor(settings.background);
  header.gamma = gamma;
  header.resolution = resolution;
  header.texts = texts.data();
  header.text_count = static_cast<int>(texts.size());

  PngWriteStructs structs(sink);
  int passes = 1;
  if (!structs.ok() || !WriteHeader(structs.png, structs.info, header, &passes)) {
    work.error = kImagePngCreateFailed;
    return false;
  }
  switch (WriteRows(structs.png, structs.info, static_cast<const png_byte*>(pixels), static_cast<size_t>(row_bytes),
                    height, passes, work)) {
    case RowsResult::kFailed:
      work.error = kImagePngCreateFailed;
      return false;
    case RowsResult::kStopped:
      return false;
    case RowsResult::kDone:
      break;
  }
  return true;
}

}  // namespace imagelib
