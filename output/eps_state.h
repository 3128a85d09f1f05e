// The EPS writer's module-wide output state (one EPS writer runs at a time):
// the first-pass and preview files, the preview sampler, and the five
// targets (master and the four plates) with the positioned, buffered writes
// that fill their data areas.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "output/dcs_options.h"

// Positioned, buffered writing into one area of a file.
struct BufferedTarget {
  FileHandle file;
  uint8_t* buffer;    // none: every write goes to the file
  uint32_t capacity;
  uint32_t held;
  uint64_t base;      // where the area begins
  uint64_t position;  // bytes of the area already written to the file
};

struct EpsTarget {
  char name[33];
  char fileName[260];  // name and extension, no drive or folder
  FileHandle file;
  uint32_t start;      // the target's PostScript text
  uint32_t dataStart;
  uint32_t tailStart;
  uint32_t dataSize;
  uint32_t dataWritten;
  BufferedTarget target;
};

// Targets are numbered: -2 the preview, -1 the master, 0-3 the plates Cyan, Magenta, Yellow, Black.
enum : int32_t { kEpsPreviewTarget = -2, kEpsMasterTarget = -1 };
constexpr int32_t kEpsPlates = 4;

struct EpsState {
  FileHandle processedFile;
  uint64_t processedAt;  // the next first-pass row's offset
  uint8_t previewWanted;
  FileHandle previewFile;
  double previewStep;     // source pixels per preview pixel
  uint16_t previewRows;   // the preview in frame order
  uint16_t previewColumns;
  int32_t sourceRow;
  int32_t previewRow;
  BufferedTarget preview;
  EpsTarget targets[1 + kEpsPlates];  // Master, Cyan, Magenta, Yellow, Black
  DcsOptions dcsOptions;
};
extern EpsState gEps;

// The master (-1) or a plate (0-3).
inline EpsTarget& EpsTargetAt(int32_t number) { return gEps.targets[number + 1]; }

// Clears the state, wants a preview, previewStep 1.0, and names the five targets.
void ResetEpsState();

// The buffer starts at 500000 bytes and halves while memory is short; below 10001 bytes the target goes unbuffered.
constexpr uint32_t kEpsTargetBufferBytes = 500000;
constexpr uint32_t kEpsTargetSmallestBuffer = 10001;
void BeginBufferedTarget(int32_t number, FileHandle file, uint64_t base);
bool BufferedWrite(int32_t number, const uint8_t* bytes, uint32_t n);
bool FlushBufferedTarget(int32_t number);
// Writes at base + position; the position moves on even after a failed write.
bool WriteAtPosition(int32_t number, const uint8_t* bytes, uint32_t n);
void EndBufferedTarget(int32_t number);
