#include "output/job_manager.h"

// The job manager window is not built yet: no entry is ever being edited.
bool IsEditingJobEntry() { return false; }
