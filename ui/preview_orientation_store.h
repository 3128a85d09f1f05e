// The preview orientation kept in the device store as the record "PvOt".
#pragma once

// Takes the state from the first "PvOt" record (by position); true when it was
// a valid 8-byte record, else the default state and false.
bool LoadPreviewOrientation();
// Replaces every "PvOt" record by the current state (id 128).
void SavePreviewOrientation();
