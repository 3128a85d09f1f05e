// The scan command in file mode: the choice of the output file, and the
// frames written to image files.
#pragma once

#include "foundation/dialogs/prompts.h"

enum : uint32_t {
  kFileOutputTitleString = 16027,  // "Bearbeiten in Datei ..."
  kTiffBatchTitleString = 16029,   // "Tiff Stapelbearbeitung"; 16030 DCS, 16031 EPSF, 16032 JPEG
};

// The save-as dialog offering the formats the frames can hold; stores the
// output path, the output format and, in batch mode, the base name and the
// batch counter. False when cancelled.
bool ChooseScanOutputFile(WindowHandle owner);

// Writes the current frame (with batch output every frame of the frame list)
// to image files; true when every file was written, false when one failed or
// was cancelled.
bool SaveScanToFiles();

// The batch counter settings the save-as dialog shows, for its installation at module attach.
void InstallFileOutputDialogServices();
