#include "session/device_layer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/file_names.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "session/device_platform.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/user_interface_hooks.h"

DeviceLayerState gDeviceLayer;

namespace {

constexpr uint32_t kLowestResolution = 50;
constexpr int16_t kHeaderMode = 0;
constexpr int16_t kGeometryMode = 1;

void CurrentDeviceName(unsigned char* name) {
  const DeviceTable& table = gDeviceLayer.table;
  uint16_t row = gDeviceLayer.deviceIndex;
  if (row < table.count)
    MakeEntryDeviceName(table.entries[row], name);
  else
    MakeDeviceName(name, "ZIR", "???");
}

const ScanNameSource kDeviceNameSource = {CurrentDeviceName, nullptr, nullptr};

}  // namespace

void InstallDeviceNameSource() { SetScanNameSource(&kDeviceNameSource); }

void BuildResolutionList(uint32_t imageResolution, ResolutionList* list) {
  list->count = 0;
  uint32_t next = imageResolution < kLowestResolution ? imageResolution : kLowestResolution;
  list->values[list->count++] = static_cast<uint16_t>(next);
  if (imageResolution <= kLowestResolution) return;
  while (list->count < 64) {
    next *= 2;
    if (next >= imageResolution) {
      list->values[list->count++] = static_cast<uint16_t>(imageResolution);
      return;
    }
    list->values[list->count++] = static_cast<uint16_t>(next);
  }
}

bool LoadImageGeometry() {
  DeviceLayerState& device = gDeviceLayer;
  device.kindWords[0] = device.kindWords[1] = 0;
  device.imageWidth = device.openedInfo.width;
  device.imageHeight = device.openedInfo.height;

  BuildResolutionList(device.openedInfo.xResolution, &gResolutionList);
  device.minResolution = gResolutionList.values[0];
  device.maxResolution = gResolutionList.values[gResolutionList.count - 1];

  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(device.imagePath, kGeometryMode, false);
  if (reader && reader->ImageReaderIsOpen()) {
    ImageFileInfo info = {};
    if (reader->ReadHeader(&info) == kReaderOk) {
      device.rawRead = reader->SupportsRawRead();
      device.geometryInfo = info;
    }
  }
  return true;
}

void ResetDeviceStatus() {
  gDeviceLayer.scanAreaWidth = gDeviceLayer.imageWidth;
  gDeviceLayer.scanAreaHeight = gDeviceLayer.imageHeight;
  gDeviceLayer.statusFlags = 0;
  gDeviceLayer.stopFlag = 0;
}

void FillDeviceInfo(DeviceDescription* description) {
  const ImageFileInfo& info = gDeviceLayer.openedInfo;
  bool sixteen = gDataSourceState.deviceHas16Bits;
  *description = DeviceDescription{};
  description->blackAndWhite = info.samplesPerPixel == 1 && info.bitsPerSample == 1;
  description->bitsPerSample = sixteen ? 16 : 8;
  description->bitsPerPixel = sixteen ? 48 : 24;
  description->minResolution = 10;
  description->maxResolution = 1000;
  description->has16Bits = sixteen;
}

void NoteDeviceDepth(bool highBit) {
  gDataSourceState.deviceHas16Bits = highBit;
  // A file of more than 8 bits a sample is read through the 16-bit
  // intermediate stage, which then runs the colour management too.
  gSixteenBitColorOption = highBit;
}

