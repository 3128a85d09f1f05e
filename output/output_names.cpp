#include "output/output_names.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/decimal.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/system.h"
#include "output/app_store_access.h"
#include "frames/frame_list.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"

int32_t gOutputFormat = kFormatTiff;
uint16_t gUntitledCounter = 1;

namespace {

constexpr int kMaxPathLength = kPathSize - 1;

void CopyText(char* to, uint32_t capacity, const char* text) {
  std::snprintf(to, capacity, "%s", text);
}

// The frame's name without its extension.
std::string FrameBaseName(const FrameRecord& frame) {
  char name[sizeof frame.name + 1] = {};
  std::memcpy(name, frame.name, sizeof frame.name);
  char base[kPathSize], extension[kPathSize];
  SplitFileName(name, base, extension);
  return base;
}

}  // namespace

int16_t WriterKindForFormat(int32_t format) {
  switch (format) {
    case kFormatTiff:
      return 1;
    case kFormatDcs:
    case kFormatEpsf:
      return 2;
    case kFormatJpeg:
      return 3;
    default:
      return static_cast<int16_t>(format);
  }
}

bool LoadOutputPath(char* path) {
  path[0] = '\0';
  return WithAppStore([path](FileHandle store) {
    if (!RecordStoreReadIndexed(store, kOutputPathType, 1, path, kPathSize)) return false;
    path[kPathSize - 1] = '\0';
    return true;
  });
}

bool SaveOutputPath(const char* path) {
  char record[kPathSize] = {};
  CopyText(record, sizeof record, path);
  return WithAppStore([&record](FileHandle store) {
    while (RecordStoreCount(store, kOutputPathType) > 0)
      if (!RecordStoreDeleteIndexed(store, kOutputPathType, 1)) return false;
    return RecordStoreAdd(store, kOutputPathType, kOutputPathId, record, sizeof record, kOutputPathName);
  });
}

void LoadBatchBaseName(char* buffer, uint32_t capacity) {
  buffer[0] = '\0';
  const bool stored = WithAppStore([buffer, capacity](FileHandle store) {
    uint32_t size = 0;
    if (!RecordStoreSize(store, kBatchBaseNameType, kBatchBaseNameId, &size) || size == 0 || size > capacity)
      return false;
    if (!RecordStoreRead(store, kBatchBaseNameType, kBatchBaseNameId, buffer, capacity)) return false;
    buffer[size - 1] = '\0';
    return true;
  });
  if (!stored) LoadResourceString(GetModuleInstance(), kBatchBaseNameString, buffer, static_cast<int>(capacity));
}

bool SaveBatchBaseName(const char* name) {
  return WithAppStore([name](FileHandle store) {
    RecordStoreDelete(store, kBatchBaseNameType, kBatchBaseNameId);
    return RecordStoreAdd(store, kBatchBaseNameType, kBatchBaseNameId, name,
                          static_cast<uint32_t>(std::strlen(name) + 1), "");
  });
}

void DefaultOutputBaseName(char* buffer) {
  if (gBatchOutput) {
    LoadBatchBaseName(buffer, kPathSize);
    return;
  }
  if (gCurrentFrame && gCurrentFrame->hasName) {
    char name[sizeof gCurrentFrame->name + 1] = {};
    std::memcpy(name, gCurrentFrame->name, sizeof gCurrentFrame->name);
    CopyText(buffer, kPathSize, name);
    return;
  }
  char untitled[kPathSize] = {};
  LoadResourceString(GetModuleInstance(), kUntitledString, untitled, sizeof untitled);
  std::snprintf(buffer, kPathSize, "%s%u", untitled, static_cast<unsigned>(gUntitledCounter));
}

void BuildOutputFileName(int16_t kind, char* path, int32_t plate, int32_t number, uint16_t framePosition) {
  if (kind < 1 || kind > 3) return;
  FrameRecord frame;
  const bool found = CopyNthFrame(framePosition, &frame);
  const int32_t start = GetDefault(gDefaults, kDefaultBatchStartNumber);

  std::string folder(path, static_cast<size_t>(FileNamePart(path) - path));
  char base[kPathSize], oldExtension[kPathSize];
  SplitFileName(path, base, oldExtension);

  std::string suffix;
  if (kind == 1) suffix = ".tif";
  else if (kind == 3) suffix = ".jpg";
  else if (number == 0) suffix = ".tm" + std::to_string(plate);
  else {
    // DCS plates carry their ink's letter behind the name.
    if (plate >= 1 && plate <= 4) suffix = std::string(1, "CMYK"[plate - 1]);
    suffix += ".eps";
  }

  if (number == 0 || number + start == 0 || !found || !frame.hasName) {
    if (gBatchOutput || number == 0) {
      const int room = kMaxPathLength - static_cast<int>(folder.size() + suffix.size());
      AppendPaddedNumber(base, number == 0 ? 0 : number + start, 4, room > 4 ? room : 4);
    }
  } else {
    CopyText(base, sizeof base, FrameBaseName(frame).c_str());
  }
  const std::string joined = folder + base + suffix;
  CopyText(path, kPathSize, joined.c_str());
}

void MakeOutputFileName(int32_t format, char* path, int32_t plate, int32_t number, uint16_t framePosition) {
  BuildOutputFileName(WriterKindForFormat(format), path, plate, number, framePosition);
}

namespace {

bool OpenWriterFile(int16_t kind, int32_t number, FileHandle* file) {
  *file = nullptr;
  char path[kPathSize];
  if (!LoadOutputPath(path)) return false;
  BuildOutputFileName(kind, path, 0, number, 1);
  DeleteFileAt(path);
  *file = OpenFileReadWrite(path);
  return *file != nullptr;
}

void DeleteWriterFile(int16_t kind, int32_t number) {
  char path[kPathSize];
  if (!LoadOutputPath(path)) return;
  BuildOutputFileName(kind, path, 0, number, 1);
  DeleteFileAt(path);
}

}  // namespace

bool OpenTiffFile(int32_t number, FileHandle* file) { return OpenWriterFile(1, number, file); }
bool OpenJpegFile(int32_t number, FileHandle* file) { return OpenWriterFile(3, number, file); }
void DeleteTiffFile(int32_t number) { DeleteWriterFile(1, number); }
void DeleteJpegFile(int32_t number) { DeleteWriterFile(3, number); }

bool SamePathText(const char* a, const char* b) {
  const auto fold = [](char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    // Both separators name the same folder.
    if (u == '/') return static_cast<int>('\\');
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<int>(u - 0x20);
    return std::toupper(u);
  };
  for (; *a && *b; ++a, ++b)
    if (fold(*a) != fold(*b)) return false;
  return *a == *b;
}
