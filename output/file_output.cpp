#include "output/file_output.h"

// Not built yet: no writer is available, so nothing is written.
bool SaveScanToFiles() { return false; }
