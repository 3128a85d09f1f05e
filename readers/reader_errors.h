// String-table ids of the readers' error texts (resources/readers.rc); 0 means success.
// ReadHeader, StartReading and ReadLineSamples answer one of these.
#pragma once

#include <cstdint>

enum ReaderErrorId : int16_t {
  kReaderOk = 0,
  // No text id: the JPEG library has already shown its own message, so the
  // caller shows none.
  kReaderLibraryMessageShown = 1,
  kErrMissingTiffInfo = 200,
  kErrZeroWidth = 201,
  kErrZeroHeight = 202,
  kErrZeroSamples = 203,
  kErrTooManySamples = 204,
  kErrBadBitsPerSample = 205,
  kErrMixedBitsPerSample = 206,
  kErrBadPhotometric = 207,
  kErrBadSampleOrder = 208,
  kErrBadCompression = 209,
  kErrOutOfMemory = 210,
  kErrStripOffsets = 211,
  kErrStripByteCounts = 212,
  kErrBadOrientation = 213,
  kErrBadResolutionUnit = 214,
  kErrGeneralData = 215,
  kErrDiskFull = 216,
};
