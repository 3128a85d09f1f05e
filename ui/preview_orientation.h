// The orientation of the preview.
#pragma once

// Writes the current orientation to the device store.
void SavePreviewOrientation();
