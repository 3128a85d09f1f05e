// The prescan and preview image store.
#pragma once

// Frees the preview buffers.
void FreePreviewBuffers();
