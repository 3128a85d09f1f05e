#include "session/preview_store.h"

#include <cstring>

#include "records/frame_record.h"
#include "session/preview_files.h"
#include "tone/curve_tables.h"

GlobalDib gPreviewDib = nullptr;
GlobalDib gPreviewBaseDib = nullptr;
MemHandle gPreviewStore = nullptr;
MemHandle gPrescanStore = nullptr;
Rect16 gPrescanStoreRect = {};
bool gHighBitPreview = false;
bool gPreviewZoomed = false;
DRect gPrescanArea = {};

namespace {

uint8_t* gPreviewLut = nullptr;
constexpr uint32_t kPreviewLutBytes = 3 * kPreviewLutEntries;

uint16_t* StoreSamples() { return reinterpret_cast<uint16_t*>(gPreviewStore->data); }
int32_t StoreWidth() { return GlobalDibWidth(gPreviewBaseDib); }
int32_t StoreHeight() { return GlobalDibHeight(gPreviewBaseDib); }

// Rows [first, first + count) of width samples fit the store.
bool StoreHolds(int32_t first, int32_t count, int32_t width) {
  return gPreviewStore && gPreviewBaseDib && first >= 0 && count >= 0 && first + count <= StoreHeight() &&
         width >= 0 && width <= StoreWidth();
}

void PutPixel(uint8_t* pixel, uint8_t red, uint8_t green, uint8_t blue) {
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  pixel[3] = 0;
}

// Calls put(pixel, prescan column) for each preview column of the row.
template <typename Put>
void SampleRow(int32_t prescanWidth, int32_t factor, uint8_t* pixels, int32_t previewWidth, Put put) {
  for (int32_t c = 0; c < previewWidth; ++c) {
    const int32_t column = c * factor;
    if (column >= prescanWidth) break;
    put(pixels + c * 4, column);
  }
}

}  // namespace

bool AllocPreviewBuffers(int32_t height, int32_t width) {
  FreePreviewBuffers();
  gPreviewDib = CreateGlobalDib(height, width, 32, true);
  gPreviewBaseDib = CreateGlobalDib(height, width, 32, true);
  bool made = gPreviewDib && gPreviewBaseDib;
  if (made && gHighBitPreview) {
    const uint64_t bytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * 6;
    gPreviewStore = bytes <= 0x7FFFFFFF ? NewMemHandle(static_cast<uint32_t>(bytes)) : nullptr;
    if (gPreviewStore) std::memset(gPreviewStore->data, 0xFF, gPreviewStore->size);
    made = gPreviewStore != nullptr;
  }
  if (!made) FreePreviewBuffers();
  return made;
}

void FreePreviewBuffers() {
  FreeGlobalDib(gPreviewDib);
  FreeGlobalDib(gPreviewBaseDib);
  if (gPreviewStore) DisposeMemHandle(gPreviewStore);
  gPreviewDib = nullptr;
  gPreviewBaseDib = nullptr;
  gPreviewStore = nullptr;
}

bool StoreRowsIn(const uint16_t* rows, int32_t first, int32_t count, int32_t width, bool grey) {
  if (!StoreHolds(first, count, width)) return false;
  const int32_t storeWidth = StoreWidth();
  for (int32_t r = 0; r < count; ++r) {
    const uint16_t* in = rows + r * width * (grey ? 1 : 3);
    uint16_t* out = StoreSamples() + int64_t{first + r} * storeWidth * 3;
    for (int p = 0; p < 3; ++p)
      std::memcpy(out + p * storeWidth, in + (grey ? 0 : p * width), sizeof(uint16_t) * width);
  }
  return true;
}

bool StoreRowsOut(uint16_t* buffer, int32_t first, int32_t count, int32_t width) {
  if (!StoreHolds(first, count, width)) return false;
  const int32_t storeWidth = StoreWidth();
  for (int32_t r = 0; r < count; ++r) {
    const uint16_t* in = StoreSamples() + int64_t{first + r} * storeWidth * 3;
    for (int p = 0; p < 3; ++p)
      std::memcpy(buffer + (r * 3 + p) * width, in + p * storeWidth, sizeof(uint16_t) * width);
  }
  return true;
}

