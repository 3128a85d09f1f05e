// Job entries through the clipboard: format 512 (the first private format)
// holds the clipboard block of job_file.h, passed through the temporary file
// "JM_ClipBoard.tmp" on the way.
#pragma once

#include <cstdint>

class JobList;

constexpr uint32_t kJobClipboardFormat = 512;
constexpr const char* kJobClipboardFileName = "JM_ClipBoard.tmp";

// Puts the entries of the 0-based rows, in the given order, on the clipboard.
void CopyJobsToClipboard(const JobList& list, const int16_t* rows, int16_t count);
// The clipboard's entries of the job's vendor inserted after entry
// `insertAfter` (0: at the end); the number inserted.
int16_t PasteJobsFromClipboard(JobList* list, int16_t insertAfter);