bool OpenImageDevice(const char* path) {
  DeviceLayerState& device = gDeviceLayer;
  char previousPath[sizeof device.imagePath];
  std::memcpy(previousPath, device.imagePath, sizeof previousPath);
  std::strncpy(device.imagePath, path, sizeof device.imagePath - 1);
  device.imagePath[sizeof device.imagePath - 1] = '\0';

  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(device.imagePath, kHeaderMode, false);
  ImageFileInfo info = {};
  int16_t error = kErrOutOfMemory;
  if (reader) error = reader->ImageReaderIsOpen() ? reader->ReadHeader(&info) : int16_t{kErrGeneralData};
  bool highBit = error == kReaderOk && reader->IsHighBitDepth();
  reader.reset();
  if (error != kReaderOk) {
    // A bad file leaves the device as it was.
    std::memcpy(device.imagePath, previousPath, sizeof previousPath);
    return false;
  }
  device.openedInfo = info;
  NoteDeviceDepth(highBit);
  InstallDeviceNameSource();

  LoadImageGeometry();
  ResetDeviceStatus();
  FillDeviceInfo(&device.description);
  SessionUserInterface().initDeviceCapabilities();
  ComputeScanAreaInches();

  const char* name = FileNamePart(device.imagePath);
  for (uint16_t row = 0; row < device.table.count; ++row) {
    DeviceEntry& entry = device.table.entries[row];
    if (entry.kind != device.deviceKind || entry.index != device.deviceIndex) continue;
    size_t length = std::strlen(name);
    if (length > 63) length = 63;
    entry.name[0] = static_cast<uint8_t>(length);
    std::memcpy(entry.name + 1, name, length);
  }
  return true;
}

bool GetDeviceIdentifier(uint16_t* kind, char** data) {
  *kind = 2;
  size_t size = std::strlen(gDeviceLayer.imagePath) + 1;
  *data = static_cast<char*>(AllocBlock(static_cast<uint32_t>(size)));
  if (!*data) return false;
  std::memcpy(*data, gDeviceLayer.imagePath, size);
  return true;
}

bool IsDeviceAvailable() { return true; }

bool ClearScanStopFlag() {
  gDeviceLayer.stopFlag = 0;
  return false;
}

double ProgressFraction(int32_t value) {
  const ProgressRange& range = gDeviceLayer.progress[0];
  int32_t extent = range.end - range.start;
  return extent == 0 ? 0.0 : static_cast<double>(value) / extent;
}

void GetImagePath(char* path) { std::memcpy(path, gDeviceLayer.imagePath, sizeof gDeviceLayer.imagePath); }

void DeleteRecentPreviewFiles(bool previews, bool zoomFiles) {
  // The names carry the device's name, which follows the device index.
  const uint16_t kept = gDeviceLayer.deviceIndex;
  for (uint16_t row = 2; row < gDeviceLayer.table.count; ++row) {
    gDeviceLayer.deviceIndex = row;
    DeletePreviewFiles(previews, zoomFiles);
  }
  gDeviceLayer.deviceIndex = kept;
}

uint8_t IsTransparencyMode() { return gLightSourceFlag; }

bool PostDeviceCommand(uint16_t command, bool force) {
  if (!gDeviceLayer.postingEnabled || !(gDeviceLayer.changePending || force) || !gMainDialog) return false;
  PostCommandToWindow(gMainDialog, command);
  return true;
}

bool ReinitializeSource(uint16_t mode) {
  if (mode != 0 || gDeviceTable.count <= kOverviewRow) return false;
  return SessionUserInterface().reopenImageSession(gDeviceTable.entries[kOverviewRow]);
}

void AcquireImageReader() {
  DeviceLayerState& device = gDeviceLayer;
  if (device.read.reader) {
    // A second header read would end the running read; the opened header tells the same.
    device.sideReader = device.read.reader.get();
    device.sideInfo = device.openedInfo;
    return;
  }
  device.ownedSideReader = CreateImageFileReader(device.imagePath, kHeaderMode, false);
  device.sideReader = device.ownedSideReader.get();
  if (device.sideReader && device.sideReader->ImageReaderIsOpen() &&
      device.sideReader->ReadHeader(&device.sideInfo) == kReaderOk)
    device.sideReader->StartReading(100000);
}

void ReleaseImageReader() {
  gDeviceLayer.sideReader = nullptr;
  if (gDeviceLayer.ownedSideReader) {
    gDeviceLayer.ownedSideReader->FinishReading();
    gDeviceLayer.ownedSideReader.reset();
  }
}

std::vector<uint8_t> GetSourceImageResource(uint16_t resourceId, uint8_t* name) {
  if (name) name[0] = 0;
  if (!gDeviceLayer.sideReader) return {};
  return gDeviceLayer.sideReader->ReadImageResource(resourceId, name);
}

