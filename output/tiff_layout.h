// The byte layout of the TIFF files the TIFF writer makes: the fixed header
// block with the first directory, the directory of the reduced preview, the
// Photoshop resource blocks (tag 34377) and the thumbnail resource's header.
// Little-endian TIFF; the resource blocks are big-endian as Photoshop keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The header block: 1280 bytes, of which the first 1278 are written.
constexpr uint32_t kTiffHeaderBlockSize = 1280;
constexpr uint32_t kTiffHeaderWritten = 1278;
// Where the two rationals, the four bits-per-sample values and the texts lie.
constexpr uint32_t kTiffXResolutionAt = 230;
constexpr uint32_t kTiffYResolutionAt = 238;
constexpr uint32_t kTiffBitsPerSampleAt = 246;
constexpr uint32_t kTiffDocumentNameAt = 254;
constexpr uint32_t kTiffArtistAt = 766;
constexpr uint32_t kTiffTextSize = 512;
// Count and offset of the Photoshop resource entry (tag 34377, entry 15).
constexpr uint32_t kTiffResourceCountAt = 182;
constexpr uint32_t kTiffResourceOffsetAt = 186;
// The next-directory field behind 17 or 18 entries.
constexpr uint32_t kTiffNextIfdAt = 214;
constexpr uint32_t kTiffNextIfdWithProfileAt = 226;
static_assert(10 + 14 * 12 + 4 == kTiffResourceCountAt, "count field of entry 15");
static_assert(10 + 17 * 12 == kTiffNextIfdAt && 10 + 18 * 12 == kTiffNextIfdWithProfileAt, "behind the entries");
static_assert(kTiffNextIfdWithProfileAt + 4 == kTiffXResolutionAt, "the rationals follow the longest directory");
static_assert(kTiffArtistAt + kTiffTextSize == kTiffHeaderWritten, "the texts end the written block");

// The directory of the reduced preview: 196 bytes, rows behind it.
constexpr uint32_t kPreviewIfdSize = 196;
constexpr uint32_t kPreviewXResolutionAt = 174;
constexpr uint32_t kPreviewYResolutionAt = 182;
constexpr uint32_t kPreviewBitsPerSampleAt = 190;
static_assert(2 + 14 * 12 + 4 == kPreviewXResolutionAt && kPreviewBitsPerSampleAt + 6 == kPreviewIfdSize,
              "preview directory layout");

// What the first directory describes.
struct TiffHeaderParams {
  uint32_t profileLength = 0;  // 0: no embedded profile
  int32_t rows = 0, columns = 0;
  int32_t samplesPerPixel = 1;
  int32_t bitsPerChannel = 8;
  bool zirOutput = false;       // 16-bit RGB written as the raw scan
  int32_t outputCmsMode = 0;    // 4: L*a*b*
  bool outputStaysRgb = true;   // false: separated into CMYK
  int32_t outputResolution = 0; // dpi
  uint32_t colorMode = 0;       // 2: RGB
  const char* documentName = "";  // at most 511 characters are kept
  const char* artist = "";
};

// The PhotometricInterpretation for the parameters.
uint16_t TiffPhotometric(const TiffHeaderParams& params);
// Where the image rows start: behind the header and the profile padded to even.
uint32_t TiffImageOffset(uint32_t profileLength);
// The bytes of one image row: samples per pixel x columns x bits / 8, the last byte of a 1-bit row taken whole.
uint64_t TiffRowBytes(int32_t columns, int32_t samplesPerPixel, int32_t bitsPerChannel);
// Fills the whole 1280-byte block.
void BuildTiffHeader(uint8_t* header, const TiffHeaderParams& params);

// A file that got no resource block cannot keep tag 34377 with a count of 0
// (readers refuse the file): the entry is taken out of the first directory
// of the header block, the later entries and the next-directory field move
// up by 12 bytes. Returns where that field now lies.
uint32_t RemoveResourceEntry(uint8_t* header);

// Fills the 196-byte preview directory that will stand at `at` in the file;
// its rows (width x height pixels of 3 or 1 samples at 8 or 16 bits) follow at at + 196.
void BuildPreviewIfd(uint8_t* ifd, uint32_t at, int32_t width, int32_t height, bool rgb, int32_t bitsPerChannel);
// The bytes of the preview rows.
uint32_t PreviewStripBytes(int32_t width, int32_t height, bool rgb, int32_t bitsPerChannel);

// The header of the thumbnail resource (id 1033), in host order.
struct ThumbnailHeader {
  uint32_t format;          // 1: JPEG
  uint32_t width;
  uint32_t height;
  uint32_t rowBytes;        // ((width x 24 + 31) / 32) x 4
  uint32_t totalSize;       // rowBytes x height
  uint32_t compressedSize;
  uint16_t bitsPerPixel;    // 24
  uint16_t planes;          // 1
};
static_assert(sizeof(ThumbnailHeader) == 28, "28 bytes in the file");
static_assert(offsetof(ThumbnailHeader, compressedSize) == 20 && offsetof(ThumbnailHeader, bitsPerPixel) == 24 &&
                  offsetof(ThumbnailHeader, planes) == 26,
              "thumbnail header layout");
// Turns the six 32-bit and two 16-bit fields between host and big-endian order.
void SwapThumbnailHeader(ThumbnailHeader* header);
ThumbnailHeader MakeThumbnailHeader(uint32_t width, uint32_t height);

enum : uint16_t {
  kResourceIptc = 1028,
  kResourceThumbnail = 1033,
  kResourceFirstPath = 2000,
  kResourceLastPath = 2999,
};
// One resource block: "8BIM", the id, the name (a length-prefixed text, null
// for none) padded to even, the data length and the data padded to even; all
// big-endian.
std::vector<uint8_t> MakeResourceBlock(uint16_t id, const uint8_t* name, const uint8_t* data, uint32_t size);

// Little- and big-endian stores.
void PutLittle16(uint8_t* at, uint32_t value);
void PutLittle32(uint8_t* at, uint32_t value);
void PutBig16(uint8_t* at, uint32_t value);
void PutBig32(uint8_t* at, uint32_t value);
uint32_t GetLittle32(const uint8_t* at);
