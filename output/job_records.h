// One job entry as a record of a job file or of the clipboard block: written
// from an entry, checked, and read back into a new entry of its kind.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"
#include "output/job_file_layout.h"

class JobItem;
class JobList;

// Appends the entry as u32 L and its L bytes of record (WriteKindTag,
// WriteItemBlock, WriteFileBlock, WriteThumbnail).
void WriteJobItem(const JobItem& item, std::vector<uint8_t>* out);
void WriteKindTag(const JobItem& item, std::vector<uint8_t>* out);
void WriteItemBlock(const JobItem& item, std::vector<uint8_t>* out);
void WriteFileBlock(const JobItem& item, std::vector<uint8_t>* out);
void WriteThumbnail(const JobItem& item, std::vector<uint8_t>* out);

// Whether a record of `length` bytes is whole and sound for its version:
// known kind, the length that its thumbnail size gives, a thumbnail within
// 50 x 50 whose size matches its rectangle, and every text terminated in
// its field. Only such records are read.
bool IsSoundJobRecord(const uint8_t* record, uint32_t length, uint32_t version);

// The image path of a file entry's record (zero-terminated in the first
// 260 bytes of the file block of a sound record).
const char* FileBlockInRecord(const uint8_t* record, uint32_t version);
struct JobRecordThumbnail {
  WinRect rect;
  uint32_t size;
  const uint8_t* pixels;
};
JobRecordThumbnail ThumbnailInRecord(const uint8_t* record, uint32_t version);

// Reads a sound record into an empty entry of the record's kind; the
// answers of JobReadAnswer (ReadRecord, with the missing-file check of file
// entries when checkFile is set).
int32_t ReadJobItem(JobItem* item, const uint8_t* record, uint32_t version, bool checkFile);

// Makes one entry from a record and links it (index 0 at the end, n after
// entry n). False when the record is refused or the read fails; a dropped
// entry marks the job modified and answers true. Nothing of a refused
// record stays in the list.
bool CreateJobItemFromRecord(JobList* list, const uint8_t* record, uint32_t length, uint32_t version, int16_t index,
                             bool checkFile);
