// The scan command in file mode: the frames written to image files.
#pragma once

// Writes the current frame (with batch output every frame of the frame list)
// to image files; false when cancelled or failed.
bool SaveScanToFiles();
