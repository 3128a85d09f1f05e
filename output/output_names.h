// Where the file output writes: the output formats and their writer kinds,
// the stored output path and batch base name, and the names of the output
// files (numbered, named after the frame, DCS plates, temporaries).
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

// The user's output format.
enum OutputFormat : int32_t { kFormatTiff = 0, kFormatDcs = 1, kFormatEpsf = 2, kFormatJpeg = 3 };
extern int32_t gOutputFormat;
// 0 -> 1 (TIFF), 1 and 2 -> 2 (EPS/DCS), 3 -> 3 (JPEG); another value unchanged.
int16_t WriterKindForFormat(int32_t format);

// The full path of the chosen output file: "TIFL" id 16000 "BatchPic Location", 256 bytes.
constexpr RecordType kOutputPathType = TagFromString("TIFL");
constexpr int32_t kOutputPathId = 16000;
constexpr const char* kOutputPathName = "BatchPic Location";
// The batch base name: "BaSN" id 128, empty name, the text with its zero.
constexpr RecordType kBatchBaseNameType = TagFromString("BaSN");
constexpr int32_t kBatchBaseNameId = 128;
enum : uint32_t {
  kBatchBaseNameString = 488,  // "Stapel Bild"
  kUntitledString = 1601,      // "Unbenannt-"
};

// The first "TIFL" record of the application store into a 256-byte buffer; false when there is none.
bool LoadOutputPath(char* path);
// Replaces every "TIFL" record by the path.
bool SaveOutputPath(const char* path);
// The "BaSN" record, or string 488 when there is none.
void LoadBatchBaseName(char* buffer, uint32_t capacity);
bool SaveBatchBaseName(const char* name);
// Numbers the default name of unnamed frames outside batch mode.
extern uint16_t gUntitledCounter;
// In batch mode the batch base name; else the current frame's name, or
// "Unbenannt-" and the untitled counter (256-byte buffer).
void DefaultOutputBaseName(char* buffer);

// The name of an output file: path (256 bytes) holds the "TIFL" path on
// entry. plate 0 to 4 (DCS: C, M, Y, K); number 0 is a writer's temporary
// file; framePosition 1 is the current frame.
void BuildOutputFileName(int16_t kind, char* path, int32_t plate, int32_t number, uint16_t framePosition);
void MakeOutputFileName(int32_t format, char* path, int32_t plate, int32_t number, uint16_t framePosition);

// The files of the TIFF and JPEG writers: the name from the "TIFL" path for
// the number, an existing file deleted and the file created; false without a
// "TIFL" record or when it cannot be created.
bool OpenTiffFile(int32_t number, FileHandle* file);
bool OpenJpegFile(int32_t number, FileHandle* file);
void DeleteTiffFile(int32_t number);
void DeleteJpegFile(int32_t number);

// Whether two paths name the same file as the file system compares them:
// without regard to case (code page 1252 letters too), either separator.
bool SamePathText(const char* a, const char* b);