void GetImageTextFields(char* buffer) {
  std::memset(buffer, 0, 1024);
  gDeviceLayer.sideInfo = ImageFileInfo{};
  AcquireImageReader();
  std::memcpy(buffer, gDeviceLayer.sideInfo.documentName, 512);
  std::memcpy(buffer + 512, gDeviceLayer.sideInfo.artist, 512);
  buffer[511] = buffer[1023] = '\0';
  ReleaseImageReader();
}

namespace {

uint32_t BigEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
}

// An ICC profile: its header's signature "acsp", and a declared size that the data holds.
bool LooksLikeProfile(const std::vector<uint8_t>& data) {
  constexpr size_t kHeaderSize = 128;
  if (data.size() < kHeaderSize || std::memcmp(data.data() + 36, "acsp", 4) != 0) return false;
  uint32_t declared = BigEndian32(data.data());
  return declared >= kHeaderSize && declared <= data.size();
}

}  // namespace

uint8_t* GetEmbeddedProfile(uint16_t resourceId, uint32_t* size, uint8_t* name) {
  *size = 0;
  if (name) name[0] = 0;
  AcquireImageReader();
  std::vector<uint8_t> data;
  if (gDeviceLayer.sideReader) data = gDeviceLayer.sideReader->ReadImageResource(resourceId, name);
  ReleaseImageReader();
  if (!LooksLikeProfile(data)) return nullptr;
  uint8_t* copy = static_cast<uint8_t*>(AllocBlock(static_cast<uint32_t>(data.size())));
  if (!copy) return nullptr;
  std::memcpy(copy, data.data(), data.size());
  *size = static_cast<uint32_t>(data.size());
  return copy;
}

void GetImageProfileDescription(std::string* text) {
  text->clear();
  AcquireImageReader();
  if (gDeviceLayer.sideReader) gDeviceLayer.sideReader->GetProfileDescription(text);
  ReleaseImageReader();
}

ColorTransformHandle GetImageColorTransform() {
  return gDeviceLayer.read.reader ? gDeviceLayer.read.reader->ColorTransform() : nullptr;
}

int DeviceNoOp() { return 0; }

bool DeviceReadyStub(uint8_t* ready) {
  *ready = 1;
  return false;
}

bool InitializeOle() {
  if (gDeviceLayer.oleResult >= 0) PlatformOleUninitialize();
  gDeviceLayer.oleResult = PlatformOleInitialize();
  return true;
}

bool UninitializeOle() {
  if (gDeviceLayer.oleResult >= 0) PlatformOleUninitialize();
  gDeviceLayer.oleResult = DeviceLayerState::kOleNotInitialised;
  return true;
}

// Not built yet: a device without scaling steps, margins, options or a transparency unit.
DeviceScaleLimits GetDeviceScaleLimits() { return DeviceScaleLimits{1, 1000, 0}; }
// Not built yet: the resolution comes from the list.
bool DeviceHasFixedOutputResolution() { return false; }
// Not built yet: 16.16 scales.
bool DeviceUsesIntegerScales() { return false; }
// Not built yet: no margins.
bool GetDeviceMargins(double*, double*, double*, double*) { return false; }

void GetDeviceScanExtent(int32_t* width, int32_t* height) {
  *width = static_cast<int32_t>(gDeviceLayer.scanAreaWidth);
  *height = static_cast<int32_t>(gDeviceLayer.scanAreaHeight);
}

// Not built yet: no option unit.
bool DeviceHasOptionUnit() { return false; }
int16_t DeviceHighestOptionSlot() { return 0; }
// Not built yet: reflective originals only.
bool DeviceHasTransparencyUnit() { return false; }
bool DeviceOffersReflective() { return true; }
uint16_t ComputeFrameArea(double x, double y, double width, double height, FrameRecord* frame) {
  ComputeFramePixelSizes(x, y, width, height, frame, 1, 1, 65535, 65535);
  // 8-bit colour lines are taken in pixel pairs: both sizes even, at least 2.
  const bool pairs = frame->bitsPerChannel == 8 && (frame->colorMode == 2 || frame->colorMode == 3);
  if (!pairs) return 0;
  frame->scanPixelWidth = static_cast<uint16_t>(std::max(2, frame->scanPixelWidth & ~1));
  frame->scanPixelHeight = static_cast<uint16_t>(std::max(2, frame->scanPixelHeight & ~1));
  return kEvenFrameSizes;
}
