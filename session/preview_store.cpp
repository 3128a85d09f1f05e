#include "session/preview_store.h"

// Not built yet: no preview buffers exist.
void FreePreviewBuffers() {}
