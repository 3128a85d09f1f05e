// A job run: the selected entries written one after another into the job's
// output folder in its format, each as the only frame with its own settings;
// afterwards every global the run changed is put back.
#pragma once

#include <cstdint>

#include "output/job_list.h"

enum : uint32_t {
  kSourceOverwriteString = 148,  // "Vorsicht, Sie überschreiben Ihre Quelldaten !..."
  kJobOutputBaseString = 473,    // "Stapel Bild.tif"
  kWarningCaptionString = 500,   // "Warnung"
  kFilesExistString = 502,       // "Einige Dateien sind bereits vorhanden.\n\nErsetzen ?"
  kHintString = 550,             // "Hinweis"
  kJobFormatProblemString = 1629,  // "Nicht alle Jobeinträge können im gewählten Dateiformat gespeichert werden."
  kJobWriteAsTiffString = 1630,    // "Sollen die entsprechenden Einträge stattdessen im TIFF-Format gespeichert werden?"
};
// The record name of the "TIFL" path during a run.
constexpr const char* kJobOutputPathName = "JobPic Location";

// Checks the selected entries with status 0 before a run and asks at most
// the format, source-overwrite and replace questions; whether to go on. Each
// out flag may be null.
bool CheckJobsBeforeRun(const JobList& list, const uint8_t* selection, uint8_t* exists, uint8_t* sourceOverwrite,
                        uint8_t* formatProblem);
// The path (256 bytes) the run writes for the entry as its file number
// `number`: an entry the job's format cannot hold is written as TIFF.
void MakeJobOutputName(const JobList& list, const JobNode* node, int16_t number, char* path);
// The output names of the entries with status 0, numbered as a run of all of
// them numbers them, each with its zero and one more zero at the end
// (FreeBlock); null when there is none.
char* OutputNameBlock(const JobList& list);
// Runs the selected entries with status 0 (one selection byte per entry).
void RunJobList(JobList& list, const uint8_t* selection);
// The run stops before the next entry.
void StopJobRun(JobList& list);
// One entry as the only frame; failed (true) or not.
bool RunJobItem(JobItem& item, int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan);
// The same with the image source switched to the entry's file and back.
bool RunFileJobItem(FileJobItem& item, int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan);
