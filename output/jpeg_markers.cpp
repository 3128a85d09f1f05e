#include "output/jpeg_markers.h"

#include <cstring>

#include "output/thumbnail_jpeg.h"
#include "output/tiff_layout.h"

std::vector<uint8_t> BuildPhotoshopMarker(const uint8_t* thumbnail, uint32_t width, uint32_t height) {
  std::vector<uint8_t> marker(kPhotoshopJpegAt, 0);
  std::memcpy(marker.data(), "Photoshop 3.0", kPhotoshopSignatureBytes);
  std::memcpy(marker.data() + kPhotoshopSignatureBytes, "8BIM", 4);
  PutBig16(marker.data() + kPhotoshopSignatureBytes + 4, kResourceThumbnail);
  if (!CompressThumbnail(thumbnail, width, height, &marker)) return {};
  if (marker.size() & 1) marker.push_back(0);
  const uint32_t total = static_cast<uint32_t>(marker.size());
  if (total > kLargestMarkerContent) return {};
  PutBig32(marker.data() + kPhotoshopLengthAt, total - kPhotoshopHeaderAt);
  ThumbnailHeader header = MakeThumbnailHeader(width, height);
  header.compressedSize = total - kPhotoshopJpegAt;
  SwapThumbnailHeader(&header);
  std::memcpy(marker.data() + kPhotoshopHeaderAt, &header, sizeof header);
  return marker;
}

uint32_t IccMarkerCount(uint32_t profileSize) { return (profileSize + kIccChunkPayload - 1) / kIccChunkPayload; }

std::vector<uint8_t> BuildIccMarker(const uint8_t* profile, uint32_t profileSize, uint32_t number) {
  const uint32_t count = IccMarkerCount(profileSize);
  if (number < 1 || number > count) return {};
  const uint32_t start = (number - 1) * kIccChunkPayload;
  const uint32_t bytes = number < count ? kIccChunkPayload : profileSize - start;
  std::vector<uint8_t> marker(kIccTagBytes + 2);
  std::memcpy(marker.data(), "ICC_PROFILE", kIccTagBytes);
  marker[kIccTagBytes] = static_cast<uint8_t>(number);
  marker[kIccTagBytes + 1] = static_cast<uint8_t>(count);
  marker.insert(marker.end(), profile + start, profile + start + bytes);
  return marker;
}
