// What the dialogs of this layer need from the layers built on it. Those
// layers install their parts at start-up; until then the neutral behaviour
// given with each one holds.
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"

// Modal dialogs run with the floating tool windows disabled: the main
// window's layer installs its nesting switch. Without one nothing is disabled.
typedef void (*ToolWindowSwitch)(bool enable);
void InstallToolWindowSwitch(ToolWindowSwitch toolWindowSwitch);
void EnableToolWindowsForModal(bool enable);

// The batch output's counter settings that the save-as dialog shows and edits.
struct BatchCounterSettings {
  bool batchScan = false;             // batch scanning: the template with the counter
  bool resetBeforeEachBatch = false;  // the counter starts again at every batch
  int16_t startCounter = 0;           // the first file gets startCounter + 1
};

// The output layer's part of the save-as dialog. Without it there is no batch
// scanning and the options button opens nothing.
struct SaveAsOutputServices {
  BatchCounterSettings* batch = nullptr;
  int (*runJpegOptions)(WindowHandle owner) = nullptr;
  int (*runDcsOptions)(WindowHandle owner) = nullptr;
};
void InstallSaveAsOutputServices(const SaveAsOutputServices& services);
const SaveAsOutputServices& SaveAsOutput();

// Reads image files for the open dialog's preview; the image reader family
// installs one. Without it the preview stays empty.
class FileThumbnailSource {
 public:
  virtual ~FileThumbnailSource() = default;
  // Opens the file and reads its size; false when it is no readable image.
  // wantedSize is the width of the box the image is drawn into.
  virtual bool Open(const char* path, int32_t wantedSize, int32_t* width, int32_t* height) = 0;
  // Draws the opened image reduced to width x height in blue, green, red
  // order: pixel (x, y) at bits + y * rowBytes + x * pixelBytes.
  virtual bool Draw(uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes, int32_t pixelBytes) = 0;
  // Finishes with the opened file; called after every Open.
  virtual void Close() = 0;
};
void InstallFileThumbnailSource(FileThumbnailSource* source);
FileThumbnailSource* InstalledFileThumbnailSource();
