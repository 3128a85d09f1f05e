// What the file output checks before it writes: whether a format can hold
// the frames, and whether the output drive has room.
#pragma once

#include <cstdint>

struct FrameRecord;

enum : uint32_t {
  kJpegLineArtString = 1631,  // "1-Bit Strich-Daten können nicht im JPEG-Format gespeichert werden."
  kDcsCmykOnlyString = 1632,  // "Das DCS-Format ist nur zum Speichern von CMYK-Daten vorgesehen."
  kEpsfDepthString = 1633,    // "1-Bit Strich- und ZIR(Roh)-Daten können im EPSF-Format nicht gespeichert werden."
  kLabOutputString = 1634,    // "L*a*b*-Daten können nicht im JPEG-, DCS- oder EPSF-Format gespeichert werden."
};

// Whether the output format can hold the frame (with the output colour
// management of the current options); messageId (when given)
// receives the text to show on a refusal, else 0.
bool CanFormatHoldFrame(int32_t format, const FrameRecord& frame, bool outputStaysRgb, uint32_t* messageId);
// The current frame, in batch mode every frame of the list.
bool CanFormatHoldFrames(int32_t format);

// The bytes free to the caller on the drive of the root path ("C:\").
bool QueryFreeDiskSpace(const char* root, uint64_t* freeBytes);
// Whether the drive of the output path has room for the bytes; a missing
// output path, an unreadable drive or 4 GiB and more count as enough.
bool HasFreeSpaceFor(uint64_t bytes);
