#include "output/eps_resources.h"

#include <cstdio>
#include <vector>

#include "foundation/bits.h"
#include "foundation/paths.h"
#include "output/thumbnail_resource.h"
#include "output/tiff_layout.h"
#include "session/device_layer.h"

namespace {

constexpr uint32_t kHexLineBytes = 32;

bool AppendToFile(FileHandle file, const uint8_t* bytes, uint32_t count) {
  uint64_t size = 0;
  return GetFileSize(file, &size) && WriteBytesAt(file, size, bytes, count);
}

// The source image's resources first..last that it has, numbered from storedId in the order found.
void AppendSourceResources(FileHandle file, uint16_t first, uint16_t last, uint16_t storedId) {
  for (uint32_t id = first; id <= last; ++id) {
    uint8_t name[256] = {};
    const std::vector<uint8_t> data = GetSourceImageResource(static_cast<uint16_t>(id), name);
    if (data.empty()) continue;
    WritePhotoshopResource(file, storedId++, name, data.data(), static_cast<uint32_t>(data.size()));
  }
}

}  // namespace

std::string HexCommentLines(const uint8_t* bytes, uint32_t size) {
  std::string text;
  text.reserve((size + 2 * ((size + kHexLineBytes - 1) / kHexLineBytes)) * 2);
  for (uint32_t at = 0; at < size; at += kHexLineBytes) {
    text += "% ";
    for (uint32_t i = at; i < size && i < at + kHexLineBytes; ++i) {
      uint16_t pair = 0;
      ByteToHexPair(bytes[i], &pair);
      text += static_cast<char>(pair & 0xFF);
      text += static_cast<char>(pair >> 8);
    }
    text += "\r\n";
  }
  return text;
}

void MakeResolutionResource(int32_t dpi, uint8_t* data) {
  const uint32_t fixed = static_cast<uint32_t>(dpi) << 16;
  PutBig32(data, fixed);
  PutBig16(data + 4, 1);
  PutBig16(data + 6, 1);
  PutBig32(data + 8, fixed);
  PutBig16(data + 12, 1);
  PutBig16(data + 14, 1);
}

bool WritePhotoshopResource(FileHandle file, uint16_t id, const uint8_t* name, const uint8_t* data, uint32_t size) {
  const std::vector<uint8_t> block = MakeResourceBlock(id, name, data, size);
  return AppendToFile(file, block.data(), static_cast<uint32_t>(block.size()));
}

bool BuildImageResourcesBlock(const PanePreview& preview, int32_t outputResolution, std::string* block) {
  char path[kPathSize];
  if (!GetTemporaryFolder(path, sizeof path)) return false;
  SetPathFileName(path, "QBImgRes", "tmp");
  DeleteFileAt(path);
  FileHandle scratch = OpenFileReadWrite(path);
  if (!scratch) {
    DeleteFileAt(path);
    return false;
  }
  const int32_t width = RectWidth(preview.thumbnailRect), height = RectHeight(preview.thumbnailRect);
  if (preview.thumbnail && width > 0 && height > 0) {
    std::vector<uint8_t> thumbnail;
    if (BuildThumbnailResource(preview.thumbnail, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                               &thumbnail))
      AppendToFile(scratch, thumbnail.data(), static_cast<uint32_t>(thumbnail.size()));
  }
  AcquireImageReader();
  AppendSourceResources(scratch, kResourceFirstPath, kResourceLastPath, kResourceFirstPath);
  AppendSourceResources(scratch, kResourceIptc, kResourceIptc, kResourceIptc);
  ReleaseImageReader();
  uint8_t resolution[kResolutionResourceSize];
  MakeResolutionResource(outputResolution, resolution);
  WritePhotoshopResource(scratch, kResourceResolution, nullptr, resolution, sizeof resolution);

  uint64_t size = 0;
  std::vector<uint8_t> bytes;
  bool read = GetFileSize(scratch, &size) && size <= UINT32_MAX;
  if (read) {
    bytes.resize(size);
    read = size == 0 || ReadBytesAt(scratch, 0, bytes.data(), static_cast<uint32_t>(size));
  }
  CloseFile(scratch);
  DeleteFileAt(path);
  if (!read) return false;
  char head[32];
  std::snprintf(head, sizeof head, "%s%8ld\r\n", "%BeginPhotoshop: ", static_cast<long>(size));
  *block = head + HexCommentLines(bytes.data(), static_cast<uint32_t>(size)) + "%EndPhotoshop\r\n";
  return true;
}

bool BuildIccProfileBlock(const uint8_t* profile, uint32_t size, std::string* block) {
  if (!profile || size == 0) return false;
  *block = "%%BeginICCProfile: (Photoshop Profile) -1 Hex\r\n" + HexCommentLines(profile, size) +
           "%%EndICCProfile\r\n";
  return true;
}
