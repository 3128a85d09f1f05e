// Job files: a job stored as "<name>.qbj" in its own folder inside the jobs
// folder, beside the cached previews its entries refer to; and the block
// that carries entries through the clipboard in the same layout.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "output/job_file_layout.h"

class JobList;

enum : uint32_t { kJobExistsString = 1619 };  // "Es existiert bereits ein Job mit diesem Namen!\nÜberschreiben?"

// Stores the job under `name`; asCopy for "Speichern als...". The job's own
// name (either way) is a plain save in place. False when a folder or file
// cannot be made, copied or moved, or the user keeps an existing job.
bool WriteJobFile(JobList* list, const char* name, bool asCopy);
// The version word and the header, an older header converted (format 0);
// false on a short read or a version outside 1 to 5.
bool ReadJobFileHeader(FileHandle file, JobFileHeader* header, uint32_t* version);
// Reads `count` entries following the header into the list; false at the
// first short read or refused record (the entries read so far stay).
bool ReadJobFile(JobList* list, FileHandle file, uint32_t count, uint32_t version);
// Deletes the job folder's files that are neither the job file nor the cache file of an entry.
void PurgeUnusedCacheFiles(const JobList& list);

// The header of the job (vendor, output folder and format) with `count`.
JobFileHeader MakeJobFileHeader(const JobList& list, uint32_t count);
// The clipboard block: the header and the records of the 0-based rows.
std::vector<uint8_t> MakeJobClipboardBlock(const JobList& list, const int16_t* rows, int16_t count);
// Pastes the block's entries after entry `insertAfter` (0: at the end) when
// its vendor is the given one; the number taken. The block is left as it was.
int16_t PasteJobClipboardBlock(JobList* list, const uint8_t* block, uint32_t size, int16_t insertAfter,
                               const unsigned char* vendorName);

// Renames a folder (platform); false when it cannot be moved.
bool MoveJobFolder(const char* from, const char* to);
