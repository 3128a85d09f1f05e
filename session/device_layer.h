// The device layer that presents an image file as the scanner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "color/color_management.h"
#include "state/data_source_state.h"

struct DeviceDescription;

// Error words of a failed read start: string ids of the texts shown after
// "Fehler bei Scan Start." (108).
enum DeviceErrorWord : uint16_t {
  kDeviceErrorNone = 0,
  kDeviceErrorToneTables = 115,
  kDeviceErrorScanBuffer = 116,
  kDeviceErrorFile = 142,
  kDeviceErrorOpenFile = 143,
  kDeviceErrorReaderObject = 144,
};
constexpr uint32_t kScanStartErrorString = 108;
// The last error word of a read start.
extern uint16_t gDeviceErrorWord;

// The resolutions offered for an image of the resolution: from 50 (or the
// image's own when lower) doubling up to the image's own, at most 64.
void BuildResolutionList(uint32_t imageResolution, ResolutionList* list);

// From now on the stores and preview files are named after the open device's row.
void InstallDeviceNameSource();

// The open image has more than 8 bits a sample: the device's 16-bit colour option follows it.
void NoteDeviceDepth(bool highBit);

// Opens the image as the device: its header, geometry and resolution list.
// False (the device unchanged) when no reader can be made or the header is bad.
bool OpenImageDevice(const char* path);
// Geometry and resolution list of the current image into the session state.
bool LoadImageGeometry();
// Scan area back to the whole image, status flags reset.
void ResetDeviceStatus();
// The description of the open image's abilities.
void FillDeviceInfo(DeviceDescription* description);
// Ends a read: frees the line buffers and lets the reader finish.
bool CloseImageDevice();

// Kind 2 and an allocated copy of the image path (FreeBlock); false when no memory.
bool GetDeviceIdentifier(uint16_t* kind, char** data);
// An image file is always there.
bool IsDeviceAvailable();
bool ClearScanStopFlag();
// The value as a fraction of the device's first progress range.
double ProgressFraction(int32_t value);
void GetImagePath(char* path);
// The preview files (DeletePreviewFiles) of every recent image of the device table.
void DeleteRecentPreviewFiles(bool previews, bool zoomFiles);
uint8_t IsTransparencyMode();
// Posts the command to the main dialog when posting is enabled and a change is
// pending or the post is forced; whether it was posted.
bool PostDeviceCommand(uint16_t command, bool force);

// The image overview of the current image's folder (mode 0), the main
// window's session re-opened on the image chosen there; true when one was
// opened. The job manager's add mode (1) comes with the job manager.
bool ReinitializeSource(uint16_t mode);

// The image's document name and artist, 512 bytes each, into 1024 bytes.
void GetImageTextFields(char* buffer);
// Takes the open reader for side queries, or opens one for the image path.
void AcquireImageReader();
void ReleaseImageReader();
// The taken reader's image resource of that id and its length-prefixed name
// (256 bytes); empty when the image has none.
std::vector<uint8_t> GetSourceImageResource(uint16_t resourceId, uint8_t* name);

// An allocated copy (FreeBlock) of the image resource when it holds an ICC
// profile, with its size and length-prefixed name (256 bytes); null otherwise.
uint8_t* GetEmbeddedProfile(uint16_t resourceId, uint32_t* size, uint8_t* name);
// The description text of the image's embedded profile, or empty.
void GetImageProfileDescription(std::string* text);
// The open reader's colour transform; none when no reader is open.
ColorTransformHandle GetImageColorTransform();
// Operations without effect for an image file.
int DeviceNoOp();
bool DeviceReadyStub(uint8_t* ready);

// OLE for the session's drag and drop: initialised at open (uninitialising a
// previous success first) and uninitialised at close when it succeeded.
bool InitializeOle();
bool UninitializeOle();

// What the device description and the open image tell the frame geometry.
struct FrameRecord;

// The device's scaling limits in percent and the step that integer scales keep (0: none).
struct DeviceScaleLimits {
  int16_t minPercent;
  int16_t maxPercent;
  int16_t scaleStep;
};
DeviceScaleLimits GetDeviceScaleLimits();
// The device scans at the frame's output resolution rather than from its resolution list.
bool DeviceHasFixedOutputResolution();
// The device takes whole-number scales (the frame's 16-bit percents) rather than 16.16 ones.
bool DeviceUsesIntegerScales();
// Margins of the scan area in inches; false when the device has none.
bool GetDeviceMargins(double* left, double* top, double* right, double* bottom);
// The scan area's extent in device pixels (the image's width and height).
void GetDeviceScanExtent(int32_t* width, int32_t* height);
// Option unit (feeder and the like) and light sources of the device.
bool DeviceHasOptionUnit();
int16_t DeviceHighestOptionSlot();
bool DeviceHasTransparencyUnit();
bool DeviceOffersReflective();
// Scan pixel origin and sizes of the frame for the rectangle (inches), by
// the device's scale mode; kEvenFrameSizes when the sizes were made even (8-bit colour frames).
constexpr uint16_t kEvenFrameSizes = 65534;
uint16_t ComputeFrameArea(double x, double y, double width, double height, FrameRecord* frame);