bool BuildPreviewConversionLut(FrameRecord* frame) {
  FreePreviewConversionLut();
  gPreviewLut = static_cast<uint8_t*>(AllocBlock(kPreviewLutBytes));
  if (!gPreviewLut) return false;
  const int16_t n = static_cast<int16_t>(kPreviewLutEntries);
  if (!frame) {
    for (uint32_t i = 0; i < kPreviewLutBytes; ++i) gPreviewLut[i] = static_cast<uint8_t>((i % kPreviewLutEntries) >> 6);
    return true;
  }
  // A grey prescan has one table, made for the master block and used for every plane.
  const bool grey = frame->colorMode == 0;
  for (int16_t c = 0; c < 3; ++c) {
    const int16_t block = grey ? 0 : static_cast<int16_t>(c + 1);
    if (grey && c > 0) {
      std::memcpy(gPreviewLut + c * kPreviewLutEntries, gPreviewLut, kPreviewLutEntries);
      continue;
    }
    ComputeToneTables(gPreviewLut + c * kPreviewLutEntries, frame->tone[block], n, block, 1, frame, 1.0);
  }
  return true;
}

void FreePreviewConversionLut() {
  FreeBlock(gPreviewLut);
  gPreviewLut = nullptr;
}

const uint8_t* PreviewConversionLut() { return gPreviewLut; }

bool ApplyPreviewConversionLut(const uint16_t* source, uint8_t* destination, int32_t rows, int32_t width,
                               SampleLayout in, SampleLayout out, bool grey) {
  if (!gPreviewLut) return false;
  const int channels = grey ? 1 : 3;
  for (int32_t r = 0; r < rows; ++r)
    for (int c = 0; c < channels; ++c) {
      const uint8_t* table = gPreviewLut + c * kPreviewLutEntries;
      const uint16_t* s = source + r * in.rowStride + c * in.channelStep;
      uint8_t* d = destination + r * out.rowStride + c * out.channelStep;
      for (int32_t x = 0; x < width; ++x, s += in.pixelStep, d += out.pixelStep) *d = table[*s >> kPreviewLutShift];
    }
  return true;
}

bool RenderStoreToDib(GlobalDib dib, FrameRecord* prescanFrame) {
  if (!gPreviewStore || !dib || GlobalDibWidth(dib) != StoreWidth() || GlobalDibHeight(dib) != StoreHeight())
    return false;
  if (!BuildPreviewConversionLut(prescanFrame)) return false;
  const int32_t width = StoreWidth();
  // Plane p of each row goes to byte 2 - p of the 4-byte pixels.
  const SampleLayout in{width * 3, 1, width};
  const SampleLayout out{static_cast<int32_t>(GlobalDibStride(dib)), 4, -1};
  const bool converted =
      ApplyPreviewConversionLut(StoreSamples(), GlobalDibBits(dib) + 2, StoreHeight(), width, in, out, false);
  FreePreviewConversionLut();
  return converted;
}

void ResampleStoreNearest(const uint16_t* source, int32_t sourceWidth, int32_t sourceHeight, uint16_t* destination,
                          int32_t width, int32_t height) {
  for (int32_t r = 0; r < height; ++r) {
    const uint16_t* in = source + int64_t{NearestSourceIndex(r, sourceHeight, height)} * sourceWidth * 3;
    uint16_t* out = destination + int64_t{r} * width * 3;
    for (int p = 0; p < 3; ++p)
      for (int32_t c = 0; c < width; ++c)
        out[p * width + c] = in[p * sourceWidth + NearestSourceIndex(c, sourceWidth, width)];
  }
}

void PreviewRowFromPrescan8(const uint8_t* row, int32_t prescanWidth, bool grey, int32_t factor, uint8_t* pixels,
                            int32_t previewWidth) {
  SampleRow(prescanWidth, factor, pixels, previewWidth, [&](uint8_t* pixel, int32_t x) {
    if (grey) return PutPixel(pixel, row[x], row[x], row[x]);
    PutPixel(pixel, row[prescanWidth + x], row[x], row[2 * prescanWidth + x]);
  });
}

void PreviewRowFromRgbPlanes(const uint8_t* planes, int32_t prescanWidth, bool grey, int32_t factor, uint8_t* pixels,
                             int32_t previewWidth) {
  SampleRow(prescanWidth, factor, pixels, previewWidth, [&](uint8_t* pixel, int32_t x) {
    if (grey) return PutPixel(pixel, planes[x], planes[x], planes[x]);
    PutPixel(pixel, planes[x], planes[prescanWidth + x], planes[2 * prescanWidth + x]);
  });
}
